#pragma once
// What the chat box draws for a chat message, a system line and a stored message, as a sequence of
// runs appended at the end of the box in order. A widget only renders runs: text in a style (with
// or without the link effect), pictures, emoticons, bitmap resources and paragraph indents.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "content/message_parser.h"
#include "protocol/commands/system_time.h"
#include "content/text_style.h"

namespace chat {

struct TextRun {
    std::u16string text;
    TextStyle style;
    bool link = false;
    bool operator==(const TextRun&) const = default;
};
// Picture bytes; the mode is handed to the picture object (1 for pictures of received messages
// and the placeholder, 0 otherwise).
struct PictureRun {
    std::vector<uint8_t> bytes;
    int32_t mode = 0;
    bool operator==(const PictureRun&) const = default;
};
// A bitmap resource of the program, drawn as a picture.
struct BitmapRun {
    int32_t resourceId = 0;
    int32_t mode = 0;
    bool operator==(const BitmapRun&) const = default;
};
// Emoticon N: the file emoticonFileName(N) in the "emote" folder beside the program.
struct EmoteRun {
    int32_t number = 0;
    bool operator==(const EmoteRun&) const = default;
};
// A picture file named by a stored message.
struct PictureFileRun {
    std::u16string path;
    bool operator==(const PictureFileRun&) const = default;
};
// The paragraph format from here on, in twips.
struct ParagraphRun {
    int32_t startIndent = 0;
    int32_t hangingOffset = 0;
    bool operator==(const ParagraphRun&) const = default;
};

using ChatBoxRun =
    std::variant<TextRun, PictureRun, BitmapRun, EmoteRun, PictureFileRun, ParagraphRun>;
using ChatBoxRuns = std::vector<ChatBoxRun>;

// Bitmap resources drawn into the chat box.
inline constexpr int32_t kSystemLineBitmap = 154;
inline constexpr int32_t kCustomerServiceIconBitmap = 161;
inline constexpr int32_t kInstructorIconBitmap = 165;
inline constexpr int32_t kHiddenPictureBitmap = 173;
inline constexpr int32_t kRoomManagerIconBitmap = 187;

// Nickname, time and history headers: RGB(0, 0, 225), "宋体", 9 points.
TextStyle nameLineStyle();
// System lines: RGB(128, 128, 128), "宋体", 9 points.
TextStyle systemLineStyle();
// "0007.gif" for emoticon 7; numbers of five or more digits are written in full.
std::string emoticonFileName(int32_t number);

// The bytes of a picture file the box draws (an emoticon, a picture file of a stored message):
// nothing when the file is missing, empty, unreadable or 64 MiB or larger.
std::optional<std::vector<uint8_t>> readChatBoxPictureFile(const std::filesystem::path& path);

struct SpeakerDetails {
    std::string account;            // GBK
    std::array<uint8_t, 4> ipv4{};  // in dotted order
    std::array<uint8_t, 6> mac{};
};

struct ChatMessageLayoutInput {
    uint32_t speakerRoles = 0;
    std::u16string speakerNickname;  // from the room's chatter list
    SystemTime sendTime;
    int32_t targetId = 0;
    int32_t localChatterId = 0;
    std::u16string targetNickname;  // when the target is another chatter
    // Shown when the local user may see the speaker's account, address and adapter.
    std::optional<SpeakerDetails> details;
    // The body is drawn in the message's own style (else in the default style).
    bool useOwnStyle = false;
    TextStyle style;
    std::vector<DrawableSection> sections;
};

// True when the room allows custom text styles or the speaker is customer service, a system
// administrator, a room owner or a room administrator.
bool bodyUsesOwnStyle(bool roomAllowsCustomStyles, uint32_t speakerRoles);

struct ChatMessageLayout {
    ChatBoxRuns runs;
    int32_t iconFlag = 0;  // 1 when the runs open with a role icon
};

// Role icon, header line (nickname as a link in the role colour, time, role text, whisper text,
// details), then the body indented by 180 twips with links found in its text.
ChatMessageLayout layoutChatMessage(ChatMessageLayoutInput input);
// "系统消息：" + text with its icon and hanging indent; nothing for an empty text.
ChatBoxRuns layoutSystemLine(std::u16string_view text);

}  // namespace chat
