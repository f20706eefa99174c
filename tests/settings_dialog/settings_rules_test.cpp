#include "client/settings_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_hot_key_port.h"

namespace chat {
namespace {

TEST(SendKeyTest, ChoicesMakeTheStoredBitsAndReadBack) {
    struct Case {
        bool enterSends;
        bool altSSends;
        uint32_t sendKey;
    };
    const std::vector<Case> cases = {
        {true, true, 5},
        {false, false, 2},
        {true, false, 1},
        {false, true, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sendKeyFromChoices({c.enterSends, c.altSSends}), c.sendKey) << c.sendKey;
        const SendKeyChoices shown = sendKeyChoices(c.sendKey);
        EXPECT_EQ(shown.enterSends, c.enterSends) << c.sendKey;
        EXPECT_EQ(shown.altSSends, c.altSSends) << c.sendKey;
    }
}

TEST(ChatBoxSizeTest, FieldTextToCharacters) {
    struct Case {
        std::u16string text;
        std::optional<int32_t> chars;
    };
    const std::vector<Case> cases = {
        {u"0", std::nullopt},
        {u"", std::nullopt},
        {u"00000", std::nullopt},
        {u"1a", std::nullopt},
        {u"-1", std::nullopt},
        {u"3", 3072},
        {u"1", 1024},
        {u"007", 7168},
        {u"99999", 102398976},
        // Wider than the field, as a hand-edited file may give: the largest that the setting holds.
        {u"2097151", 2147482624},
        {u"2097152", std::nullopt},
        {u"99999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chatBoxCharsFromKilobytes(c.text), c.chars)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(ChatBoxSizeTest, FieldShowsWholeKilobytes) {
    EXPECT_EQ(chatBoxKilobytes(131072), 128);
    EXPECT_EQ(chatBoxKilobytes(3072), 3);
    EXPECT_EQ(chatBoxKilobytes(2047), 1);
}

TEST(NicknameFieldTest, KeepsElevenUnitsWithoutSplittingAPair) {
    EXPECT_EQ(cutNicknameField(u"一二三四五六七八九十壹贰"), u"一二三四五六七八九十壹");
    EXPECT_EQ(cutNicknameField(u"abcdefghij\U0001F600"), u"abcdefghij");
    EXPECT_EQ(cutNicknameField(u"短"), u"短");
    EXPECT_EQ(sexFromChoices(true, false), 'M');
    EXPECT_EQ(sexFromChoices(false, true), 'F');
    EXPECT_EQ(sexFromChoices(false, false), 'U');
}

// A user applies nickname edits at given times; a limited request that goes out starts the
// waiting time of its room, as the settings page does once the chat client sent it.
TEST(NicknameChangeLimiterTest, SecondRenameWithinAMinuteIsRefusedForPlainUsers) {
    struct Edit {
        uint64_t atMs;
        int32_t room;
        RoomNickname edited;
        NicknameVerdict verdict;
    };
    struct Case {
        const char* name;
        bool staff;
        std::vector<Edit> edits;
    };
    const RoomNickname start{u"老名字", 'M'};
    const std::vector<Case> cases = {
        {"plain user, same room",
         false,
         {{0, 5, {u"新名字", 'M'}, NicknameVerdict::Request},
          {30000, 5, {u"再改名", 'M'}, NicknameVerdict::TooFrequent},
          {59999, 5, {u"再改名", 'M'}, NicknameVerdict::TooFrequent},
          {60000, 5, {u"再改名", 'M'}, NicknameVerdict::Request}}},
        {"staff",
         true,
         {{0, 5, {u"新名字", 'M'}, NicknameVerdict::Request},
          {30000, 5, {u"再改名", 'M'}, NicknameVerdict::Request}}},
        {"sex alone",
         false,
         {{0, 5, {u"新名字", 'M'}, NicknameVerdict::Request},
          {30000, 5, {u"老名字", 'F'}, NicknameVerdict::Request}}},
        {"other room",
         false,
         {{0, 5, {u"新名字", 'M'}, NicknameVerdict::Request},
          {30000, 6, {u"新名字", 'M'}, NicknameVerdict::Request}}},
        {"nothing changed", false, {{0, 5, start, NicknameVerdict::Unchanged}}},
        {"empty, also for staff", true, {{0, 5, {u"", 'M'}, NicknameVerdict::Empty}}},
    };
    for (const Case& c : cases) {
        uint64_t now = 0;
        NicknameChangeLimiter limiter([&now] { return now; });
        for (const Edit& edit : c.edits) {
            now = edit.atMs;
            const NicknameJudgement judgement =
                limiter.judge(edit.room, start, edit.edited, c.staff);
            EXPECT_EQ(judgement.verdict, edit.verdict) << c.name << " at " << edit.atMs;
            if (judgement.limited) {
                limiter.remember(edit.room);
            }
        }
    }
}

TEST(NicknameChangeLimiterTest, OnlyRenamesOfPlainUsersStartAWaitingTime) {
    NicknameChangeLimiter limiter([] { return uint64_t{0}; });
    const RoomNickname current{u"甲", 'U'};
    EXPECT_TRUE(limiter.judge(1, current, {u"乙", 'U'}, false).limited);
    EXPECT_FALSE(limiter.judge(1, current, {u"乙", 'U'}, true).limited);
    EXPECT_FALSE(limiter.judge(1, current, {u"甲", 'F'}, false).limited);
}

TEST(ScreenCaptureHotKeyTest, ReplacingKeepsTheWorkingKeyWhenTheNewOneIsRefused) {
    struct Case {
        const char* name;
        uint32_t held;
        uint32_t wanted;
        bool granted;
        std::optional<uint32_t> heldAfter;
        std::vector<std::string> calls;
    };
    constexpr uint32_t kTaken = 0x0641;  // Ctrl+Alt+A, held by another program
    const std::vector<Case> cases = {
        {"free key", 0x0642, 0x0643, true, 0x0643, {"unregister", "register 1603"}},
        {"cleared", 0x0642, 0, true, std::nullopt, {"unregister"}},
        {"taken key",
         0x0642,
         kTaken,
         false,
         0x0642,
         {"unregister", "register 1601", "unregister", "register 1602"}},
        {"taken key, none before",
         0,
         kTaken,
         false,
         std::nullopt,
         {"unregister", "register 1601", "unregister"}},
    };
    for (const Case& c : cases) {
        fakes::FakeHotKeyPort port;
        port.refused = {kTaken};
        EXPECT_EQ(replaceScreenCaptureHotKey(port, c.held, c.wanted), c.granted) << c.name;
        EXPECT_EQ(port.held, c.heldAfter) << c.name;
        EXPECT_EQ(port.calls, c.calls) << c.name;
    }
}

TEST(ScreenCaptureHotKeyTest, ValueSplitsIntoKeyAndFlags) {
    const HotKeyChord chord = HotKeyChord::fromValue(0x0641);
    EXPECT_EQ(chord.virtualKey, 0x41);
    EXPECT_EQ(chord.flags, HotKeyFlag::kControl | HotKeyFlag::kAlt);
    EXPECT_EQ(chord.value(), 0x0641u);
    EXPECT_EQ(HotKeyChord::fromValue(0x12345).value(), 0x2345u);
}

}  // namespace
}  // namespace chat
