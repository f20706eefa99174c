#include "protocol/commands/chat_commands.h"

#include "util/little_endian.h"

namespace chat::cmd {

void WideWords::write(std::vector<uint8_t>& out, const Value& words) {
    for (const std::u16string& word : words) {
        WideText::write(out, word);
    }
}

WideWords::Value WideWords::read(std::span<const uint8_t> bytes) {
    Value words;
    std::u16string word;
    for (size_t i = 0; i + 2 <= bytes.size(); i += 2) {
        const auto unit = loadLE<uint16_t>(bytes.data() + i);
        if (unit != 0) {
            word += static_cast<char16_t>(unit);
        } else if (!word.empty()) {
            words.insert(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) {
        words.insert(std::move(word));
    }
    return words;
}

}  // namespace chat::cmd
