#pragma once
// The text dialect of the platform's configuration files: lines of "[section]" headers and
// "key=value" pairs. Nothing is trimmed and names compare byte for byte.
//
// Encoding: the platform writes these files in GBK. A deciphered text that is valid UTF-8 is taken
// as UTF-8 and converted to GBK once, when the file is read, so every value in memory is GBK bytes
// like the other narrow texts of the program (a pure ASCII text is the same in both).
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace chat {

// Lines are cut at CR and at LF; empty lines are skipped; a line longer than 4095 bytes is cut
// into pieces of 4095 bytes, each a line of its own.
std::vector<std::string> splitConfigLines(std::string_view text);

class ConfigText {
  public:
    // A line containing "[" is a section header (name between the first "[" and the next "]", or
    // to the end of the line); another line containing "=" is a key line (key before the first
    // "=", value after it); other lines are ignored. Keys before the first header belong to the
    // section with the empty name; a later duplicate key replaces the earlier value.
    static ConfigText parse(const std::vector<std::string>& lines);

    // The value, or `fallback` when the section or key is missing or the value is empty.
    std::string lookup(std::string_view section, std::string_view key,
                       std::string_view fallback) const;

  private:
    using Section = std::map<std::string, std::string, std::less<>>;
    std::map<std::string, Section, std::less<>> sections_;
};

// Reads, deciphers and parses an enciphered configuration file; a file that cannot be read gives
// an empty text (every lookup yields its default).
ConfigText readConfigTextFile(const std::filesystem::path& path);

}  // namespace chat
