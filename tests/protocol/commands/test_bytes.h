#pragma once
// Small helpers to write expected byte vectors by hand.
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace chat::test {

using Bytes = std::vector<uint8_t>;

inline Bytes le16(uint16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}

inline Bytes le32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

// The bytes of `text`, without terminator.
inline Bytes ascii(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// UTF-16LE units of `text`, without terminator.
inline Bytes utf16(std::u16string_view text) {
    Bytes bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

inline Bytes zeros(size_t count) {
    return Bytes(count, 0);
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A packet header: size, command, not compressed, reserved zeros.
inline Bytes header(uint32_t size, uint16_t command) {
    return concat({le32(size), le16(command), zeros(18)});
}

}  // namespace chat::test
