#pragma once
// The RC4 stream cipher. One object is one key stream: successive apply() calls continue it, so
// a text deciphered piece by piece gives the same bytes as deciphered whole.
#include <array>
#include <cstdint>
#include <span>

namespace chat {

class Rc4 {
  public:
    // The key holds 1 to 256 bytes; throws std::invalid_argument otherwise.
    explicit Rc4(std::span<const uint8_t> key);

    // Enciphers or deciphers in place (the two are the same operation).
    void apply(std::span<uint8_t> bytes);

  private:
    std::array<uint8_t, 256> state_;
    uint8_t i_ = 0;
    uint8_t j_ = 0;
};

}  // namespace chat
