#pragma once
// RoomRecord: the 1408-byte description of one room. A room list entry on the wire carries the
// first part of it, at least 1132 bytes (see the room list walk in room_commands.h). Fields
// without a name are kept byte for byte as received.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/commands/layout.h"

namespace chat {

struct RoomRecord {
    static constexpr size_t kSize = 1408;
    static constexpr size_t kNameUnits = 48;             // wchar[48]
    static constexpr size_t kRollingMessageUnits = 128;  // wchar[128]

    uint32_t entryLength = 0;  // length of the entry as received
    uint32_t roomId = 0;       // room 1 is the customer service web page
    uint32_t attributes = 0;   // attribute flags handed to the room window
    std::u16string name;       // at most 47 units
    std::array<uint8_t, 1024> roomData{};
    uint32_t reserved1132 = 0;
    uint32_t reserved1136 = 0;
    uint32_t reserved1140 = 0;
    std::u16string rollingMessage;        // at most 127 units
    uint32_t rollingIntervalSeconds = 0;  // 0 = shown once
    uint32_t reserved1404 = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& r) {
        io.field(0, r.entryLength);
        io.field(4, r.roomId);
        io.field(8, r.attributes);
        io.wide(12, kNameUnits, r.name);
        io.field(108, r.roomData);
        io.field(1132, r.reserved1132);
        io.field(1136, r.reserved1136);
        io.field(1140, r.reserved1140);
        io.wide(1144, kRollingMessageUnits, r.rollingMessage);
        io.field(1400, r.rollingIntervalSeconds);
        io.field(1404, r.reserved1404);
    }

    std::array<uint8_t, kSize> encode() const { return encodeBlock(*this); }
    static RoomRecord decode(std::span<const uint8_t, kSize> bytes) {
        return decodeBlock<RoomRecord>(bytes);
    }

    bool operator==(const RoomRecord&) const = default;
};

}  // namespace chat
