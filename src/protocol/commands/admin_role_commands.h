#pragma once
// Administration of who may do what in a room: room owners, room administrators and the per-room
// rights of a user. Rights travel as RightsList byte streams, carried here as bytes.
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// Client to server, 92 bytes: 24: u32 room id; 64 zero bytes. Queries for the room's
// administrators (78) and owners (81).
using QueryRoomAdmins = RoomIdCommand<CommandId::QueryRoomAdmins, 92>;
using QueryRoomOwners = RoomIdCommand<CommandId::QueryRoomOwners, 92>;

// Client to server, 92 bytes: 24: u32 room id; 28: char[64] account.
using AddRoomAdmin = RoomAccountCommand<CommandId::AddRoomAdmin, 92>;
using DeleteRoomAdmin = RoomAccountCommand<CommandId::DeleteRoomAdmin, 92>;
// Client to server, 156 bytes: as above, then 64 zero bytes.
using QueryUserRights = RoomAccountCommand<CommandId::QueryUserRights, 156>;

// 24: UserRightsBlock; 160 to the end: a RightsList stream. The grant (76) sends A and B back as
// the last reply (77) carried them.
template <CommandId Id>
struct UserRightsCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 160;

    UserRightsBlock block;
    std::vector<uint8_t> rightsStream;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.block);
        io.tail(160, RawBytes{}, c.rightsStream);
    }

    bool operator==(const UserRightsCommand&) const = default;
};
using SetUserRights = UserRightsCommand<CommandId::SetUserRights>;
using UserRights = UserRightsCommand<CommandId::UserRights>;

// Server to client: 24-159 not read; 160 to the end: the user's own RightsList stream.
struct SelfRights {
    static constexpr CommandId kId = CommandId::SelfRights;
    static constexpr size_t kSize = 160;

    std::vector<uint8_t> rightsStream;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(160, RawBytes{}, c.rightsStream);
    }

    bool operator==(const SelfRights&) const = default;
};

// Entries of a u32 AccountLevel (0x20 owner, 0x40 administrator) and a NUL-terminated GBK account.
// Reading stops where an entry's first byte is 0, where fewer than 4 bytes remain for a level, or
// at the end of the bytes (an account without its NUL ends there); a repeated account keeps the
// level of its last entry. Writing closes the list with four zero bytes.
struct AdminEntries {
    using Value = std::map<std::string, uint32_t>;
    static void write(std::vector<uint8_t>& out, const Value& admins);
    static Value read(std::span<const uint8_t> bytes);
};

// Server to client: 24: u32 room id; 28: 64 bytes not read; 92: the administrator entries.
struct RoomAdmins {
    static constexpr CommandId kId = CommandId::RoomAdmins;
    static constexpr size_t kSize = 92;

    uint32_t roomId = 0;
    std::map<std::string, uint32_t> admins;  // account -> AccountLevel

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.tail(92, AdminEntries{}, c.admins);
    }

    bool operator==(const RoomAdmins&) const = default;
};

// NUL-terminated GBK accounts, ended by an empty one. Reading stops at an empty string or at the
// end of the bytes, trims characters 1-32 from both ends of each account and keeps those with
// something left. Writing puts each account with its NUL, then one more NUL.
struct OwnerAccounts {
    using Value = std::vector<std::string>;
    static void write(std::vector<uint8_t>& out, const Value& owners);
    static Value read(std::span<const uint8_t> bytes);
};

// 24: RoomOwnerBlock; 192: the owner accounts. The server's reply to the owners query (82) and the
// request that sets them (83, at least 193 bytes) are laid out alike.
template <CommandId Id>
struct RoomOwnersCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 192;

    RoomOwnerBlock room;
    std::vector<std::string> owners;  // GBK

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.room);
        io.tail(192, OwnerAccounts{}, c.owners);
    }

    bool operator==(const RoomOwnersCommand&) const = default;
};
using RoomOwners = RoomOwnersCommand<CommandId::RoomOwners>;
using SetRoomOwners = RoomOwnersCommand<CommandId::SetRoomOwners>;

}  // namespace chat::cmd
