#include "content/chat_message.h"

#include <cstring>

#include "protocol/packet_header.h"
#include "util/little_endian.h"
#include "util/wire_text.h"

namespace chat {

ChatMessageHeader ChatMessageHeader::read(const uint8_t* bytes) {
    ChatMessageHeader header;
    header.roomId = loadLE<int32_t>(bytes);
    header.sequence = loadLE<int32_t>(bytes + 4);
    header.speakerId = loadLE<int32_t>(bytes + 8);
    header.targetId = loadLE<int32_t>(bytes + 12);
    header.style = TextStyle::read(bytes + 16);
    header.sendTime = SystemTime::read(bytes + 93);
    header.nickname = getWide(bytes + 109, kNicknameUnits);
    return header;
}

void ChatMessageHeader::write(uint8_t* bytes) const {
    storeLE(bytes, roomId);
    storeLE(bytes + 4, sequence);
    storeLE(bytes + 8, speakerId);
    storeLE(bytes + 12, targetId);
    style.write(bytes + 16);
    sendTime.write(bytes + 93);
    putWide(bytes + 109, kNicknameUnits, nickname);
}

ChatSection ChatSection::read(const uint8_t* bytes) {
    return ChatSection{loadLE<uint32_t>(bytes), bytes[4]};
}

ChatMessageBuilder::ChatMessageBuilder(const ChatMessageHeader& header)
    : packet_(makePacket(kChatMessageCommandId, ChatMessageHeader::kSize)) {
    header.write(packet_.data() + kChatMessageHeaderOffset);
}

uint8_t* ChatMessageBuilder::appendSection(ChatSectionKind kind, size_t payloadSize) {
    const size_t sectionSize = ChatSection::kHeadSize + payloadSize;
    if (payloadSize >= kChatPacketLimit || packet_.size() + sectionSize >= kChatPacketLimit) {
        throw ChatContentError(kContentTooLongText);
    }
    const size_t at = packet_.size();
    packet_.resize(at + sectionSize, 0);
    uint8_t* head = packet_.data() + at;
    storeLE(head, static_cast<uint32_t>(sectionSize));
    head[4] = static_cast<uint8_t>(kind);
    return head + ChatSection::kHeadSize;
}

void ChatMessageBuilder::appendText(std::u16string_view text) {
    // The text and one zero unit; the buffer is zero-filled, so the terminator is already there.
    uint8_t* payload = appendSection(ChatSectionKind::SectionText, 2 * (text.size() + 1));
    for (size_t i = 0; i < text.size(); ++i) {
        storeLE(payload + 2 * i, static_cast<uint16_t>(text[i]));
    }
}

void ChatMessageBuilder::appendEmote(int32_t number) {
    storeLE(appendSection(ChatSectionKind::SectionEmote, 4), number);
}

void ChatMessageBuilder::appendPicture(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxPictureBytes) {
        throw ChatContentError(kPictureTooLargeText);
    }
    uint8_t* payload = appendSection(ChatSectionKind::SectionPicture, bytes.size());
    if (!bytes.empty()) {
        std::memcpy(payload, bytes.data(), bytes.size());
    }
}

std::vector<uint8_t> ChatMessageBuilder::finish() && {
    storeLE(packet_.data(), static_cast<uint32_t>(packet_.size()));
    return std::move(packet_);
}

}  // namespace chat
