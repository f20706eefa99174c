// ChatClient: sending chat messages and deciding which received ones are shown.
#include "admin/account_level.h"
#include "client/chat_client.h"
#include "client/ports/main_window_port.h"
#include "client/ports/room_page_port.h"
#include "content/chat_box_layout.h"
#include "content/message_parser.h"
#include "protocol/commands/chat_commands.h"
#include "storage/user_config.h"
#include "util/blank_trim.h"
#include "util/little_endian.h"

namespace chat {

namespace {

// Staff whose messages skip the duplicate, keyword and blank checks.
constexpr uint32_t kUncheckedSenders =
    AccountLevel::kSystemAdmin | AccountLevel::kCustomerService | AccountLevel::kInstructor;

int32_t packetRoom(std::span<const uint8_t> packet) {
    return loadLE<int32_t>(packet.data() + 24);
}

}  // namespace

bool ChatClient::sendMessage(int32_t roomId, const InputBoxContent& input) {
    std::u16string text;
    bool hasObject = false;
    for (const InputPiece& piece : input) {
        if (const auto* run = std::get_if<std::u16string>(&piece)) {
            text += *run;
        } else {
            hasObject = true;
        }
    }
    if (text.empty() && !hasObject) {
        return false;
    }
    try {
        if ((ownRecord_.roleFlags & kUncheckedSenders) == 0 && !text.empty()) {
            const std::u16string_view trimmed = trimmedBlanks(text);
            if (!trimmed.empty() && trimmed == lastSentText_[roomId]) {
                throw ChatContentError("对不起，相同内容请不要重复发送！");
            }
            if (keywordFilter_.isRestricted(text)) {
                throw ChatContentError("对不起，您的发言内容含有敏感词汇！");
            }
            if (!hasObject && trimmed.empty()) {
                throw ChatContentError("请勿发送无意义的空白内容");
            }
            lastSentText_[roomId] = trimmed;
        }
        std::optional<int32_t> selected;
        if (OpenRoom* open = findRoom(roomId)) {
            selected = open->page->selectedAddressee();
        }
        ComposeRequest request;
        request.roomId = roomId;
        request.ownChatterId = static_cast<int32_t>(ownRecord_.chatterId);
        request.ownNickname = ownRecord_.nickname;
        request.style = ownMessageStyle_;
        request.targetId = targetIdFromSelection(selected);
        request.sendTime = SystemTime::now();
        const std::vector<uint8_t> packet = composeChatMessage(request, input, sequence_);
        send(packet);
        showMessage(packet);
        sequence_.markSent(loadLE<int32_t>(packet.data() + 28));
        return true;
    } catch (const SelfAddressedMessageError& refusal) {
        messages_.showMessage(refusal.what(), tekna::MessageCaption::None,
                              tekna::MessageIcon::Information);
    } catch (const ChatContentError& refusal) {
        messages_.showMessage(refusal.what(), tekna::MessageCaption::None,
                              tekna::MessageIcon::Error);
    }
    return false;
}

void ChatClient::setOwnMessageStyle(const TextStyle& style) {
    ownMessageStyle_ = styleToStore(style, ownRecord_.roleFlags);
    config_.setMyTextStyle(ownMessageStyle_);
}

void ChatClient::onChatMessage(std::span<const uint8_t> packet) {
    if (packet.size() <= cmd::ChatMessage::kIgnoredUpToSize) {
        return;
    }
    const int32_t roomId = packetRoom(packet);
    OpenRoom* open = findRoom(roomId);
    if (open == nullptr) {
        return;  // no page will ever show it
    }
    if (!open->page->displaying()) {
        pending_.emplace_back(packet.begin(), packet.end());
        return;
    }
    const bool shown = showMessage(packet);
    if (mainWindow_->selectedRoom() != roomId) {
        mainWindow_->markRoomNews(roomId);
    }
    if (shown && !mainWindow_->isActiveWindow()) {
        mainWindow_->flashTaskbarButton();
    }
}

void ChatClient::resumeDisplay(int32_t roomId) {
    std::erase_if(pending_, [&](const std::vector<uint8_t>& packet) {
        const int32_t packetRoomId = packetRoom(packet);
        if (packetRoomId != roomId) {
            return false;
        }
        const OpenRoom* open = findRoom(packetRoomId);
        if (open == nullptr || !open->page->displaying()) {
            return false;
        }
        showMessage(packet);
        return true;
    });
}

bool ChatClient::mayViewAddresses(int32_t roomId) const {
    return roleFactsIn(roomId).canViewAddresses();
}

bool ChatClient::showMessage(std::span<const uint8_t> packet) {
    const ChatMessageHeader header =
        ChatMessageHeader::read(packet.data() + kChatMessageHeaderOffset);
    const int32_t ownId = static_cast<int32_t>(ownRecord_.chatterId);
    const bool fromUser = header.speakerId == ownId;
    if (sequence_.isOwnEcho(fromUser, header.sequence)) {
        return false;
    }
    OpenRoom* open = findRoom(header.roomId);
    if (open == nullptr) {
        return false;
    }
    const auto sender = open->chatters.find(static_cast<uint32_t>(header.speakerId));
    if (sender == open->chatters.end()) {
        return false;
    }
    const bool toUser = header.targetId == ownId;
    if (header.targetId != 0) {
        if (!toUser && !fromUser) {
            return false;
        }
        if (toUser && !config_.acceptPrivateMessages()) {
            return false;
        }
    }
    const ChatterRecord& speaker = sender->second;
    if (!fromUser && !speaker.account.empty() && isBlocked(speaker.account)) {
        return false;
    }
    std::optional<ParsedChatMessage> parsed =
        parseChatMessage(packet, ownId, config_.allowShowPictures());
    if (!parsed || parsed->sections.empty()) {
        return false;
    }
    if (!parsed->plainText.empty() && keywordFilter_.isRestricted(parsed->plainText)) {
        return false;
    }
    ChatMessageLayoutInput layout;
    layout.speakerRoles = speaker.roleFlags;
    layout.speakerNickname = speaker.nickname;
    layout.sendTime = header.sendTime;
    layout.targetId = header.targetId;
    layout.localChatterId = ownId;
    if (header.targetId != 0) {
        const auto target = open->chatters.find(static_cast<uint32_t>(header.targetId));
        if (target != open->chatters.end()) {
            layout.targetNickname = target->second.nickname;
        }
    }
    if (mayViewAddresses(header.roomId)) {
        SpeakerDetails details;
        details.account = speaker.account;
        for (size_t i = 0; i < details.ipv4.size(); ++i) {
            details.ipv4[i] = static_cast<uint8_t>(speaker.ip >> (8 * i));
        }
        details.mac = speaker.mac;
        layout.details = details;
    }
    layout.useOwnStyle = bodyUsesOwnStyle(open->page->showsSenderStyles(), speaker.roleFlags);
    layout.style = header.style;
    layout.sections = std::move(parsed->sections);

    KeptChatMessage kept;
    kept.time = header.sendTime;
    kept.account = speaker.account;
    kept.nickname = header.nickname;
    kept.whisperToUser = toUser;
    kept.sections.assign(packet.begin() + kChatSectionsOffset, packet.end());
    kept.style = header.style;
    open->page->appendChatMessage(speaker.chatterId, layoutChatMessage(std::move(layout)), kept);
    if (open->page->displaying()) {
        open->page->scrollToEnd();
    }
    return true;
}

}  // namespace chat
