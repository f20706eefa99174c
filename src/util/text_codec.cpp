#include "util/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <vector>

namespace chat {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and thread: opening one costs far more than a short
// conversion, and a descriptor must not be shared between threads.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much of [in, in+inLeft) as possible into `out`; returns false on an invalid or
    // unconvertible sequence at `in` (left there for the caller to skip).
    bool convert(const char*& in, size_t& inLeft, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t cd_;
};

Converter& gbkDecoder() {
    thread_local Converter converter("UTF-16LE", "CP936");
    return converter;
}

Converter& gbkEncoder() {
    thread_local Converter converter("CP936", "UTF-16LE");
    return converter;
}

std::u16string fromUtf16LeBytes(const std::string& bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`; returns U+FFFD and advances one byte when it is invalid.
char32_t decodeUtf8(std::string_view s, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2, c = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, c = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, c = b0 & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > s.size()) {
        ++pos;
        return kReplacement;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        c = (c << 6) | (byte(pos + i) & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return c;
}

}  // namespace

std::u16string gbkToUtf16(std::string_view gbk) {
    std::u16string result;
    result.reserve(gbk.size());
    size_t start = 0;
    while (start < gbk.size()) {
        // Plain ASCII runs need no converter.
        size_t end = start;
        while (end < gbk.size() && static_cast<unsigned char>(gbk[end]) < 0x80) {
            ++end;
        }
        for (size_t i = start; i < end; ++i) {
            result += static_cast<char16_t>(gbk[i]);
        }
        if (end == gbk.size()) {
            break;
        }
        const char* in = gbk.data() + end;
        size_t inLeft = gbk.size() - end;
        std::string bytes;
        const bool clean = gbkDecoder().convert(in, inLeft, bytes);
        result += fromUtf16LeBytes(bytes);
        start = gbk.size() - inLeft;
        if (!clean) {
            result += kReplacement;
            ++start;
        }
    }
    return result;
}

std::string utf16ToGbk(std::u16string_view text) {
    std::string result;
    result.reserve(text.size() * 2);
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        if (gbkEncoder().convert(in, inLeft, result)) {
            break;
        }
        // Skip the unconvertible unit (a surrogate pair counts as one character).
        const size_t unit = (bytes.size() - inLeft) / 2;
        const size_t skip = (isHighSurrogate(text[unit]) && unit + 1 < text.size() &&
                             isLowSurrogate(text[unit + 1]))
                                ? 4
                                : 2;
        result += '?';
        in += std::min(skip, inLeft);
        inLeft -= std::min(skip, inLeft);
    }
    return result;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string result;
    result.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = decodeUtf8(utf8, pos);
        if (c >= 0x10000) {
            result += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            result += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            result += static_cast<char16_t>(c);
        }
    }
    return result;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacement;
        }
        appendUtf8(result, c);
    }
    return result;
}

bool isValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t before = pos;
        const char32_t c = decodeUtf8(bytes, pos);
        if (c == kReplacement && pos == before + 1) {
            return false;
        }
    }
    return true;
}

}  // namespace chat
