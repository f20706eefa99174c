#pragma once
// An INI file on disk with the reading and writing functions of the Windows private-profile API.
// Every read sees the file's current content; every write replaces the file atomically at once.
// A missing file reads as empty; writes create it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/ini_document.h"

namespace chat {

class IniFile {
  public:
    explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // The value, or `fallback` when the key is missing; cut to bufferUnits - 1 UTF-16 units
    // (never splitting a surrogate pair), as a buffer of that size would hold it.
    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback, size_t bufferUnits) const;
    // The leading decimal number of the value: an optional "+" or "-", then digits up to the first
    // other character (wrapping at 32 bits); 0 when there are no digits. `fallback` when the key
    // is missing or its value is empty.
    int32_t readInt(std::u16string_view section, std::u16string_view key, int32_t fallback) const;
    // The key names of a section in file order, as many whole names as fit, each with its
    // terminator, in a list buffer of bufferUnits units (one unit is kept for the list's end).
    std::vector<std::u16string> readKeyNames(std::u16string_view section, size_t bufferUnits) const;

    // Each returns false when nothing was written (invalid name or value, or the file could not
    // be replaced); the file is then unchanged.
    bool writeString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);
    bool replaceSection(std::u16string_view section, const IniEntries& entries);
    bool deleteSection(std::u16string_view section);

  private:
    IniDocument load() const;
    bool store(const IniDocument& document);

    std::filesystem::path path_;
};

// The leading decimal number of a profile value, as readInt takes it.
int32_t profileNumber(std::u16string_view text);

}  // namespace chat
