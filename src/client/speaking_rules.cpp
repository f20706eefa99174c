#include "client/speaking_rules.h"

#include <chrono>
#include <utility>

#include "admin/account_level.h"

namespace chat {

RoomSettingBlock defaultRoomSettings(int32_t roomId) {
    RoomSettingBlock block;
    block.roomId = static_cast<uint32_t>(roomId);
    block.maxPeople = 200;
    block.speechIntervalMs = 1000;
    block.maxCharacters = 256;
    block.maxPictures = 1;
    block.allowCustomTextStyle = true;
    block.allowPictures = true;
    block.firstSpeechVerification = false;
    return block;
}

StaffFlags staffFlagsOf(uint32_t accountLevel, uint32_t roomRoleBits) {
    return StaffFlags{
        .systemAdmin = (accountLevel & AccountLevel::kSystemAdmin) != 0,
        .customerService = (accountLevel & AccountLevel::kCustomerService) != 0,
        .roomOwner = (roomRoleBits & AccountLevel::kRoomOwner) != 0,
        .roomAdmin = (roomRoleBits & AccountLevel::kRoomAdmin) != 0,
    };
}

BarButtons barButtonsFor(int32_t roomId, bool privateRoom, uint32_t roomAttributes,
                         const StaffFlags& staff) {
    const bool openRoom = privateRoom || (roomAttributes & kRoomAttributePictures) != 0;
    return BarButtons{
        .picture = openRoom || staff.any(),
        .screenshot = openRoom || staff.any() || roomId == 1 || roomId == 2,
        .roomMenu = !privateRoom && (staff.systemAdmin || staff.roomOwner || staff.roomAdmin),
    };
}

SpeakingRules::SpeakingRules(int32_t roomId, uint32_t accountLevel, uint32_t roomRoleBits,
                             Clock clock)
    : settings_(defaultRoomSettings(roomId)),
      staff_(staffFlagsOf(accountLevel, roomRoleBits)),
      clock_(std::move(clock)),
      lastAcceptedSend_(clock_()) {}

uint32_t SpeakingRules::systemMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

SendDecision SpeakingRules::check(const MessageShape& message, const Verifier& verify) {
    if (!message.hasText && message.objectCount == 0) {
        return {SendVerdict::Nothing, std::nullopt};
    }
    if (staff_.any()) {
        return {SendVerdict::Send, std::nullopt};
    }
    if (firstSpeechPending_) {
        if (settings_.firstSpeechVerification && !(verify && verify())) {
            return {SendVerdict::NotVerified, std::nullopt};
        }
        firstSpeechPending_ = false;
    }
    const uint32_t now = clock_();
    // Unsigned: the difference stays right when the millisecond counter wraps around.
    if (settings_.speechIntervalMs > 0 && now - lastAcceptedSend_ < settings_.speechIntervalMs) {
        return {SendVerdict::Refused, speaking_text::kTooFast};
    }
    lastAcceptedSend_ = now;
    if (message.objectCount > 0 && !settings_.allowPictures) {
        return {SendVerdict::Refused, speaking_text::kPicturesNotAllowed};
    }
    if (message.objectCount > settings_.maxPictures) {
        return {SendVerdict::Refused, speaking_text::kTooManyPictures};
    }
    return {SendVerdict::Send, std::nullopt};
}

}  // namespace chat
