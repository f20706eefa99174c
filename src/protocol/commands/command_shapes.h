#pragma once
// Layouts that several commands share byte for byte; each command is a named alias of one of them.
// (Commands whose fields mean different things keep their own struct, even when the widths agree.)
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/chatter_record.h"
#include "protocol/commands/command_id.h"
#include "protocol/packet_header.h"

namespace chat::cmd {

// No field: the header alone, or a body of zeros that nobody reads.
template <CommandId Id, size_t Size = kPacketHeaderSize>
struct EmptyCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    template <class Io, class Self>
    static void layout(Io&, Self&) {}

    bool operator==(const EmptyCommand&) const = default;
};

// 24: u32 room id (then zeros up to Size).
template <CommandId Id, size_t Size = 28>
struct RoomIdCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    uint32_t roomId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
    }

    bool operator==(const RoomIdCommand&) const = default;
};

// 24: u32 room id; 28: char[64] account (then zeros up to Size).
template <CommandId Id, size_t Size>
struct RoomAccountCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    uint32_t roomId = 0;
    std::string account;  // GBK

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.narrow(28, 64, c.account);
    }

    bool operator==(const RoomAccountCommand&) const = default;
};

// 24: u32 room id; 28: ChatterRecord (then zeros up to Size).
template <CommandId Id, size_t Size>
struct RoomChatterCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    uint32_t roomId = 0;
    ChatterRecord record;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.record);
    }

    bool operator==(const RoomChatterCommand&) const = default;
};

}  // namespace chat::cmd
