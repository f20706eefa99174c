#pragma once
// Turns what the user put into the input box into a chat message packet. The input box is
// described, not read: the UI lists its text and embedded objects in document order.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "content/chat_message.h"
#include "content/message_sequence.h"
#include "content/object_tag.h"

namespace chat {

// An embedded object of the input box. Objects the edit control cannot report are left out of the
// description, as composing skips them.
struct InputObject {
    uint32_t tag = kPictureObjectTag;
    // The file the picture was loaded from; empty when it has none.
    std::filesystem::path sourceFile;
    // The picture as held in memory; used only when there is no source file. Empty: not available.
    std::vector<uint8_t> pictureBytes;
};

// The input box in document order: runs of text (line breaks included) and objects. Adjacent
// text runs form one text range.
using InputPiece = std::variant<std::u16string, InputObject>;
using InputBoxContent = std::vector<InputPiece>;

struct ComposeRequest {
    int32_t roomId = 0;
    int32_t ownChatterId = 0;
    std::u16string ownNickname;
    TextStyle style;
    int32_t targetId = 0;
    SystemTime sendTime;
};

inline constexpr const char* kSelfAddressedText = "请不要自己对自己说";

// The target is the local user: the text is shown with the information icon, nothing is sent.
class SelfAddressedMessageError : public ChatContentError {
  public:
    SelfAddressedMessageError() : ChatContentError(kSelfAddressedText) {}
};

// The target id for the entry selected in the target selector: nothing selected or "所有人"
// (item value -1) address everybody (0).
int32_t targetIdFromSelection(std::optional<int32_t> selectedItemValue);

// The whole packet of command 14. Throws SelfAddressedMessageError, or ChatContentError with
// "您要发送的图片过大，请裁剪后再试", "聊天内容过长" or "发送图片失败！". A picture whose source
// file cannot be read is left out.
std::vector<uint8_t> composeChatMessage(const ComposeRequest& request, const InputBoxContent& input,
                                        MessageSequence& sequence);

}  // namespace chat
