#pragma once
// The one place where text changes encoding. Narrow wire texts and 8-bit record fields are GBK
// (Windows code page 936); texts the program shows or writes to its own files are UTF-8 in memory;
// wide wire texts are UTF-16.
#include <string>
#include <string_view>

namespace chat {

// Bytes that are not valid GBK become U+FFFD; conversion never fails.
std::u16string gbkToUtf16(std::string_view gbk);
// Characters that GBK cannot hold become '?', as the Windows conversion does by default.
std::string utf16ToGbk(std::u16string_view text);

// Invalid UTF-8 becomes U+FFFD; lone surrogates in UTF-16 become U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view text);

inline std::string gbkToUtf8(std::string_view gbk) {
    return utf16ToUtf8(gbkToUtf16(gbk));
}
inline std::string utf8ToGbk(std::string_view utf8) {
    return utf16ToGbk(utf8ToUtf16(utf8));
}

// True when `bytes` is well-formed UTF-8 (used where a platform file may be either GBK or UTF-8).
bool isValidUtf8(std::string_view bytes);

// True when byte `b` opens a two-byte GBK character.
constexpr bool isGbkLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

}  // namespace chat
