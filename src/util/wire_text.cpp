#include "util/wire_text.h"

#include <cstring>

#include "util/little_endian.h"
#include "util/text_codec.h"

namespace chat {

size_t gbkPrefixLength(std::string_view gbk, size_t maxBytes) {
    size_t pos = 0;
    while (pos < gbk.size()) {
        const size_t width =
            (isGbkLeadByte(static_cast<unsigned char>(gbk[pos])) && pos + 1 < gbk.size()) ? 2 : 1;
        if (pos + width > maxBytes) {
            break;
        }
        pos += width;
    }
    return pos;
}

size_t utf16PrefixLength(std::u16string_view text, size_t maxUnits) {
    if (text.size() <= maxUnits) {
        return text.size();
    }
    size_t length = maxUnits;
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) {
        --length;
    }
    return length;
}

void putNarrow(void* field, size_t fieldBytes, std::string_view gbk) {
    if (fieldBytes == 0) {
        return;
    }
    std::memset(field, 0, fieldBytes);
    std::memcpy(field, gbk.data(), gbkPrefixLength(gbk, fieldBytes - 1));
}

std::string getNarrow(const void* field, size_t fieldBytes) {
    const char* begin = static_cast<const char*>(field);
    const void* nul = std::memchr(begin, 0, fieldBytes);
    const size_t length =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : fieldBytes;
    return std::string(begin, length);
}

void putWide(void* field, size_t fieldUnits, std::u16string_view text) {
    if (fieldUnits == 0) {
        return;
    }
    auto* bytes = static_cast<unsigned char*>(field);
    std::memset(bytes, 0, fieldUnits * 2);
    const size_t length = utf16PrefixLength(text, fieldUnits - 1);
    for (size_t i = 0; i < length; ++i) {
        storeLE<uint16_t>(bytes + 2 * i, text[i]);
    }
}

std::u16string getWide(const void* field, size_t fieldUnits) {
    const auto* bytes = static_cast<const unsigned char*>(field);
    std::u16string text;
    for (size_t i = 0; i < fieldUnits; ++i) {
        const auto unit = loadLE<uint16_t>(bytes + 2 * i);
        if (unit == 0) {
            break;
        }
        text += static_cast<char16_t>(unit);
    }
    return text;
}

}  // namespace chat
