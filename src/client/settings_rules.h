#pragma once
// The decisions of the settings sheet that need no window: the send key from its choices, the
// chat box size in KB, whether a nickname change may go to the server, and how the screen-capture
// hot key is taken again after a change.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "storage/user_config.h"

namespace chat {

class HotKeyPort;

// The sheet's refusals.
namespace settings_text {
inline constexpr const char* kNicknameEmpty = "昵称不能为空！";
inline constexpr const char* kNicknameTooFrequent = "请不要频繁的改动昵称!";
inline constexpr const char* kChatBoxSizeInvalid = "房间聊天信息保留字数无效";
inline constexpr const char* kHotKeyRefused = "注册热键失败，请重新设置一个新的热键！";
}  // namespace settings_text

// --- Send key ---

struct SendKeyChoices {
    bool enterSends = false;  // "Enter"; otherwise "Ctrl + Enter"
    bool altSSends = false;   // "允许用Alt+S键发送"
};

SendKeyChoices sendKeyChoices(uint32_t sendKey);
uint32_t sendKeyFromChoices(const SendKeyChoices& choices);

// --- Chat box size ---

inline constexpr int32_t kCharsPerKilobyte = 1024;

// What the size field shows: whole KB, rounded down.
int32_t chatBoxKilobytes(int32_t maxChatBoxChars);
// The characters of the size field's text; nothing when the text is no number of at least 1 KB
// (or more than the setting can hold).
std::optional<int32_t> chatBoxCharsFromKilobytes(std::u16string_view text);

// --- Nickname changes ---

inline constexpr size_t kNicknameCharacters = 11;

// The nickname field's text as the sheet reads it: at most 11 UTF-16 units, no surrogate pair cut.
std::u16string cutNicknameField(std::u16string_view text);
// The sex letter of the three choices.
char sexFromChoices(bool male, bool female);

enum class NicknameVerdict {
    Empty,        // "昵称不能为空！"
    TooFrequent,  // "请不要频繁的改动昵称!"
    Unchanged,    // nothing to send
    Request,      // hand the change to the chat client
};

struct NicknameJudgement {
    NicknameVerdict verdict = NicknameVerdict::Unchanged;
    // A request that starts a new waiting time in the room once it is sent.
    bool limited = false;
};

// When a user who is not staff last changed the nickname in each room. A new nickname in the same
// room is refused until 60000 ms have passed; a change of sex alone, and staff, are not limited.
class NicknameChangeLimiter {
  public:
    static constexpr uint64_t kMinimumIntervalMs = 60000;
    // Milliseconds from any fixed start; the default counts from the system's start.
    using Clock = std::function<uint64_t()>;

    explicit NicknameChangeLimiter(Clock clock = {});

    // The one whose times live as long as the process.
    static NicknameChangeLimiter& processWide();

    NicknameJudgement judge(int32_t roomId, const RoomNickname& current, const RoomNickname& edited,
                            bool staff) const;
    // The request of a limited judgement was sent.
    void remember(int32_t roomId);

  private:
    Clock clock_;
    std::map<int32_t, uint64_t> lastChange_;
};

// --- Screen-capture hot key ---

// Gives back the held combination and takes `value`; 0 takes nothing. True when `value` is held
// (or is 0).
bool registerScreenCaptureHotKey(HotKeyPort& port, uint32_t value);
// Moves from `held` to `wanted`. When `wanted` cannot be had, `held` is taken back, so the user
// keeps a working hot key; false then.
bool replaceScreenCaptureHotKey(HotKeyPort& port, uint32_t held, uint32_t wanted);

}  // namespace chat
