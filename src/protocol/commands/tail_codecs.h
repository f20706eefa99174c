#pragma once
// Tail codecs shared by many commands: the variable part that closes a packet (see layout.h).
// Readers take exactly the bytes from the tail's offset to the end of the packet, so a text whose
// terminator is missing ends at the packet end.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chat {

// A GBK text followed by its NUL.
struct NarrowText {
    using Value = std::string;
    static void write(std::vector<uint8_t>& out, const Value& gbk);
    static Value read(std::span<const uint8_t> bytes);
};

// A UTF-16LE text followed by its NUL unit; an odd last byte is not part of any unit.
struct WideText {
    using Value = std::u16string;
    static void write(std::vector<uint8_t>& out, const Value& text);
    static Value read(std::span<const uint8_t> bytes);
};

// Bytes carried as they are (record streams, chat message sections).
struct RawBytes {
    using Value = std::vector<uint8_t>;
    static void write(std::vector<uint8_t>& out, const Value& bytes);
    static Value read(std::span<const uint8_t> bytes);
};

// Appends `text` as UTF-16LE units, without terminator.
void appendWide(std::vector<uint8_t>& out, std::u16string_view text);

}  // namespace chat
