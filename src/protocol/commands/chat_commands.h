#pragma once
// Commands of the chat itself: chat messages, private chats, and the word lists that police
// messages and nicknames.
#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "protocol/commands/chatter_record.h"
#include "protocol/commands/command_shapes.h"
#include "protocol/commands/layout.h"
#include "protocol/commands/system_time.h"
#include "protocol/commands/tail_codecs.h"

namespace chat::cmd {

// Both directions: the 133-byte message header from 24, then the content sections up to the end
// of the packet, carried here as bytes (their encoding belongs to the message content code).
struct ChatMessage {
    static constexpr CommandId kId = CommandId::ChatMessage;
    static constexpr size_t kSize = 157;
    static constexpr size_t kTextStyleSize = 77;
    static constexpr size_t kNicknameUnits = 12;  // wchar[12]
    // Received chat packets of at most this size are ignored.
    static constexpr size_t kIgnoredUpToSize = 164;

    int32_t roomId = 0;
    int32_t sequence = 0;
    int32_t speakerId = 0;
    int32_t targetId = 0;  // 0 = everybody in the room; else a whisper to that chatter
    std::array<uint8_t, kTextStyleSize> textStyle{};
    SystemTime sendTime;  // the sender's local time, at the odd offset 117
    std::u16string nickname;
    std::vector<uint8_t> sections;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.sequence);
        io.field(32, c.speakerId);
        io.field(36, c.targetId);
        io.field(40, c.textStyle);
        io.field(117, c.sendTime);
        io.wide(133, kNicknameUnits, c.nickname);
        io.tail(157, RawBytes{}, c.sections);
    }

    bool operator==(const ChatMessage&) const = default;
};

// Server to client: the server's answer to the speaker (nothing read).
using ChatAnswer = EmptyCommand<CommandId::ChatAnswer>;

// Client to server, 156 bytes: 24: u32 invited chatter's id; 28: char[124] text, sent empty;
// 152: u32 room where the two chatters are.
struct PrivateChatRequest {
    static constexpr CommandId kId = CommandId::PrivateChatRequest;
    static constexpr size_t kSize = 156;

    uint32_t chatterId = 0;
    std::string text;  // GBK
    uint32_t roomId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.chatterId);
        io.narrow(28, 124, c.text);
        io.field(152, c.roomId);
    }

    bool operator==(const PrivateChatRequest&) const = default;
};

// Server to client: 24: i32 result, non-zero = refused; 28: GBK text.
using PrivateChatRefused = ResultWithText<CommandId::PrivateChatRefused>;

// Server to client, 292 bytes.
struct PrivateRoomCreated {
    static constexpr CommandId kId = CommandId::PrivateRoomCreated;
    static constexpr size_t kSize = 292;

    uint32_t roomId = 0;
    ChatterRecord first;
    ChatterRecord second;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.field(24, c.roomId);
        io.field(28, c.first);
        io.field(160, c.second);
    }

    bool operator==(const PrivateRoomCreated&) const = default;
};

// UTF-16 words, each ended by a NUL unit. Reading takes the last word without its NUL too, skips
// empty words, folds repeated ones and ignores an odd last byte.
struct WideWords {
    using Value = std::set<std::u16string>;
    static void write(std::vector<uint8_t>& out, const Value& words);
    static Value read(std::span<const uint8_t> bytes);
};

// Server to client, compressible: keyword list (17) and invalid nickname word list (50).
template <CommandId Id>
struct WordList {
    static constexpr CommandId kId = Id;
    static constexpr bool kCompressible = true;
    static constexpr size_t kSize = kPacketHeaderSize;

    std::set<std::u16string> words;

    template <class Io, class Self>
    static void layout(Io& io, Self& c) {
        io.tail(24, WideWords{}, c.words);
    }

    bool operator==(const WordList&) const = default;
};
using KeywordList = WordList<CommandId::KeywordList>;
using InvalidNicknameList = WordList<CommandId::InvalidNicknameList>;

}  // namespace chat::cmd
