#pragma once
// The MD5 message digest (RFC 1321), and the upper-case hexadecimal text that the platform's web
// addresses and the picture cache use for digests.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace chat {

class MD5 {
  public:
    using Digest = std::array<uint8_t, 16>;

    MD5();

    // Throws std::logic_error once final() has been called.
    void update(const void* bytes, size_t length);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }

    // Pads the message and computes the digest; later calls do nothing.
    void final();

    // Throws std::logic_error before final().
    const Digest& digest() const;

  private:
    void transform(const uint8_t* block);

    bool finalised_ = false;
    uint64_t bitCount_ = 0;
    std::array<uint32_t, 4> state_;
    std::array<uint8_t, 64> block_{};
    Digest digest_{};
};

MD5::Digest md5(std::string_view bytes);

// Two upper-case hexadecimal digits per byte, no separators.
std::string hexText(std::span<const uint8_t> bytes);

// hexText(md5(bytes)): 32 characters.
std::string md5HexText(std::string_view bytes);

}  // namespace chat
