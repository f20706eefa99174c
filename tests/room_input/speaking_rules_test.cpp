#include "client/speaking_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "admin/account_level.h"

namespace chat {
namespace {

using namespace AccountLevel;

const MessageShape kText{true, 0};
const MessageShape kEmpty{false, 0};
MessageShape pictures(size_t count, bool withText = false) {
    return {withText, count};
}

struct Step {
    uint32_t at;  // milliseconds after the bar was made
    MessageShape message;
    SendVerdict verdict;
    std::optional<Refusal> refusal = std::nullopt;
};

struct RulesCase {
    const char* name;
    uint32_t accountLevel = 0;
    uint32_t roomRoleBits = 0;
    std::function<void(RoomSettingBlock&)> settings = [](RoomSettingBlock&) {};
    std::vector<Step> steps;
    bool verifierAnswer = true;
    int verifierCalls = 0;
    uint32_t lastSendAfter = 0;  // milliseconds after the bar was made
    uint32_t start = 50'000;     // the clock when the bar is made
};

void PrintTo(const RulesCase& c, std::ostream* out) {
    *out << c.name;
}

class SpeakingRulesCases : public ::testing::TestWithParam<RulesCase> {};

TEST_P(SpeakingRulesCases, AppliesTheRulesInOrder) {
    const RulesCase& c = GetParam();
    uint32_t now = c.start;
    SpeakingRules rules(7, c.accountLevel, c.roomRoleBits, [&] { return now; });
    RoomSettingBlock block = rules.settings();
    c.settings(block);
    rules.applySettings(block);
    int verifierCalls = 0;
    const SpeakingRules::Verifier verify = [&] {
        ++verifierCalls;
        return c.verifierAnswer;
    };
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        now = c.start + step.at;
        const SendDecision decision = rules.check(step.message, verify);
        EXPECT_EQ(decision.verdict, step.verdict) << "step " << i;
        EXPECT_EQ(decision.refusal, step.refusal) << "step " << i;
    }
    EXPECT_EQ(verifierCalls, c.verifierCalls);
    EXPECT_EQ(rules.lastAcceptedSend(), c.start + c.lastSendAfter);
}

using enum SendVerdict;
using namespace speaking_text;

INSTANTIATE_TEST_SUITE_P(
    SpeakingRules, SpeakingRulesCases,
    ::testing::Values(
        RulesCase{.name = "first send right after entering is too fast",
                  .steps = {{500, kText, Refused, kTooFast}, {1000, kText, Send}},
                  .lastSendAfter = 1000},
        RulesCase{.name = "a refusal for speed does not move the last send",
                  .steps = {{1000, kText, Send},
                            {1500, kText, Refused, kTooFast},
                            {1999, kText, Refused, kTooFast},
                            {2000, kText, Send}},
                  .lastSendAfter = 2000},
        RulesCase{.name = "a picture refusal still counts for the interval",
                  .settings = [](RoomSettingBlock& b) { b.allowPictures = false; },
                  .steps = {{1000, pictures(1), Refused, kPicturesNotAllowed},
                            {1500, kText, Refused, kTooFast},
                            {2000, kText, Send}},
                  .lastSendAfter = 2000},
        RulesCase{.name = "one picture and one emoticon exceed one picture per message",
                  .steps = {{1000, pictures(2, true), Refused, kTooManyPictures},
                            {2000, pictures(1, true), Send}},
                  .lastSendAfter = 2000},
        RulesCase{.name = "pictures not allowed is told before their number",
                  .settings = [](RoomSettingBlock& b) { b.allowPictures = false; },
                  .steps = {{1000, pictures(3), Refused, kPicturesNotAllowed}},
                  .lastSendAfter = 1000},
        RulesCase{.name = "an empty box sends nothing and leaves the time",
                  .steps = {{5000, kEmpty, Nothing}},
                  .lastSendAfter = 0},
        RulesCase{.name = "interval 0 lets every message through",
                  .settings = [](RoomSettingBlock& b) { b.speechIntervalMs = 0; },
                  .steps = {{0, kText, Send}, {0, kText, Send}},
                  .lastSendAfter = 0},
        RulesCase{.name = "the interval is measured across the clock's wrap-around",
                  .steps = {{999, kText, Refused, kTooFast}, {1000, kText, Send}},
                  .lastSendAfter = 1000,
                  .start = 0xFFFFFE00},
        RulesCase{.name = "customer service skips verification, interval and pictures",
                  .accountLevel = kCustomerService,
                  .settings =
                      [](RoomSettingBlock& b) {
                          b.firstSpeechVerification = true;
                          b.allowPictures = false;
                      },
                  .steps = {{0, pictures(3), Send}, {10, kText, Send}},
                  .lastSendAfter = 0},
        RulesCase{.name = "system administrator, owner and room administrator are staff",
                  .accountLevel = kSystemAdmin,
                  .roomRoleBits = kRoomOwner | kRoomAdmin,
                  .steps = {{0, pictures(2), Send}},
                  .lastSendAfter = 0},
        RulesCase{.name = "instructor and VIP are held to the rules",
                  .accountLevel = kInstructor | kVip,
                  .steps = {{10, kText, Refused, kTooFast}},
                  .lastSendAfter = 0},
        RulesCase{.name = "a declined verification stops and asks again next time",
                  .settings = [](RoomSettingBlock& b) { b.firstSpeechVerification = true; },
                  .steps = {{1000, kText, NotVerified}, {3000, kText, NotVerified}},
                  .verifierAnswer = false,
                  .verifierCalls = 2,
                  .lastSendAfter = 0},
        RulesCase{
            .name = "a passed verification is asked once, then the interval applies",
            .settings = [](RoomSettingBlock& b) { b.firstSpeechVerification = true; },
            .steps = {{10, kText, Refused, kTooFast}, {1000, kText, Send}, {3000, kText, Send}},
            .verifierCalls = 1,
            .lastSendAfter = 3000}));

TEST(SpeakingRules, StartsWithTheDefaultBlockOfItsRoom) {
    const SpeakingRules rules(42, 0, 0, [] { return 9u; });
    const RoomSettingBlock& b = rules.settings();
    EXPECT_EQ(b.blockSize, 27u);
    EXPECT_EQ(b.roomId, 42u);
    EXPECT_EQ(b.maxPeople, 200u);
    EXPECT_EQ(b.speechIntervalMs, 1000u);
    EXPECT_EQ(b.maxCharacters, 256u);
    EXPECT_EQ(b.maxPictures, 1u);
    EXPECT_TRUE(b.allowCustomTextStyle);
    EXPECT_TRUE(b.allowPictures);
    EXPECT_FALSE(b.firstSpeechVerification);
    EXPECT_TRUE(rules.firstSpeechPending());
    EXPECT_EQ(rules.lastAcceptedSend(), 9u);
}

TEST(SpeakingRules, FirstSpeechIsDoneAfterThePassingSendWhateverTheRoomAsks) {
    uint32_t now = 0;
    SpeakingRules rules(3, 0, 0, [&] { return now; });
    now = 10;
    rules.check(kText, {});  // too fast, but past the first-speech step
    EXPECT_FALSE(rules.firstSpeechPending());
    // Verification turned on later is not asked for on this page any more.
    RoomSettingBlock block = rules.settings();
    block.firstSpeechVerification = true;
    rules.applySettings(block);
    now = 5000;
    EXPECT_EQ(rules.check(kText, [] { return false; }).verdict, SendVerdict::Send);
}

struct ButtonsCase {
    const char* name;
    int32_t roomId;
    bool privateRoom;
    uint32_t attributes;
    uint32_t accountLevel;
    uint32_t roomRoleBits;
    BarButtons expected;
};

void PrintTo(const ButtonsCase& c, std::ostream* out) {
    *out << c.name;
}

class BarButtonsCases : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(BarButtonsCases, ShowsTheButtonsTheRoomAndRolesAllow) {
    const ButtonsCase& c = GetParam();
    EXPECT_EQ(barButtonsFor(c.roomId, c.privateRoom, c.attributes,
                            staffFlagsOf(c.accountLevel, c.roomRoleBits)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    SpeakingRules, BarButtonsCases,
    ::testing::Values(
        // name, room, private, attributes, account, room bits, {picture, screenshot, menu}
        ButtonsCase{"ordinary user, ordinary room", 9, false, 0, 0, 0, {false, false, false}},
        ButtonsCase{"ordinary user, picture room", 9, false, 0x08, 0, 0, {true, true, false}},
        ButtonsCase{
            "other attribute bits", 9, false, 0xF7, kVip | kInstructor, 0, {false, false, false}},
        ButtonsCase{"rooms 1 and 2 allow screenshots", 1, false, 0, 0, 0, {false, true, false}},
        ButtonsCase{"room 2", 2, false, 0, 0, 0, {false, true, false}},
        ButtonsCase{"private room", 500, true, 0, 0, 0, {true, true, false}},
        ButtonsCase{"customer service has no room menu",
                    9,
                    false,
                    0,
                    kCustomerService,
                    0,
                    {true, true, false}},
        ButtonsCase{"system administrator", 9, false, 0, kSystemAdmin, 0, {true, true, true}},
        ButtonsCase{"room owner", 9, false, 0, 0, kRoomOwner, {true, true, true}},
        ButtonsCase{"room administrator", 9, false, 0, 0, kRoomAdmin, {true, true, true}},
        ButtonsCase{"owner bits in the account word do not count",
                    9,
                    false,
                    0,
                    kRoomOwner | kRoomAdmin,
                    0,
                    {false, false, false}},
        ButtonsCase{"no room menu in a private room",
                    500,
                    true,
                    0,
                    kSystemAdmin,
                    kRoomOwner,
                    {true, true, false}}));

}  // namespace
}  // namespace chat
