#include "platform/rc4.h"

#include <stdexcept>
#include <utility>

namespace chat {

Rc4::Rc4(std::span<const uint8_t> key) {
    if (key.empty() || key.size() > 256) {
        throw std::invalid_argument("RC4 key must hold 1 to 256 bytes");
    }
    for (size_t n = 0; n < 256; ++n) {
        state_[n] = static_cast<uint8_t>(n);
    }
    uint8_t j = 0;
    for (size_t n = 0; n < 256; ++n) {
        j = static_cast<uint8_t>(j + state_[n] + key[n % key.size()]);
        std::swap(state_[n], state_[j]);
    }
}

void Rc4::apply(std::span<uint8_t> bytes) {
    for (uint8_t& b : bytes) {
        ++i_;
        j_ = static_cast<uint8_t>(j_ + state_[i_]);
        std::swap(state_[i_], state_[j_]);
        b ^= state_[static_cast<uint8_t>(state_[i_] + state_[j_])];
    }
}

}  // namespace chat
