#pragma once
// The content sections of a chat message as the server needs them: a plain text section for the
// demo bots' messages, and the plain text of a received message for the bots and the word lists.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace chatserver {

// One UTF-16 text section: u32 size, kind 2, three zero bytes, the text and one NUL unit.
std::vector<uint8_t> textSection(const std::u16string& text);

// The texts of the UTF-16 (kind 2) sections, in order. A section whose size is below its head or
// beyond the bytes ends the walk; other kinds add nothing.
std::u16string plainText(std::span<const uint8_t> sections);

}  // namespace chatserver
