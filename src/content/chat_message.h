#pragma once
// The chat message of command 14: the 24-byte packet header, the 133-byte ChatMessageHeader
// (room, sequence, speaker, target, style, send time, nickname; the time starts at the odd packet
// offset 117) and then the content sections back to back up to the total length.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/commands/system_time.h"
#include "content/text_style.h"

namespace chat {

inline constexpr uint16_t kChatMessageCommandId = 14;
inline constexpr size_t kChatMessageHeaderOffset = 24;  // after the packet header
inline constexpr size_t kChatSectionsOffset = 157;      // first section of a packet
// A whole chat message packet must stay below this size.
inline constexpr size_t kChatPacketLimit = 163840;
inline constexpr size_t kMaxPictureBytes = 153600;

struct ChatMessageHeader {
    static constexpr size_t kSize = 133;
    static constexpr size_t kNicknameUnits = 12;  // at most 11 characters

    int32_t roomId = 0;
    int32_t sequence = 0;
    int32_t speakerId = 0;
    int32_t targetId = 0;  // 0: everybody in the room; anything else: a whisper
    TextStyle style;
    SystemTime sendTime;
    std::u16string nickname;

    // `bytes` must hold kSize bytes.
    static ChatMessageHeader read(const uint8_t* bytes);
    // Writes the nickname cut to 11 characters.
    void write(uint8_t* bytes) const;
};

enum class ChatSectionKind : uint8_t {
    SectionTextAnsi = 1,     // GBK text up to the first zero byte
    SectionText = 2,         // UTF-16LE text followed by one zero unit
    SectionEmote = 3,        // signed 32-bit emoticon number; the section is 12 bytes
    SectionPicture = 4,      // picture file bytes
    SectionPictureFile = 5,  // UTF-16 path of a picture file
};

// The 8-byte head of every section: u32 size (head included), kind, three zero bytes.
struct ChatSection {
    static constexpr size_t kHeadSize = 8;

    uint32_t size = 0;
    uint8_t kind = 0;

    // `bytes` must hold kHeadSize bytes.
    static ChatSection read(const uint8_t* bytes);
};

// A composing step that cannot go on; the text is shown to the user in an error box.
class ChatContentError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kPictureTooLargeText = "您要发送的图片过大，请裁剪后再试";
inline constexpr const char* kContentTooLongText = "聊天内容过长";
inline constexpr const char* kPictureFailedText = "发送图片失败！";

// A chat message packet under construction: it starts as the 157-byte head and grows by one
// section per append. Every append checks the packet limit before it writes.
class ChatMessageBuilder {
  public:
    explicit ChatMessageBuilder(const ChatMessageHeader& header);

    // Throw ChatContentError with the texts above when a limit is crossed.
    void appendText(std::u16string_view text);
    void appendEmote(int32_t number);
    void appendPicture(std::span<const uint8_t> bytes);

    size_t size() const { return packet_.size(); }
    // The finished packet: total length in the packet header, command 14, the rest zero.
    std::vector<uint8_t> finish() &&;

  private:
    uint8_t* appendSection(ChatSectionKind kind, size_t payloadSize);

    std::vector<uint8_t> packet_;
};

}  // namespace chat
