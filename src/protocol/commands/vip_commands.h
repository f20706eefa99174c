#pragma once
// VIP gifts: temporary VIP for named accounts and the random VIP draw of a room.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// GBK accounts separated by one blank, without terminator. Reading splits at white space.
struct VipAccounts {
    using Value = std::vector<std::string>;
    static void write(std::vector<uint8_t>& out, const Value& accounts);
    static Value read(std::span<const uint8_t> bytes);
};

// 24: VipGiftBlock; 112 to the end: the accounts. The gift (59) and the server's congratulation
// notice (60) are laid out alike; a notice without accounts is exactly 112 bytes.
template <CommandId Id>
struct VipGiftCommand {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 112;

    VipGiftBlock gift;
    std::vector<std::string> accounts;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.gift);
        io.tail(112, VipAccounts{}, c.accounts);
    }

    bool operator==(const VipGiftCommand&) const = default;
};
using GiveVip = VipGiftCommand<CommandId::GiveVip>;
using VipGiven = VipGiftCommand<CommandId::VipGiven>;

// Client to server, 92 bytes: 24: u32 room id; 64 zero bytes.
using QueryRandomVip = RoomIdCommand<CommandId::QueryRandomVip, 92>;

// Server to client, 72 bytes: 24: the room's draw.
struct RandomVipSettings {
    static constexpr CommandId kId = CommandId::RandomVipSettings;
    static constexpr size_t kSize = 72;

    RandomVipDraw draw;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.draw);
    }

    bool operator==(const RandomVipSettings&) const = default;
};

// Client to server, 152 bytes: 24: MD5 of the operation password; 40: the draw (its room id as
// command 62 carried it); 64 zero bytes.
struct SetRandomVip {
    static constexpr CommandId kId = CommandId::SetRandomVip;
    static constexpr size_t kSize = 152;

    std::array<uint8_t, 16> passwordDigest{};
    RandomVipDraw draw;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.passwordDigest);
        io.field(40, c.draw);
    }

    bool operator==(const SetRandomVip&) const = default;
};

// Server to client: 24: u32 result (0 = success); 28: UTF-16 text.
struct SetRandomVipResult {
    static constexpr CommandId kId = CommandId::SetRandomVipResult;
    static constexpr size_t kSize = 28;

    uint32_t result = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.result);
        io.tail(28, WideText{}, c.text);
    }

    bool operator==(const SetRandomVipResult&) const = default;
};

}  // namespace chat::cmd
