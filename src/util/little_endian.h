#pragma once
// Little-endian loads and stores at any (unaligned) address: every integer on the wire and in the
// record files is little-endian and packed.
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace chat {

template <typename T>
T loadLE(const void* source) {
    static_assert(std::is_trivially_copyable_v<T>);
    T value;
    std::memcpy(&value, source, sizeof value);
    if constexpr (std::endian::native == std::endian::big && std::is_integral_v<T>) {
        static_assert(std::endian::native == std::endian::little,
                      "big-endian hosts need byte swaps");
    }
    return value;
}

template <typename T>
void storeLE(void* target, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(std::endian::native == std::endian::little, "big-endian hosts need byte swaps");
    std::memcpy(target, &value, sizeof value);
}

}  // namespace chat
