#include "message_text.h"

#include "content/chat_message.h"
#include "content/message_parser.h"

namespace chatserver {
namespace {

chat::ChatMessageHeader headerFor(const MessageRoute& route, const chat::TextStyle& style) {
    chat::ChatMessageHeader header;
    header.roomId = route.roomId;
    header.sequence = route.sequence;
    header.speakerId = route.speakerId;
    header.targetId = route.targetId;
    header.style = style;
    header.sendTime = chat::SystemTime::now();
    header.nickname = route.nickname;
    return header;
}

}  // namespace

std::vector<uint8_t> composeTextMessage(const TextMessage& message) {
    chat::TextStyle style = chat::defaultTextStyle();
    style.colour = message.colour;
    chat::ChatMessageBuilder builder(headerFor(
        {message.roomId, message.sequence, message.speakerId, message.targetId, message.nickname},
        style));
    builder.appendText(message.text);
    return std::move(builder).finish();
}

std::vector<uint8_t> composeLineMessage(const MessageRoute& route, const BotLine& line) {
    chat::ChatMessageBuilder builder(headerFor(route, line.style));
    for (const LinePiece& piece : line.pieces) {
        if (const auto* text = std::get_if<std::u16string>(&piece)) {
            builder.appendText(*text);
        } else {
            builder.appendEmote(std::get<int32_t>(piece));
        }
    }
    if (!line.picture.empty())
        builder.appendPicture(line.picture);
    return std::move(builder).finish();
}

std::u16string messagePlainText(std::span<const uint8_t> packet) {
    const auto parsed = chat::parseChatMessage(packet, 0, false);
    return parsed ? parsed->plainText : std::u16string();
}

}  // namespace chatserver
