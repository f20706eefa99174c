#include "demo_bot.h"

namespace chatserver {

DemoBot::DemoBot(BotConfig config, uint32_t chatterId) : config_(std::move(config)) {
    record_.chatterId = chatterId;
    record_.account = config_.account;
    record_.nickname = config_.nickname;
    record_.reserved92 = 255;
    record_.sex = config_.sex;
    record_.reserved97 = 1;
    record_.ip = 0x0100007F;  // 127.0.0.1
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

}  // namespace chatserver
