#include "platform/base64.h"

#include <array>
#include <cstdint>

namespace chat {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kLineLength = 76;

constexpr std::array<int8_t, 256> makeSextets() {
    std::array<int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    }
    return table;
}
constexpr std::array<int8_t, 256> kSextets = makeSextets();

// `out` must hold base64EncodedSize(length) characters.
void encodeInto(const uint8_t* in, size_t length, char* out) {
    size_t lineUsed = 0;
    for (size_t i = 0; i < length; i += 3) {
        const size_t take = length - i < 3 ? length - i : 3;
        const uint32_t group = uint32_t(in[i]) << 16 | (take > 1 ? uint32_t(in[i + 1]) << 8 : 0) |
                               (take > 2 ? uint32_t(in[i + 2]) : 0);
        *out++ = kAlphabet[(group >> 18) & 0x3F];
        *out++ = kAlphabet[(group >> 12) & 0x3F];
        *out++ = take > 1 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        *out++ = take > 2 ? kAlphabet[group & 0x3F] : '=';
        lineUsed += 4;
        if (lineUsed == kLineLength) {
            *out++ = '\r';
            *out++ = '\n';
            lineUsed = 0;
        }
    }
}

// Calls sink(byte) for every decoded byte.
template <typename Sink>
void decodeEach(std::string_view text, Sink&& sink) {
    uint32_t group = 0;
    int sextets = 0;
    for (const char c : text) {
        if (c == '\0') {
            break;
        }
        const int value = kSextets[static_cast<unsigned char>(c)];
        if (value < 0) {
            continue;
        }
        group = group << 6 | static_cast<uint32_t>(value);
        if (++sextets == 4) {
            sink(static_cast<uint8_t>(group >> 16));
            sink(static_cast<uint8_t>(group >> 8));
            sink(static_cast<uint8_t>(group));
            group = 0;
            sextets = 0;
        }
    }
    if (sextets >= 2) {
        group <<= 6 * (4 - sextets);
        sink(static_cast<uint8_t>(group >> 16));
        if (sextets == 3) {
            sink(static_cast<uint8_t>(group >> 8));
        }
    }
}

}  // namespace

size_t base64EncodedSize(size_t length) {
    const size_t characters = (length + 2) / 3 * 4;
    return characters + 2 * (characters / kLineLength);
}

std::string base64Encode(std::string_view bytes) {
    std::string text(base64EncodedSize(bytes.size()), '\0');
    encodeInto(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), text.data());
    return text;
}

bool base64Encode(const void* bytes, size_t length, char* out, size_t& outSize) {
    if (bytes == nullptr || out == nullptr) {
        return false;
    }
    const size_t needed = base64EncodedSize(length);
    const size_t capacity = outSize;
    outSize = needed;
    if (capacity < needed) {
        return false;
    }
    encodeInto(static_cast<const uint8_t*>(bytes), length, out);
    return true;
}

std::string base64Decode(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    decodeEach(text, [&](uint8_t b) { bytes += static_cast<char>(b); });
    return bytes;
}

bool base64Decode(const char* text, size_t length, void* out, size_t& outSize) {
    if (text == nullptr || out == nullptr) {
        return false;
    }
    auto* target = static_cast<uint8_t*>(out);
    const size_t capacity = outSize;
    size_t needed = 0;
    decodeEach(std::string_view(text, length), [&](uint8_t b) {
        if (needed < capacity) {
            target[needed] = b;
        }
        ++needed;
    });
    outSize = needed;
    return needed <= capacity;
}

}  // namespace chat
