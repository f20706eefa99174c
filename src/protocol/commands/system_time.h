#pragma once
// The 16-byte local time of the wire (the Windows SYSTEMTIME): eight u16 values.
#include <cstddef>
#include <cstdint>

namespace chat {

struct SystemTime {
    static constexpr size_t kSize = 16;

    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;  // 0 = Sunday
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

    template <class Io, class Self>
    static void layout(Io& io, Self& t) {
        io.field(0, t.year);
        io.field(2, t.month);
        io.field(4, t.dayOfWeek);
        io.field(6, t.day);
        io.field(8, t.hour);
        io.field(10, t.minute);
        io.field(12, t.second);
        io.field(14, t.milliseconds);
    }

    bool operator==(const SystemTime&) const = default;
};

}  // namespace chat
