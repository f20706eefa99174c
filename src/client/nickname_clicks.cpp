#include "client/nickname_clicks.h"

#include "admin/account_level.h"

namespace chat {

std::u16string greetingText(std::u16string_view nickname) {
    return std::u16string(nickname) + u" 您好:";
}

bool NicknameClicks::greets(uint32_t accountLevel) {
    return (accountLevel & (AccountLevel::kCustomerService | AccountLevel::kSystemAdmin |
                            AccountLevel::kInstructor)) != 0;
}

bool NicknameClicks::secondClick(uint32_t chatterId, uint64_t nowMs, uint32_t doubleClickMs) {
    const bool second =
        lastChatter_ == chatterId && nowMs - lastMs_ < 4 * static_cast<uint64_t>(doubleClickMs);
    if (second) {
        lastChatter_.reset();
    } else {
        lastChatter_ = chatterId;
        lastMs_ = nowMs;
    }
    return second;
}

}  // namespace chat
