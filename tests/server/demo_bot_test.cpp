#include "demo_bot.h"

#include <gtest/gtest.h>

namespace {

using Clock = chatserver::DemoBot::Clock;
const Clock::time_point kStart{std::chrono::hours(1)};

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
    const chatserver::DemoBot bot(botConfig(), 7, kStart);
    EXPECT_EQ(bot.record().chatterId, 7u);
    EXPECT_EQ(bot.greet(u"{name}甲"), u"欢迎{name}甲！{name}甲好");
    auto silent = botConfig();
    silent.greeting.clear();
    EXPECT_FALSE(chatserver::DemoBot(silent, 8, kStart).greet(u"甲"));
}

TEST(DemoBot, AnswersByRuleAndWhispersGetTheDefault) {
    const chatserver::DemoBot bot(botConfig(), 7, kStart);
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

namespace {

chatserver::BotLine lineSaying(const std::u16string& text) {
    chatserver::BotLine line;
    line.pieces = {text};
    return line;
}

// Which line each call gives: an index into the configured lines, or -1 for none.
TEST(DemoBot, SaysItsLinesInTurnOnTime) {
    auto config = botConfig();
    config.lines = {lineSaying(u"一"), lineSaying(u"二"), lineSaying(u"三")};
    config.firstLineSeconds = 3;
    config.lineIntervalSeconds = 10;
    chatserver::DemoBot bot(config, 7, kStart);
    auto lineAt = [&](int seconds) {
        const chatserver::BotLine* line = bot.takeDueLine(kStart + std::chrono::seconds(seconds));
        return line ? static_cast<int>(line - bot.config().lines.data()) : -1;
    };
    EXPECT_EQ(bot.nextLineDue(), kStart + std::chrono::seconds(3));
    struct Step {
        int atSeconds;
        int line;
    };
    const std::vector<Step> steps = {
        {2, -1},  {3, 0}, {3, -1}, {12, -1}, {13, 1}, {23, 2}, {33, 0},  // round and round
        {80, 1},   // late: one line, not a burst of the missed ones ...
        {81, -1},  // ... and the next an interval after the late one
        {90, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.atSeconds);
        EXPECT_EQ(lineAt(step.atSeconds), step.line);
    }
    // A newcomer starts the conversation again from the first line.
    bot.restartLines(kStart + std::chrono::seconds(95));
    EXPECT_EQ(lineAt(97), -1);
    EXPECT_EQ(lineAt(98), 0);

    const chatserver::DemoBot silent(botConfig(), 8, kStart);
    EXPECT_FALSE(silent.nextLineDue());
}

}  // namespace
