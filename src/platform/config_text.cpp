#include "platform/config_text.h"

#include <cstdio>

#include "platform/config_cipher.h"
#include "util/text_codec.h"

namespace chat {
namespace {

constexpr size_t kMaxLineLength = 4095;

// The bytes that can be read; a read error (a folder, a vanished file) ends the text there.
std::string readWholeFile(const std::filesystem::path& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    std::fclose(file);
    return bytes;
}

}  // namespace

std::vector<std::string> splitConfigLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        for (size_t piece = start; piece < end; piece += kMaxLineLength) {
            lines.emplace_back(text.substr(piece, std::min(kMaxLineLength, end - piece)));
        }
        start = end + 1;
    }
    return lines;
}

ConfigText ConfigText::parse(const std::vector<std::string>& lines) {
    ConfigText parsed;
    Section* current = &parsed.sections_[""];
    for (const std::string& line : lines) {
        if (const size_t open = line.find('['); open != std::string::npos) {
            const size_t close = line.find(']', open + 1);
            const size_t nameEnd = close == std::string::npos ? line.size() : close;
            current = &parsed.sections_[line.substr(open + 1, nameEnd - open - 1)];
        } else if (const size_t equals = line.find('='); equals != std::string::npos) {
            (*current)[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return parsed;
}

std::string ConfigText::lookup(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    const auto foundSection = sections_.find(section);
    if (foundSection != sections_.end()) {
        const auto foundKey = foundSection->second.find(key);
        if (foundKey != foundSection->second.end() && !foundKey->second.empty()) {
            return foundKey->second;
        }
    }
    return std::string(fallback);
}

ConfigText readConfigTextFile(const std::filesystem::path& path) {
    std::string plain = decodeConfigurationText(readWholeFile(path));
    if (isValidUtf8(plain)) {
        plain = utf8ToGbk(plain);
    }
    return ConfigText::parse(splitConfigLines(plain));
}

}  // namespace chat
