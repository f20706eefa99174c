#include "client/settings_rules.h"

#include <chrono>
#include <limits>

#include "client/ports/hot_key_port.h"
#include "util/wire_text.h"

namespace chat {

namespace {

constexpr uint32_t kSendKeyEnter = 1;
constexpr uint32_t kSendKeyCtrlEnter = 2;
constexpr uint32_t kSendKeyAltS = 4;

uint64_t millisecondsSinceStart() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

}  // namespace

SendKeyChoices sendKeyChoices(uint32_t sendKey) {
    return {(sendKey & kSendKeyEnter) != 0, (sendKey & kSendKeyAltS) != 0};
}

uint32_t sendKeyFromChoices(const SendKeyChoices& choices) {
    return (choices.altSSends ? kSendKeyAltS : 0) |
           (choices.enterSends ? kSendKeyEnter : kSendKeyCtrlEnter);
}

int32_t chatBoxKilobytes(int32_t maxChatBoxChars) {
    return maxChatBoxChars / kCharsPerKilobyte;
}

std::optional<int32_t> chatBoxCharsFromKilobytes(std::u16string_view text) {
    constexpr int64_t kMostKilobytes = std::numeric_limits<int32_t>::max() / kCharsPerKilobyte;
    if (text.empty()) {
        return std::nullopt;
    }
    int64_t kilobytes = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        kilobytes = kilobytes * 10 + (unit - u'0');
        if (kilobytes > kMostKilobytes) {
            return std::nullopt;
        }
    }
    if (kilobytes < 1) {
        return std::nullopt;
    }
    return static_cast<int32_t>(kilobytes * kCharsPerKilobyte);
}

std::u16string cutNicknameField(std::u16string_view text) {
    return std::u16string(text.substr(0, utf16PrefixLength(text, kNicknameCharacters)));
}

char sexFromChoices(bool male, bool female) {
    return male ? 'M' : female ? 'F' : 'U';
}

NicknameChangeLimiter::NicknameChangeLimiter(Clock clock)
    : clock_(clock ? std::move(clock) : Clock(millisecondsSinceStart)) {}

NicknameChangeLimiter& NicknameChangeLimiter::processWide() {
    static NicknameChangeLimiter limiter;
    return limiter;
}

NicknameJudgement NicknameChangeLimiter::judge(int32_t roomId, const RoomNickname& current,
                                               const RoomNickname& edited, bool staff) const {
    if (edited.nickname.empty()) {
        return {NicknameVerdict::Empty, false};
    }
    const bool renamed = edited.nickname != current.nickname;
    const bool limited = renamed && !staff;
    if (limited) {
        const auto last = lastChange_.find(roomId);
        if (last != lastChange_.end() && clock_() - last->second < kMinimumIntervalMs) {
            return {NicknameVerdict::TooFrequent, false};
        }
    }
    if (!renamed && edited.sex == current.sex) {
        return {NicknameVerdict::Unchanged, false};
    }
    return {NicknameVerdict::Request, limited};
}

void NicknameChangeLimiter::remember(int32_t roomId) {
    lastChange_[roomId] = clock_();
}

bool registerScreenCaptureHotKey(HotKeyPort& port, uint32_t value) {
    port.unregisterHotKey();
    return value == 0 || port.registerHotKey(value);
}

bool replaceScreenCaptureHotKey(HotKeyPort& port, uint32_t held, uint32_t wanted) {
    if (registerScreenCaptureHotKey(port, wanted)) {
        return true;
    }
    registerScreenCaptureHotKey(port, held);
    return false;
}

}  // namespace chat
