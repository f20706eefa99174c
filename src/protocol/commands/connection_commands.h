#pragma once
// Commands of the connection itself: hello, login, heartbeat, the server's verdicts and notices.
// Build with buildPacket(command), read with readPacket<Command>(packet) (layout.h).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

inline constexpr uint32_t kProtocolVersion = 7;

using Heartbeat = EmptyCommand<CommandId::Heartbeat>;  // the server's, and the client's answer
using Welcome = EmptyCommand<CommandId::Welcome>;
using ClientVersionRefused = EmptyCommand<CommandId::ClientVersionRefused>;
using ChatterDisabled = EmptyCommand<CommandId::ChatterDisabled>;

// Client to server, 28 bytes.
struct Hello {
    static constexpr CommandId kId = CommandId::Hello;
    static constexpr size_t kSize = 28;

    uint32_t version = kProtocolVersion;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.version);
    }

    bool operator==(const Hello&) const = default;
};

// Client to server, 104 bytes. The only packet that uses the header's reserved bytes: 8-13 carry
// the MAC chosen at login (zeros when the computer has no Ethernet adapter).
struct Login {
    static constexpr CommandId kId = CommandId::Login;
    static constexpr size_t kSize = 104;

    std::array<uint8_t, 6> mac{};
    std::string account;  // GBK, char[64]
    std::array<uint8_t, 16> passwordDigest{};

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(8, c.mac);
        io.narrow(24, 64, c.account);
        io.field(88, c.passwordDigest);
    }

    bool operator==(const Login&) const = default;
};

// Server to client: 24: a GBK text (success 2, fail 3).
template <CommandId Id>
struct ServerText {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 24;

    std::string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(24, NarrowText{}, c.text);
    }

    bool operator==(const ServerText&) const = default;
};
using Success = ServerText<CommandId::Success>;
using Fail = ServerText<CommandId::Fail>;

// Server to client: 24: i32 room id (0 or less: no room); 28: UTF-16 text.
struct FailWithMessage {
    static constexpr CommandId kId = CommandId::FailWithMessage;
    static constexpr size_t kSize = 28;

    int32_t roomId = 0;
    std::u16string text;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.tail(28, WideText{}, c.text);
    }

    bool operator==(const FailWithMessage&) const = default;
};

// Server to client, 32 bytes.
struct LoginAccepted {
    static constexpr CommandId kId = CommandId::LoginAccepted;
    static constexpr size_t kSize = 32;

    uint32_t chatterId = 0;
    uint32_t accountLevel = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.chatterId);
        io.field(28, c.accountLevel);
    }

    bool operator==(const LoginAccepted&) const = default;
};

// Server to client: 24: i32 code; 28: UTF-16 reason (login refused 19, kicked out 38).
template <CommandId Id>
struct CodeAndReason {
    static constexpr CommandId kId = Id;
    static constexpr size_t kSize = 28;

    int32_t code = 0;
    std::u16string reason;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.code);
        io.tail(28, WideText{}, c.reason);
    }

    bool operator==(const CodeAndReason&) const = default;
};
using LoginRefused = CodeAndReason<CommandId::LoginRefused>;
using KickedOut = CodeAndReason<CommandId::KickedOut>;

}  // namespace chat::cmd
