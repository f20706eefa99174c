#include "content/repeated_system_line.h"

namespace chat {

std::optional<std::u16string> RepeatedSystemLine::start(std::u16string text) {
    text_ = std::move(text);
    if (text_.empty()) {
        remaining_ = 0;
        return std::nullopt;
    }
    remaining_ = kTimesShown - 1;
    return text_;
}

std::optional<std::u16string> RepeatedSystemLine::tick() {
    if (remaining_ <= 0) {
        return std::nullopt;
    }
    --remaining_;
    return text_;
}

}  // namespace chat
