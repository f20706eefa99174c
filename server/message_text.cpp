#include "message_text.h"

#include "content/chat_message.h"
#include "content/message_parser.h"

namespace chatserver {

std::vector<uint8_t> composeTextMessage(const TextMessage& message) {
    chat::ChatMessageHeader header;
    header.roomId = message.roomId;
    header.sequence = message.sequence;
    header.speakerId = message.speakerId;
    header.targetId = message.targetId;
    header.style = chat::defaultTextStyle();
    header.style.colour = message.colour;
    header.sendTime = chat::SystemTime::now();
    header.nickname = message.nickname;
    chat::ChatMessageBuilder builder(header);
    builder.appendText(message.text);
    return std::move(builder).finish();
}

std::u16string messagePlainText(std::span<const uint8_t> packet) {
    const auto parsed = chat::parseChatMessage(packet, 0, false);
    return parsed ? parsed->plainText : std::u16string();
}

}  // namespace chatserver
