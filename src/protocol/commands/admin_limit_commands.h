#pragma once
// Administration of a room's black list: adding, querying, deleting and purging restrictions.
// The restrictions of a reply travel as a RoomLimitList byte stream, carried here as bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/system_time.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

enum class LimitKind : uint32_t {
    Mute = 0,
    ForbidLogin = 1,
};

// Whom a restriction names: 0: char[64] account (empty = none); 64: MAC (zeros = none); 70: u32
// IP (0 = none); 74: u32 mask. IP and mask in network byte order.
struct LimitTarget {
    static constexpr size_t kSize = 78;

    std::string account;  // GBK
    std::array<uint8_t, 6> mac{};
    uint32_t ip = 0;
    uint32_t mask = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& t) {
        io.narrow(0, 64, t.account);
        io.field(64, t.mac);
        io.field(70, t.ip);
        io.field(74, t.mask);
    }

    bool operator==(const LimitTarget&) const = default;
};

// Client to server, 190 bytes: 24: u32 room id; 28: SystemTime end of the restriction; 44: its
// target; 122: u32 LimitKind; 64 zero bytes.
struct AddRoomLimit {
    static constexpr CommandId kId = CommandId::AddRoomLimit;
    static constexpr size_t kSize = 190;

    uint32_t roomId = 0;
    SystemTime end;  // seconds and milliseconds 0
    LimitTarget target;
    LimitKind kind = LimitKind::Mute;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.end);
        io.field(44, c.target);
        io.field(122, c.kind);
    }

    bool operator==(const AddRoomLimit&) const = default;
};

// Client to server, 92 bytes: 24: u32 LimitKind; 28: u32 room id; 60 zero bytes.
struct QueryRoomLimits {
    static constexpr CommandId kId = CommandId::QueryRoomLimits;
    static constexpr size_t kSize = 92;

    LimitKind kind = LimitKind::Mute;
    uint32_t roomId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.kind);
        io.field(28, c.roomId);
    }

    bool operator==(const QueryRoomLimits&) const = default;
};

// Server to client: 24: 68 bytes not read; 92 to the end: a RoomLimitList stream.
struct RoomLimits {
    static constexpr CommandId kId = CommandId::RoomLimits;
    static constexpr size_t kSize = 92;

    std::vector<uint8_t> limitStream;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(92, RawBytes{}, c.limitStream);
    }

    bool operator==(const RoomLimits&) const = default;
};

// Client to server, 174 bytes: 24: u32 LimitKind; 28: u32 room id; 32: the target, exactly one of
// account, MAC or IP/mask filled; 64 zero bytes.
struct DeleteRoomLimit {
    static constexpr CommandId kId = CommandId::DeleteRoomLimit;
    static constexpr size_t kSize = 174;

    LimitKind kind = LimitKind::Mute;
    uint32_t roomId = 0;
    LimitTarget target;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.kind);
        io.field(28, c.roomId);
        io.field(32, c.target);
    }

    bool operator==(const DeleteRoomLimit&) const = default;
};

// Client to server, header only.
using ClearExpiredRoomLimits = EmptyCommand<CommandId::ClearExpiredRoomLimits>;

}  // namespace chat::cmd
