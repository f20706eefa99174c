#pragma once
// Turns a received chat message packet into the sections the chat box draws and the plain text
// the keyword filter reads. The walk is bounded by the packet's bytes: a total length that claims
// more than was received is cut to what was received.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "content/chat_message.h"

namespace chat {

struct DrawTextSection {
    std::u16string text;
    bool operator==(const DrawTextSection&) const = default;
};
struct DrawEmoteSection {
    int32_t number = 0;
    bool operator==(const DrawEmoteSection&) const = default;
};
struct DrawPictureSection {
    std::vector<uint8_t> bytes;
    bool operator==(const DrawPictureSection&) const = default;
};
// A picture of another user while pictures are not shown: the placeholder image stands in.
struct DrawHiddenPicture {
    bool operator==(const DrawHiddenPicture&) const = default;
};

using DrawableSection =
    std::variant<DrawTextSection, DrawEmoteSection, DrawPictureSection, DrawHiddenPicture>;

struct ParsedChatMessage {
    ChatMessageHeader header;
    std::vector<DrawableSection> sections;
    // The texts of the text sections in order; emoticons and pictures add nothing.
    std::u16string plainText;
};

// Nothing when the packet is shorter than its 157-byte head. Sections are read until the data
// ends or a stop rule fires (size below 8 or beyond the end, empty text, bad emoticon); the
// sections found before a stop are kept. Unknown kinds, and picture files (kind 5), are skipped.
std::optional<ParsedChatMessage> parseChatMessage(std::span<const uint8_t> packet,
                                                  int32_t localChatterId, bool allowShowPictures);

// The UTF-16 text of a kind-2 payload: its units up to the first zero unit (the written
// terminator draws nothing). An odd trailing byte is ignored.
std::u16string sectionText(std::span<const uint8_t> payload);
// The GBK text of a kind-1 payload up to its first zero byte, as UTF-16.
std::u16string sectionAnsiText(std::span<const uint8_t> payload);

}  // namespace chat
