#pragma once
// Fixed-width texts inside wire records and record files. A char[n] field holds at most n-1 GBK
// bytes followed by NUL; a wchar[n] field holds at most n-1 UTF-16LE units followed by NUL. Writers
// zero-fill the whole field and never split a two-byte GBK character or a surrogate pair; readers
// stop at the first NUL or at the end of the field, whichever comes first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace chat {

void putNarrow(void* field, size_t fieldBytes, std::string_view gbk);
std::string getNarrow(const void* field, size_t fieldBytes);

void putWide(void* field, size_t fieldUnits, std::u16string_view text);
std::u16string getWide(const void* field, size_t fieldUnits);

// The number of leading bytes of `gbk` that fit in `maxBytes` without splitting a character.
size_t gbkPrefixLength(std::string_view gbk, size_t maxBytes);
// The number of leading units of `text` that fit in `maxUnits` without splitting a surrogate pair.
size_t utf16PrefixLength(std::u16string_view text, size_t maxUnits);

}  // namespace chat
