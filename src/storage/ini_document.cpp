#include "storage/ini_document.h"

#include <algorithm>

#include "util/text_codec.h"

namespace chat {
namespace {

// A byte-order mark inside the text counts as a blank too, so that a name that starts with one
// cannot be mistaken for the file's own mark when the file is read again.
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\uFEFF';
}

std::u16string_view trimBlanks(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool hasLineBreakOrNul(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

std::u16string decode(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        std::u16string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return isValidUtf8(bytes) ? utf8ToUtf16(bytes) : gbkToUtf16(bytes);
}

char16_t foldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

bool IniDocument::isValidKey(std::u16string_view key) {
    return !key.empty() && trimBlanks(key).size() == key.size() &&
           key.find(u'=') == std::u16string_view::npos && !hasLineBreakOrNul(key) &&
           key.front() != u'[';
}

bool IniDocument::isValidSectionName(std::u16string_view name) {
    return !name.empty() && trimBlanks(name).size() == name.size() &&
           name.find(u']') == std::u16string_view::npos && !hasLineBreakOrNul(name);
}

bool IniDocument::isValidValue(std::u16string_view value) {
    return !hasLineBreakOrNul(value);
}

IniDocument IniDocument::parse(std::string_view bytes) {
    const std::u16string text = decode(bytes);
    IniDocument document;
    std::u16string_view rest = text;
    while (!rest.empty()) {
        const size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == u'\r') {
            line.remove_suffix(1);
        }
        line = trimBlanks(line);
        if (line.empty()) {
            continue;
        }
        if (line.front() == u'[') {
            const size_t close = line.find(u']');
            const auto name =
                trimBlanks(line.substr(1, close == line.npos ? line.npos : close - 1));
            document.sections_.push_back(Section{std::u16string(name), true, {}});
            continue;
        }
        if (document.sections_.empty()) {
            document.sections_.push_back(Section{u"", false, {}});
        }
        const size_t equals = line.find(u'=');
        const auto key = trimBlanks(line.substr(0, equals));
        const auto value =
            equals == line.npos ? std::u16string_view() : trimBlanks(line.substr(equals + 1));
        document.sections_.back().entries.emplace_back(key, value);
    }
    return document;
}

std::string IniDocument::serialize() const {
    std::u16string text;
    for (const Section& section : sections_) {
        if (section.hasHeader) {
            text += u"[" + section.name + u"]\r\n";
        }
        for (const auto& [key, value] : section.entries) {
            text += key + u"=" + value + u"\r\n";
        }
    }
    return utf16ToUtf8(text);
}

const IniDocument::Section* IniDocument::find(std::u16string_view section) const {
    for (const Section& candidate : sections_) {
        if (candidate.hasHeader && equalsIgnoringAsciiCase(candidate.name, section)) {
            return &candidate;
        }
    }
    return nullptr;
}

IniDocument::Section* IniDocument::find(std::u16string_view section) {
    return const_cast<Section*>(std::as_const(*this).find(section));
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    const Section* found = find(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const auto& [name, value] : found->entries) {
        if (equalsIgnoringAsciiCase(name, key)) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<std::u16string> IniDocument::keyNames(std::u16string_view section) const {
    std::vector<std::u16string> names;
    if (const Section* found = find(section)) {
        for (const auto& entry : found->entries) {
            names.push_back(entry.first);
        }
    }
    return names;
}

bool IniDocument::set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
    if (!isValidSectionName(section) || !isValidKey(key) || !isValidValue(value)) {
        return false;
    }
    Section* target = find(section);
    if (target == nullptr) {
        sections_.push_back(Section{std::u16string(section), true, {}});
        target = &sections_.back();
    }
    for (auto& entry : target->entries) {
        if (equalsIgnoringAsciiCase(entry.first, key)) {
            entry.second = trimBlanks(value);
            return true;
        }
    }
    target->entries.emplace_back(key, trimBlanks(value));
    return true;
}

bool IniDocument::replaceSection(std::u16string_view section, const IniEntries& entries) {
    if (!isValidSectionName(section)) {
        return false;
    }
    Section* target = find(section);
    if (target == nullptr) {
        sections_.push_back(Section{std::u16string(section), true, {}});
        target = &sections_.back();
    }
    target->entries.clear();
    for (const auto& [key, value] : entries) {
        if (isValidKey(key) && isValidValue(value)) {
            target->entries.emplace_back(key, trimBlanks(value));
        }
    }
    // Later sections of the same name would otherwise add their keys back.
    const Section* kept = target;
    std::erase_if(sections_, [&](const Section& s) {
        return &s != kept && s.hasHeader && equalsIgnoringAsciiCase(s.name, section);
    });
    return true;
}

bool IniDocument::removeSection(std::u16string_view section) {
    return std::erase_if(sections_, [&](const Section& s) {
               return s.hasHeader && equalsIgnoringAsciiCase(s.name, section);
           }) > 0;
}

}  // namespace chat
