#include "protocol/commands/tail_codecs.h"

#include <algorithm>

#include "util/little_endian.h"

namespace chat {

void NarrowText::write(std::vector<uint8_t>& out, const Value& gbk) {
    out.insert(out.end(), gbk.begin(), gbk.end());
    out.push_back(0);
}

NarrowText::Value NarrowText::read(std::span<const uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return Value(bytes.begin(), end);
}

void appendWide(std::vector<uint8_t>& out, std::u16string_view text) {
    for (const char16_t unit : text) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    }
}

void WideText::write(std::vector<uint8_t>& out, const Value& text) {
    appendWide(out, text);
    appendWide(out, std::u16string_view(u"\0", 1));
}

WideText::Value WideText::read(std::span<const uint8_t> bytes) {
    Value text;
    for (size_t i = 0; i + 2 <= bytes.size(); i += 2) {
        const auto unit = loadLE<uint16_t>(bytes.data() + i);
        if (unit == 0) {
            break;
        }
        text += static_cast<char16_t>(unit);
    }
    return text;
}

void RawBytes::write(std::vector<uint8_t>& out, const Value& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

RawBytes::Value RawBytes::read(std::span<const uint8_t> bytes) {
    return Value(bytes.begin(), bytes.end());
}

}  // namespace chat
