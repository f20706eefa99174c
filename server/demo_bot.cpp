#include "demo_bot.h"

namespace chatserver {

DemoBot::DemoBot(BotConfig config, uint32_t chatterId, Clock::time_point now)
    : config_(std::move(config)) {
    record_.chatterId = chatterId;
    record_.account = config_.account;
    record_.nickname = config_.nickname;
    record_.reserved92 = 255;
    record_.sex = config_.sex;
    record_.roleFlags = config_.level;
    record_.reserved97 = 1;
    record_.ip = 0x0100007F;  // 127.0.0.1
    restartLines(now);
}

std::optional<std::u16string> DemoBot::greet(const std::u16string& newcomer) const {
    if (config_.greeting.empty()) {
        return std::nullopt;
    }
    std::u16string text = config_.greeting;
    const std::u16string placeholder = u"{name}";
    for (size_t at = text.find(placeholder); at != std::u16string::npos;
         at = text.find(placeholder, at + newcomer.size())) {
        text.replace(at, placeholder.size(), newcomer);
    }
    return text;
}

std::optional<std::u16string> DemoBot::answer(const std::u16string& text,
                                              bool whisperedToMe) const {
    for (const BotRule& rule : config_.rules) {
        if (!rule.keyword.empty() && text.find(rule.keyword) != std::u16string::npos) {
            return rule.reply;
        }
    }
    if (whisperedToMe && !config_.defaultReply.empty()) {
        return config_.defaultReply;
    }
    return std::nullopt;
}

void DemoBot::restartLines(Clock::time_point now) {
    nextLine_ = 0;
    lineDue_ = now + std::chrono::seconds(config_.firstLineSeconds);
}

std::optional<DemoBot::Clock::time_point> DemoBot::nextLineDue() const {
    if (config_.lines.empty())
        return std::nullopt;
    return lineDue_;
}

const BotLine* DemoBot::takeDueLine(Clock::time_point now) {
    if (config_.lines.empty() || now < lineDue_)
        return nullptr;
    const BotLine* line = &config_.lines[nextLine_];
    nextLine_ = (nextLine_ + 1) % config_.lines.size();
    const auto interval = std::chrono::seconds(config_.lineIntervalSeconds);
    lineDue_ += interval;
    if (lineDue_ <= now)
        lineDue_ = now + interval;
    return line;
}

}  // namespace chatserver
