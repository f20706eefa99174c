#include "storage/ini_file.h"

#include <fstream>
#include <iterator>

#include "storage/atomic_file.h"
#include "util/wire_text.h"

namespace chat {

int32_t profileNumber(std::u16string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    uint32_t magnitude = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        magnitude = magnitude * 10 + static_cast<uint32_t>(text[at] - u'0');
    }
    return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

IniDocument IniFile::load() const {
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        return IniDocument{};
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return IniDocument::parse(bytes);
}

bool IniFile::store(const IniDocument& document) {
    return replaceFileContent(path_, document.serialize());
}

std::u16string IniFile::readString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view fallback, size_t bufferUnits) const {
    if (bufferUnits == 0) {
        return {};
    }
    const auto value = load().value(section, key);
    const std::u16string_view text = value ? std::u16string_view(*value) : fallback;
    return std::u16string(text.substr(0, utf16PrefixLength(text, bufferUnits - 1)));
}

int32_t IniFile::readInt(std::u16string_view section, std::u16string_view key,
                         int32_t fallback) const {
    const auto value = load().value(section, key);
    if (!value || value->empty()) {
        return fallback;
    }
    return profileNumber(*value);
}

std::vector<std::u16string> IniFile::readKeyNames(std::u16string_view section,
                                                  size_t bufferUnits) const {
    std::vector<std::u16string> names = load().keyNames(section);
    size_t used = 1;  // the list's final terminator
    for (size_t i = 0; i < names.size(); ++i) {
        used += names[i].size() + 1;
        if (used > bufferUnits) {
            names.resize(i);
            break;
        }
    }
    return names;
}

bool IniFile::writeString(std::u16string_view section, std::u16string_view key,
                          std::u16string_view value) {
    IniDocument document = load();
    return document.set(section, key, value) && store(document);
}

bool IniFile::replaceSection(std::u16string_view section, const IniEntries& entries) {
    IniDocument document = load();
    return document.replaceSection(section, entries) && store(document);
}

bool IniFile::deleteSection(std::u16string_view section) {
    IniDocument document = load();
    return !document.removeSection(section) || store(document);
}

}  // namespace chat
