#pragma once
// What a click on a nickname in a room's chat box does. Customer service, system administrators
// and instructors greet a chatter by clicking the nickname a second time soon after the first.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace chat {

// "%s 您好:": the greeting that the input box gets, followed by a line break.
std::u16string greetingText(std::u16string_view nickname);

// Remembers the last nickname click of a room page.
class NicknameClicks {
  public:
    // The account roles that greet: customer service, system administrator, instructor.
    static bool greets(uint32_t accountLevel);

    // Records a click on `chatterId` at `nowMs`; true when it is the second click on the same
    // chatter within four double-click times of the first (the pair then starts again).
    bool secondClick(uint32_t chatterId, uint64_t nowMs, uint32_t doubleClickMs);

  private:
    std::optional<uint32_t> lastChatter_;
    uint64_t lastMs_ = 0;
};

}  // namespace chat
