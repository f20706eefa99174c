#include "content/message_composer.h"

#include <fstream>
#include <system_error>

namespace chat {
namespace {

// The bytes of a picture file, or nothing when it cannot be read. A file larger than a picture
// may be is refused before it is read into memory.
std::optional<std::vector<uint8_t>> readPictureFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    if (size > kMaxPictureBytes) {
        throw ChatContentError(kPictureTooLargeText);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return bytes;
}

void appendObject(ChatMessageBuilder& builder, const InputObject& object) {
    if (object.tag == kPictureObjectTag) {
        if (!object.sourceFile.empty()) {
            if (auto bytes = readPictureFile(object.sourceFile)) {
                builder.appendPicture(*bytes);
            }
            return;
        }
        if (object.pictureBytes.empty()) {
            throw ChatContentError(kPictureFailedText);
        }
        builder.appendPicture(object.pictureBytes);
    } else if (object.tag != 0) {
        builder.appendEmote(static_cast<int32_t>(object.tag));
    }
}

}  // namespace

int32_t targetIdFromSelection(std::optional<int32_t> selectedItemValue) {
    if (!selectedItemValue || *selectedItemValue == -1) {
        return 0;
    }
    return *selectedItemValue;
}

std::vector<uint8_t> composeChatMessage(const ComposeRequest& request, const InputBoxContent& input,
                                        MessageSequence& sequence) {
    ChatMessageHeader header;
    header.roomId = request.roomId;
    header.sequence = sequence.next();
    header.speakerId = request.ownChatterId;
    header.targetId = request.targetId;
    header.style = request.style;
    header.sendTime = request.sendTime;
    header.nickname = request.ownNickname;
    if (request.targetId == request.ownChatterId) {
        throw SelfAddressedMessageError();
    }

    ChatMessageBuilder builder(header);
    std::u16string pendingText;
    for (const InputPiece& piece : input) {
        if (const auto* text = std::get_if<std::u16string>(&piece)) {
            pendingText += *text;
            continue;
        }
        if (!pendingText.empty()) {
            builder.appendText(pendingText);
            pendingText.clear();
        }
        appendObject(builder, std::get<InputObject>(piece));
    }
    if (!pendingText.empty()) {
        builder.appendText(pendingText);
    }
    return std::move(builder).finish();
}

}  // namespace chat
