#include "chat_sections.h"

#include "util/little_endian.h"

namespace chatserver {
namespace {
constexpr size_t kSectionHead = 8;
constexpr uint8_t kSectionText = 2;
}  // namespace

std::vector<uint8_t> textSection(const std::u16string& text) {
    std::vector<uint8_t> section(kSectionHead + 2 * (text.size() + 1), 0);
    chat::storeLE(section.data(), static_cast<uint32_t>(section.size()));
    section[4] = kSectionText;
    for (size_t i = 0; i < text.size(); ++i) {
        chat::storeLE(section.data() + kSectionHead + 2 * i, static_cast<uint16_t>(text[i]));
    }
    return section;
}

std::u16string plainText(std::span<const uint8_t> sections) {
    std::u16string text;
    while (sections.size() >= kSectionHead) {
        const uint32_t size = chat::loadLE<uint32_t>(sections.data());
        if (size < kSectionHead || size > sections.size()) {
            break;
        }
        if (sections[4] == kSectionText) {
            for (size_t at = kSectionHead; at + 1 < size; at += 2) {
                const char16_t unit = chat::loadLE<uint16_t>(sections.data() + at);
                if (unit == 0) {
                    break;
                }
                text.push_back(unit);
            }
        }
        sections = sections.subspan(size);
    }
    return text;
}

}  // namespace chatserver
