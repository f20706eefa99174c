#pragma once
// Base64 as the platform writes it: the standard alphabet with "=" padding, and a CR LF after every
// full line of 76 characters (none after a shorter last line). Decoding skips every character
// outside the alphabet (line breaks, "=", anything else) and stops at a NUL character.
#include <cstddef>
#include <string>
#include <string_view>

namespace chat {

// The encoded length of `length` input bytes, line breaks included.
size_t base64EncodedSize(size_t length);

std::string base64Encode(std::string_view bytes);

// Decoded bytes in a std::string.
std::string base64Decode(std::string_view text);

// Buffer forms. `outSize` holds the capacity of `out` on entry and the needed size on return.
// Encoding fails (false) without writing when a pointer is missing or the capacity is too small.
// Decoding into a too small buffer writes what fits, still counts every byte and returns false.
bool base64Encode(const void* bytes, size_t length, char* out, size_t& outSize);
bool base64Decode(const char* text, size_t length, void* out, size_t& outSize);

}  // namespace chat
