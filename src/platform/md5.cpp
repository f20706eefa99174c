#include "platform/md5.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace chat {
namespace {

constexpr std::array<uint32_t, 64> kSines = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr std::array<int, 16> kShifts = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};

uint32_t loadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void storeLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

}  // namespace

MD5::MD5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void MD5::transform(const uint8_t* block) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = loadLe32(block + 4 * i);
    }
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int k;
        if (round == 0) {
            f = (b & c) | (~b & d);
            k = i;
        } else if (round == 1) {
            f = (d & b) | (~d & c);
            k = (5 * i + 1) % 16;
        } else if (round == 2) {
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
        }
        const uint32_t rotated = std::rotl(a + f + kSines[i] + x[k], kShifts[round * 4 + i % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void MD5::update(const void* bytes, size_t length) {
    if (finalised_) {
        throw std::logic_error("在调用过MD5::final()之后不能再调用update()方法");
    }
    const auto* in = static_cast<const uint8_t*>(bytes);
    size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<uint64_t>(length) * 8;
    while (length > 0) {
        const size_t take = std::min(length, 64 - used);
        std::memcpy(block_.data() + used, in, take);
        used += take;
        in += take;
        length -= take;
        if (used == 64) {
            transform(block_.data());
            used = 0;
        }
    }
}

void MD5::final() {
    if (finalised_) {
        return;
    }
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<uint8_t>(bitCount_ >> (8 * i));
    }
    const size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
    const size_t padding = used < 56 ? 56 - used : 120 - used;
    static constexpr uint8_t kPadding[64] = {0x80};
    update(kPadding, padding);
    update(lengthBytes, sizeof lengthBytes);
    for (int i = 0; i < 4; ++i) {
        storeLe32(digest_.data() + 4 * i, state_[i]);
    }
    finalised_ = true;
}

const MD5::Digest& MD5::digest() const {
    if (!finalised_) {
        throw std::logic_error("程序设计错误: 尚未调用MD5::final()");
    }
    return digest_;
}

MD5::Digest md5(std::string_view bytes) {
    MD5 hash;
    hash.update(bytes);
    hash.final();
    return hash.digest();
}

std::string hexText(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

std::string md5HexText(std::string_view bytes) {
    return hexText(md5(bytes));
}

}  // namespace chat
