#pragma once
// A clock time as the messages and record files carry it: eight little-endian unsigned 16-bit
// values year, month, day of week (0 = Sunday), day, hour, minute, second, milliseconds.
#include <cstddef>
#include <cstdint>

namespace chat {

struct SystemTime {
    static constexpr size_t kSize = 16;

    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;

    // The local clock now.
    static SystemTime now();
    // `bytes` must hold kSize bytes.
    static SystemTime read(const uint8_t* bytes);
    void write(uint8_t* bytes) const;

    bool operator==(const SystemTime&) const = default;
};

}  // namespace chat
