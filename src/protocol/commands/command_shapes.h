#pragma once
// Layouts that several commands share byte for byte; each command is a named alias of one of them.
// (Commands whose fields mean different things keep their own struct, even when the widths agree.)
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/chatter_record.h"
#include "protocol/commands/command_id.h"
#include "protocol/commands/tail_codecs.h"
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

// 24: u32 room id; 28: u32 chatter id (then zeros up to Size).
template <CommandId Id, size_t Size>
struct RoomChatterIdCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    uint32_t roomId = 0;
    uint32_t chatterId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.chatterId);
    }

    bool operator==(const RoomChatterIdCommand&) const = default;
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

// 24: i32 result, 0 = success; 28: GBK text to the end of the packet.
template <CommandId Id>
struct ResultWithText {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 28;

    int32_t result = 0;
    std::string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.result);
        io.tail(28, NarrowText{}, c.text);
    }

    bool operator==(const ResultWithText&) const = default;
};

}  // namespace chat::cmd
