#include "content/message_parser.h"

#include <algorithm>

#include "protocol/packet_header.h"
#include "util/little_endian.h"
#include "util/text_codec.h"

namespace chat {

std::u16string sectionText(std::span<const uint8_t> payload) {
    std::u16string text;
    const size_t units = payload.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(loadLE<uint16_t>(payload.data() + 2 * i));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

std::u16string sectionAnsiText(std::span<const uint8_t> payload) {
    const auto end = std::find(payload.begin(), payload.end(), uint8_t{0});
    const std::string_view gbk(reinterpret_cast<const char*>(payload.data()),
                               static_cast<size_t>(end - payload.begin()));
    return gbkToUtf16(gbk);
}

std::optional<ParsedChatMessage> parseChatMessage(std::span<const uint8_t> packet,
                                                  int32_t localChatterId, bool allowShowPictures) {
    if (packet.size() < kChatSectionsOffset) {
        return std::nullopt;
    }
    ParsedChatMessage message;
    message.header = ChatMessageHeader::read(packet.data() + kChatMessageHeaderOffset);
    const size_t total = std::min<size_t>(PacketHeader::read(packet.data()).size, packet.size());
    const bool showPictures = allowShowPictures || message.header.speakerId == localChatterId;

    size_t at = kChatSectionsOffset;
    while (at < total && total - at >= ChatSection::kHeadSize) {
        const ChatSection head = ChatSection::read(packet.data() + at);
        if (head.size < ChatSection::kHeadSize || head.size > total - at) {
            break;
        }
        const auto payload =
            packet.subspan(at + ChatSection::kHeadSize, head.size - ChatSection::kHeadSize);
        switch (static_cast<ChatSectionKind>(head.kind)) {
            case ChatSectionKind::SectionTextAnsi:
            case ChatSectionKind::SectionText: {
                const bool ansi = head.kind == uint8_t(ChatSectionKind::SectionTextAnsi);
                if (ansi ? payload.empty() || payload[0] == 0 : payload.size() < 2) {
                    return message;
                }
                std::u16string text = ansi ? sectionAnsiText(payload) : sectionText(payload);
                message.plainText += text;
                message.sections.emplace_back(DrawTextSection{std::move(text)});
                break;
            }
            case ChatSectionKind::SectionEmote: {
                if (payload.size() != 4 || loadLE<int32_t>(payload.data()) < 1) {
                    return message;
                }
                message.sections.emplace_back(DrawEmoteSection{loadLE<int32_t>(payload.data())});
                break;
            }
            case ChatSectionKind::SectionPicture:
                if (showPictures) {
                    message.sections.emplace_back(
                        DrawPictureSection{std::vector<uint8_t>(payload.begin(), payload.end())});
                } else {
                    message.sections.emplace_back(DrawHiddenPicture{});
                }
                break;
            default:
                break;
        }
        at += head.size;
    }
    return message;
}

}  // namespace chat
