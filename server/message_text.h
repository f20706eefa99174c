#pragma once
// Chat messages through the message content code: composing one of plain text (the demo bots,
// the tests and the load tool speak this way) or of a bot line, and reading the plain text of a
// received one.
//
// Kept apart from the command catalogue on purpose: the catalogue and the message content code
// each define their own chat::SystemTime, so no file may include both.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "server_config.h"

namespace chatserver {

struct TextMessage {
    int32_t roomId = 0;
    int32_t sequence = 0;
    int32_t speakerId = 0;
    int32_t targetId = 0;  // 0: everybody in the room
    uint32_t colour = 0;   // 0x00BBGGRR
    std::u16string nickname;
    std::u16string text;
};

// The whole command-14 packet: one text section, the default text style in the given colour, the
// local time now.
std::vector<uint8_t> composeTextMessage(const TextMessage& message);

// Who says a bot line to whom, where.
struct MessageRoute {
    int32_t roomId = 0;
    int32_t sequence = 0;
    int32_t speakerId = 0;
    int32_t targetId = 0;  // 0: everybody in the room
    std::u16string nickname;
};

// The whole command-14 packet of a bot line: its style, a section for each text run and
// emoticon in order, then its picture; the local time now.
std::vector<uint8_t> composeLineMessage(const MessageRoute& route, const BotLine& line);

// The texts of the text sections of a command-14 packet, in order; empty for a packet too short
// to be a chat message.
std::u16string messagePlainText(std::span<const uint8_t> packet);

}  // namespace chatserver
