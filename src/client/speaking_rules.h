#pragma once
// The speaking rules of a room's input bar: the room's settings block, who is exempt from the
// rules (staff), the first-speech verification that runs once per room page, and the least time
// between two messages. The bar asks check() before it hands a message to the send step; every
// refusal leaves the input box as it was.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "protocol/commands/admin_blocks.h"
#include "util/message_box_port.h"

namespace chat {

// The block a room's bar holds until the server sends the room's own: max people 200, interval
// 1000 ms, 256 characters, 1 picture per message, custom styles and pictures allowed, no
// verification.
RoomSettingBlock defaultRoomSettings(int32_t roomId);

// The roles that lift the speaking rules in one room.
struct StaffFlags {
    bool systemAdmin = false;      // account bit 0x04
    bool customerService = false;  // account bit 0x02
    bool roomOwner = false;        // room bit 0x20
    bool roomAdmin = false;        // room bit 0x40

    bool any() const { return systemAdmin || customerService || roomOwner || roomAdmin; }
    bool operator==(const StaffFlags&) const = default;
};

StaffFlags staffFlagsOf(uint32_t accountLevel, uint32_t roomRoleBits);

// Which optional buttons of the bar are shown. The emoticon button is never shown.
struct BarButtons {
    bool picture = false;
    bool screenshot = false;
    bool roomMenu = false;
    bool operator==(const BarButtons&) const = default;
};

// Attribute bit of a room that opens pictures and screenshots to everybody.
inline constexpr uint32_t kRoomAttributePictures = 0x08;

BarButtons barButtonsFor(int32_t roomId, bool privateRoom, uint32_t roomAttributes,
                         const StaffFlags& staff);

// What the box holds, as far as the rules care.
struct MessageShape {
    bool hasText = false;
    size_t objectCount = 0;  // embedded pictures and emoticons alike
    bool operator==(const MessageShape&) const = default;
};

enum class SendVerdict {
    Send,         // hand the message to the send step
    Nothing,      // the box is empty
    NotVerified,  // the first-speech verification was not passed
    Refused,      // a rule refused the message; show the refusal
};

struct Refusal {
    std::string_view text;  // UTF-8
    tekna::MessageCaption caption;
    tekna::MessageIcon icon;
    bool operator==(const Refusal&) const = default;
};

namespace speaking_text {
inline constexpr Refusal kTooFast{"您发言的速度过快，请稍后再试", tekna::MessageCaption::Warning,
                                  tekna::MessageIcon::Warning};
inline constexpr Refusal kPicturesNotAllowed{"本房间不允许发图片", tekna::MessageCaption::None,
                                             tekna::MessageIcon::Error};
inline constexpr Refusal kTooManyPictures{"发言内容中包含的图片数量过多",
                                          tekna::MessageCaption::None, tekna::MessageIcon::Error};
}  // namespace speaking_text

struct SendDecision {
    SendVerdict verdict = SendVerdict::Nothing;
    std::optional<Refusal> refusal;  // set exactly when the verdict is Refused
};

class SpeakingRules {
  public:
    // Milliseconds since the system started; it may wrap around (only differences count).
    using Clock = std::function<uint32_t()>;
    // Asks the user for the first-speech code; true when it was typed right.
    using Verifier = std::function<bool()>;

    // The last accepted send starts at the clock's present reading, so a message sent within the
    // interval after the room opened is refused.
    SpeakingRules(int32_t roomId, uint32_t accountLevel, uint32_t roomRoleBits,
                  Clock clock = systemMilliseconds);

    // The clock of the running system.
    static uint32_t systemMilliseconds();

    const RoomSettingBlock& settings() const { return settings_; }
    void applySettings(const RoomSettingBlock& settings) { settings_ = settings; }
    const StaffFlags& staff() const { return staff_; }
    void setStaff(const StaffFlags& staff) { staff_ = staff; }
    bool firstSpeechPending() const { return firstSpeechPending_; }
    uint32_t lastAcceptedSend() const { return lastAcceptedSend_; }

    // The rules in their order: nothing to send; staff pass; first speech (the verifier runs
    // only when the room asks for it, and the first speech counts as done once it passed);
    // the interval (a passing message is the new last send, even when a later rule refuses it);
    // pictures allowed; pictures per message.
    SendDecision check(const MessageShape& message, const Verifier& verify);

  private:
    RoomSettingBlock settings_;
    StaffFlags staff_;
    Clock clock_;
    bool firstSpeechPending_ = true;
    uint32_t lastAcceptedSend_;
};

}  // namespace chat
