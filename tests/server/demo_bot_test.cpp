#include "demo_bot.h"

#include <gtest/gtest.h>

namespace {

chatserver::BotConfig botConfig() {
    chatserver::BotConfig config;
    config.account = "bot";
    config.nickname = u"小墨";
    config.roomId = 2;
    config.greeting = u"欢迎{name}！{name}好";
    config.rules = {{u"帮助", u"帮助内容"}, {u"充值", u"充值说明"}};
    config.defaultReply = u"不懂";
    return config;
}

TEST(DemoBot, GreetsByName) {
    const chatserver::DemoBot bot(botConfig(), 7);
    EXPECT_EQ(bot.record().chatterId, 7u);
    EXPECT_EQ(bot.greet(u"{name}甲"), u"欢迎{name}甲！{name}甲好");
    auto silent = botConfig();
    silent.greeting.clear();
    EXPECT_FALSE(chatserver::DemoBot(silent, 8).greet(u"甲"));
}

TEST(DemoBot, AnswersByRuleAndWhispersGetTheDefault) {
    const chatserver::DemoBot bot(botConfig(), 7);
    struct Case {
        std::u16string text;
        bool whisper;
        std::optional<std::u16string> answer;
    };
    const std::vector<Case> cases = {
        {u"请问怎么充值？", false, u"充值说明"},
        {u"帮助 充值", false, u"帮助内容"},  // the first rule wins
        {u"今天天气不错", false, std::nullopt},
        {u"今天天气不错", true, u"不懂"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bot.answer(c.text, c.whisper), c.answer);
    }
}

}  // namespace
