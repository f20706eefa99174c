#pragma once
// Administration of chatters and room rules: kick, account level, nickname reset, room settings
// and the roles allowed to enter.
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// Client to server, 48 bytes: 24: u32 room id; 28: u32 target chatter id; 16 zero bytes.
using KickChatter = RoomChatterIdCommand<CommandId::KickChatter, 48>;

// Client to server, 160 bytes: 24: u32 target chatter id; 28: char[64] target account;
// 92: u32 new AccountLevel; 64 zero bytes.
struct SetAccountLevel {
    static constexpr CommandId kId = CommandId::SetAccountLevel;
    static constexpr size_t kSize = 160;

    uint32_t chatterId = 0;
    std::string account;  // GBK
    uint32_t accountLevel = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.chatterId);
        io.narrow(28, 64, c.account);
        io.field(92, c.accountLevel);
    }

    bool operator==(const SetAccountLevel&) const = default;
};

// Server to client: 24: result (0 = success); 28: GBK text.
using SetAccountLevelResult = ResultWithText<CommandId::SetAccountLevelResult>;

// Client to server, 224 bytes: 24: u32 room id; 28: the target's ChatterRecord with its nickname
// replaced by its account; 64 zero bytes.
using ResetNickname = RoomChatterCommand<CommandId::ResetNickname, 224>;

// 24: RoomSettingBlock. The request (67) is 307 bytes, the last 256 of them zero; the server's
// block of a room (68) is 51.
template <CommandId Id, size_t Size>
struct RoomSettingsCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    RoomSettingBlock settings;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.settings);
    }

    bool operator==(const RoomSettingsCommand&) const = default;
};
using SetRoomSettings = RoomSettingsCommand<CommandId::SetRoomSettings, 307>;
using RoomSettings = RoomSettingsCommand<CommandId::RoomSettings, 51>;

// 24: u32 room id; 28: u32 RoomAllowLevel (0 = everybody). The request (86) is 96 bytes, with 64
// zero bytes after the mask; the reply (89) is 32.
template <CommandId Id, size_t Size>
struct AllowedRolesCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = Size;

    uint32_t roomId = 0;
    uint32_t allowLevel = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.allowLevel);
    }

    bool operator==(const AllowedRolesCommand&) const = default;
};
using SetAllowedRoles = AllowedRolesCommand<CommandId::SetAllowedRoles, 96>;
using AllowedRoles = AllowedRolesCommand<CommandId::AllowedRoles, 32>;

// Client to server, 28 bytes: 24: u32 room id.
using QueryAllowedRoles = RoomIdCommand<CommandId::QueryAllowedRoles>;

}  // namespace chat::cmd
