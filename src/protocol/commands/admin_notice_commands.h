#pragma once
// Administration of the texts that rooms and the server show: announcements, server-wide system
// messages, rolling messages, and the notices that ask the server to reload its lists.
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// Client to server, header only: keywords (28), room list (35), illegal nickname keywords (51)
// were updated; and the rolling message list reply (47), which is accepted and not read.
using NotifyKeywordsUpdated = EmptyCommand<CommandId::NotifyKeywordsUpdated>;
using NotifyRoomListUpdated = EmptyCommand<CommandId::NotifyRoomListUpdated>;
using NotifyNicknameKeywordsUpdated = EmptyCommand<CommandId::NotifyNicknameKeywordsUpdated>;
using RollingMessageList = EmptyCommand<CommandId::RollingMessageList>;

// Client to server, 1052 bytes: 24: u32 room id; 28: wchar[512] announcement.
struct SetAnnouncement {
    static constexpr CommandId kId = CommandId::SetAnnouncement;
    static constexpr size_t kSize = 1052;

    uint32_t roomId = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.wide(28, 512, c.text);
    }

    bool operator==(const SetAnnouncement&) const = default;
};

// Server to client: 24: u32 room id; 28: UTF-16 announcement.
struct AnnouncementUpdated {
    static constexpr CommandId kId = CommandId::AnnouncementUpdated;
    static constexpr size_t kSize = 28;

    uint32_t roomId = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.tail(28, WideText{}, c.text);
    }

    bool operator==(const AnnouncementUpdated&) const = default;
};

// Client to server, 540 bytes: 24: u32 repeat interval in seconds (0 = once); 28: wchar[256].
// An empty text with interval 0 deletes the message.
struct SetSystemMessage {
    static constexpr CommandId kId = CommandId::SetSystemMessage;
    static constexpr size_t kSize = 540;

    uint32_t intervalSeconds = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.intervalSeconds);
        io.wide(28, 256, c.text);
    }

    bool operator==(const SetSystemMessage&) const = default;
};

// Server to client: 24: u32 interval in seconds; 28: UTF-16 text.
struct SystemMessage {
    static constexpr CommandId kId = CommandId::SystemMessage;
    static constexpr size_t kSize = 28;

    uint32_t intervalSeconds = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.intervalSeconds);
        io.tail(28, WideText{}, c.text);
    }

    bool operator==(const SystemMessage&) const = default;
};

// 288 bytes: 24: u32 room id; 28: u32 repeat interval in seconds; 32: wchar[128] text. The
// request (41) and the server's notice (42) are laid out alike.
template <CommandId Id>
struct RoomRollingMessage {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 288;

    uint32_t roomId = 0;
    uint32_t intervalSeconds = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.intervalSeconds);
        io.wide(32, 128, c.text);
    }

    bool operator==(const RoomRollingMessage&) const = default;
};
using SetRollingMessage = RoomRollingMessage<CommandId::SetRollingMessage>;
using RollingMessage = RoomRollingMessage<CommandId::RollingMessage>;

}  // namespace chat::cmd
