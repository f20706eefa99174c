#pragma once
// Commands about rooms and the chatters in them: entering and leaving, chatter lists and records,
// the room list and the chatter counts.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "protocol/commands/chatter_record.h"
#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/room_record.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// Client to server: enter room (160), request room chatter list (28), leave room (28),
// request room chatter counts (88, a body of zeros).
using EnterRoom = RoomChatterCommand<CommandId::EnterRoom, 160>;
using RequestRoomChatterList = RoomIdCommand<CommandId::RequestRoomChatterList>;
using LeaveRoom = RoomIdCommand<CommandId::LeaveRoom>;
using RequestRoomChatterCounts = EmptyCommand<CommandId::RequestRoomChatterCounts, 88>;

// Server to client: chatter entered room (160), room closed (28).
using ChatterEntered = RoomChatterCommand<CommandId::ChatterEntered, 160>;
using RoomClosed = RoomIdCommand<CommandId::RoomClosed>;

// Server to client: 24: u32 room id; 28: i32 result, 0 = entered; 32: GBK reason (may be empty).
struct EnterRoomAnswer {
    static constexpr CommandId kId = CommandId::EnterRoomAnswer;
    static constexpr size_t kSize = 32;

    uint32_t roomId = 0;
    int32_t result = 0;
    std::string reason;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.result);
        io.tail(32, NarrowText{}, c.reason);
    }

    bool operator==(const EnterRoomAnswer&) const = default;
};

// Server to client, 32 bytes.
using ChatterLeft = RoomChatterIdCommand<CommandId::ChatterLeft, 32>;

// 24: ChatterRecord; 156: u32 room id. The client's change of its own record (224, with 64 zero
// bytes after the room id) and the server's notice of a changed record (160).
template <CommandId Id, size_t Size>
struct ChatterRecordUpdate {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    ChatterRecord record;
    uint32_t roomId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.record);
        io.field(156, c.roomId);
    }

    bool operator==(const ChatterRecordUpdate&) const = default;
};
using ChangeOwnChatterRecord = ChatterRecordUpdate<CommandId::ChangeOwnChatterRecord, 224>;
using ChatterRecordChanged = ChatterRecordUpdate<CommandId::ChatterRecordChanged, 160>;

// 132-byte records back to back; a shorter tail is no record.
struct ChatterRecords {
    using Value = std::vector<ChatterRecord>;
    static void write(std::vector<uint8_t>& out, const Value& records);
    static Value read(std::span<const uint8_t> bytes);
};

// Server to client, compressible: a 100-byte head whose first u32 is the room id (the other 96
// bytes are not read), then the chatters' records.
struct RoomChatterList {
    static constexpr CommandId kId = CommandId::RoomChatterList;
    static constexpr bool kCompressible = true;
    static constexpr size_t kHeadSize = 100;
    static constexpr size_t kSize = kPacketHeaderSize + kHeadSize;

    uint32_t roomId = 0;
    std::vector<ChatterRecord> chatters;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.tail(kSize, ChatterRecords{}, c.chatters);
    }

    bool operator==(const RoomChatterList&) const = default;
};

// The 16-byte records of command 66, kept as received.
using ChatterCountRecord = std::array<uint8_t, 16>;

struct ChatterCountRecords {
    using Value = std::vector<ChatterCountRecord>;
    static void write(std::vector<uint8_t>& out, const Value& records);
    static Value read(std::span<const uint8_t> bytes);
};

// Server to client: from 24, as many 16-byte records as fit.
struct RoomChatterCounts {
    static constexpr CommandId kId = CommandId::RoomChatterCounts;
    static constexpr size_t kSize = kPacketHeaderSize;

    std::vector<ChatterCountRecord> counts;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(24, ChatterCountRecords{}, c.counts);
    }

    bool operator==(const RoomChatterCounts&) const = default;
};

// Room list entries: each a leading part of a RoomRecord, its first field its own length.
// Reading walks the entries while at least 1132 bytes are left and the entry's length is at least
// 1132 and no more than what is left; the first entry that breaks this ends the walk. An entry
// with an empty name is skipped. Of each other entry the record takes the first 1132 bytes (the
// name's last unit forced to NUL), the u32 at 1132 when the entry is longer than 1135 bytes, the
// u32 values at 1136, 1140 and 1400 and the rolling message (at most 127 units) when it is longer
// than 1403 bytes, and the u32 at 1404 when it holds 1408 bytes or more, else 1 there. A later
// entry with the same room id replaces an earlier one. Writing lays each room out as a whole
// 1408-byte entry.
struct RoomListEntries {
    static constexpr size_t kShortestEntry = 1132;

    using Value = std::map<uint32_t, RoomRecord>;
    static void write(std::vector<uint8_t>& out, const Value& rooms);
    static Value read(std::span<const uint8_t> bytes);
};

// Server to client, compressible: the room list entries from 24.
struct RoomList {
    static constexpr CommandId kId = CommandId::RoomList;
    static constexpr bool kCompressible = true;
    static constexpr size_t kSize = kPacketHeaderSize;

    std::map<uint32_t, RoomRecord> rooms;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(24, RoomListEntries{}, c.rooms);
    }

    bool operator==(const RoomList&) const = default;
};

}  // namespace chat::cmd
