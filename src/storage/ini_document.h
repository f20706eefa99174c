#pragma once
// The content of an INI file in memory, with the behaviour of the Windows private-profile
// functions: "[section]" lines open sections, "key=value" lines hold entries, blanks (spaces and
// tabs) around section names, keys and values are dropped, and section and key names are compared
// without regard to the case of ASCII letters. A line without "=" is a key with an empty value;
// there are no comment lines and no quote stripping, so every key reads back as written.
//
// Files are read as UTF-8 (a BOM is skipped), as UTF-16LE when they start with its BOM, and as
// GBK when they are not valid UTF-8 (a file written by the Windows functions); they are written
// as UTF-8 with CRLF line ends.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace chat {

using IniEntries = std::vector<std::pair<std::u16string, std::u16string>>;

class IniDocument {
  public:
    static IniDocument parse(std::string_view bytes);
    std::string serialize() const;

    // The value of the first entry named `key` in the first section named `section`.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;
    // Key names in file order (duplicates included); empty for a missing section.
    std::vector<std::u16string> keyNames(std::u16string_view section) const;

    // Sets a value, creating the section and the key as needed; an existing key keeps its
    // spelling. False, with nothing changed, when the names or the value cannot be held.
    bool set(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // Replaces every entry of the section (creating it); entries that cannot be held are left
    // out. False when the section name cannot be held.
    bool replaceSection(std::u16string_view section, const IniEntries& entries);
    // Removes every section of that name; false when there was none.
    bool removeSection(std::u16string_view section);

    // A key survives a write and a read unchanged: not empty, no "=", no line break or NUL, no
    // blank at either end, and it does not open with "[".
    static bool isValidKey(std::u16string_view key);
    static bool isValidSectionName(std::u16string_view name);
    static bool isValidValue(std::u16string_view value);

  private:
    struct Section {
        std::u16string name;
        bool hasHeader = true;  // false for the lines before the first section
        IniEntries entries;
    };

    Section* find(std::u16string_view section);
    const Section* find(std::u16string_view section) const;

    std::vector<Section> sections_;
};

// ASCII letters compared without regard to case; other units compared exactly.
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace chat
