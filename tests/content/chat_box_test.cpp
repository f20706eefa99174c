#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "admin/account_level.h"
#include "content/chat_box_layout.h"
#include "content/chat_box_ledger.h"
#include "content/history_layout.h"
#include "content/link_detection.h"
#include "content/repeated_system_line.h"

namespace chat {
namespace {

// What one recording asked the box to do, copied out of the ledger.
struct Trim {
    std::vector<TextRange> removals;
    TrimResult result;
};

// Records messages of the given lengths back to back, as a box would show them.
std::vector<Trim> recordAll(ChatBoxLedger& ledger, const std::vector<int32_t>& lengths,
                            int32_t maxChars) {
    std::vector<Trim> trims;
    for (const int32_t length : lengths) {
        const int32_t start = ledger.empty() ? 0 : ledger.entry(ledger.size() - 1).end;
        TrimResult result = ledger.record({1, start, start + length, 0}, maxChars);
        std::vector<TextRange> removals(result.removals.begin(), result.removals.end());
        result.removals = {};  // refers into the ledger
        trims.push_back({std::move(removals), result});
    }
    return trims;
}

TEST(ChatBoxLedger, TrimsWholeMessagesFromTheTop) {
    ChatBoxLedger ledger;
    const auto results = recordAll(ledger, {400, 400, 300}, 1024);
    EXPECT_TRUE(results[0].removals.empty());
    EXPECT_TRUE(results[1].removals.empty());
    EXPECT_EQ(results[2].removals, (std::vector<TextRange>{{0, 400}}));
    EXPECT_EQ(results[2].result.removedLength, 400);
    EXPECT_EQ(ledger.characterCount(), 700);
    ASSERT_EQ(ledger.size(), 2u);
    EXPECT_EQ(ledger.entry(0), (ChatBoxEntry{1, 0, 400, 0}));
    EXPECT_EQ(ledger.entry(1), (ChatBoxEntry{1, 400, 700, 0}));

    // The selection moves back with the text; what was removed collapses to the top.
    EXPECT_EQ(results[2].result.shift({500, 650}), (TextRange{100, 250}));
    EXPECT_EQ(results[2].result.shift({100, 450}), (TextRange{0, 50}));
}

TEST(ChatBoxLedger, SeveralMessagesMayGoAtOnce) {
    ChatBoxLedger ledger;
    const auto results = recordAll(ledger, {100, 100, 100, 900}, 1024);
    EXPECT_EQ(results[3].removals, (std::vector<TextRange>{{0, 100}, {0, 100}}));
    EXPECT_EQ(ledger.characterCount(), 1000);
    EXPECT_EQ(ledger.entry(0).start, 0);
    // A message that alone reaches the limit empties the box of everything, itself included.
    const auto big = recordAll(ledger, {2000}, 1024);
    EXPECT_EQ(big[0].removals, (std::vector<TextRange>{{0, 100}, {0, 900}, {0, 2000}}));
    EXPECT_TRUE(ledger.empty());
    EXPECT_EQ(ledger.characterCount(), 0);
}

TEST(ChatBoxLedger, ClearStartsTheCountAgain) {
    ChatBoxLedger ledger;
    recordAll(ledger, {600, 300}, 1024);
    ledger.clear();
    EXPECT_EQ(ledger.characterCount(), 0);
    const auto results = recordAll(ledger, {600, 300}, 1024);
    EXPECT_TRUE(results[1].removals.empty());
    EXPECT_EQ(ledger.characterCount(), 900);
    EXPECT_EQ(ledger.entry(1), (ChatBoxEntry{1, 600, 900, 0}));
}

TEST(ChatBoxLedger, NicknameLinksLeadToTheirSpeaker) {
    ChatBoxLedger ledger;
    ledger.record({7, 0, 30, 1}, 131072);   // with a role icon: the nickname starts at 1
    ledger.record({0, 30, 50, 0}, 131072);  // a system line
    ledger.record({8, 50, 90, 0}, 131072);
    EXPECT_EQ(ledger.messageWithNicknameAt(1, 5)->speakerId, 7);
    EXPECT_EQ(ledger.messageWithNicknameAt(50, 55)->speakerId, 8);
    EXPECT_EQ(ledger.messageWithNicknameAt(0, 5), std::nullopt);    // the icon, not the nickname
    EXPECT_EQ(ledger.messageWithNicknameAt(60, 70), std::nullopt);  // an address in a body
    EXPECT_EQ(ledger.messageWithNicknameAt(30, 35)->speakerId,
              0);  // the caller treats it as an address
}

TEST(RepeatedSystemLine, ShowsThreeTimesAndRestartsCleanly) {
    RepeatedSystemLine line;
    EXPECT_EQ(line.start(u"维护通知"), u"维护通知");
    EXPECT_EQ(line.tick(), u"维护通知");
    EXPECT_EQ(line.start(u"新通知"), u"新通知");  // the running repetition ends
    EXPECT_EQ(line.tick(), u"新通知");
    EXPECT_EQ(line.tick(), u"新通知");
    EXPECT_FALSE(line.running());
    EXPECT_EQ(line.tick(), std::nullopt);
    EXPECT_EQ(line.start(u""), std::nullopt);
    EXPECT_FALSE(line.running());
}

TEST(LinkDetection, SplitsPlainTextAndLinks) {
    struct Case {
        std::u16string text;
        std::vector<LinkedText> pieces;
    };
    const std::vector<Case> cases = {
        {u"no links here", {{u"no links here", false}}},
        {u"see http://a.b/c?d=1&e; now",
         {{u"see ", false}, {u"http://a.b/c?d=1&e;", true}, {u" now", false}}},
        {u"http://例子", {{u"http://", true}, {u"例子", false}}},
        {u"www.morvex.com官网", {{u"www.morvex.com", true}, {u"官网", false}}},
        {u"a https://x.y b ftp://z",
         {{u"a ", false}, {u"https://x.y", true}, {u" b ", false}, {u"ftp://z", true}}},
        {u"mail mailto://me@x.cn", {{u"mail ", false}, {u"mailto://me@x.cn", true}}},
        {u"http://www.a.com", {{u"http://www.a.com", true}}},  // the earliest prefix decides
        {u"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitLinks(c.text), c.pieces) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(ChatMessageLayout, HeaderAndBody) {
    ChatMessageLayoutInput input;
    input.speakerRoles = AccountLevel::kCustomerService;
    input.speakerNickname = u"客服";
    input.sendTime = {2026, 12, 5, 11, 9, 5, 7, 0};
    input.targetId = 3;
    input.localChatterId = 3;
    input.details = SpeakerDetails{"cs01", {192, 168, 0, 7}, {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0xEF}};
    input.useOwnStyle = true;
    input.style.colour = rgb(255, 0, 0);
    input.sections = {DrawTextSection{u"看 www.a.cn"}, DrawEmoteSection{7},
                      DrawPictureSection{{1, 2}}, DrawHiddenPicture{}};

    const ChatMessageLayout layout = layoutChatMessage(input);
    TextStyle header = nameLineStyle();
    header.colour = rgb(255, 128, 0);
    const ChatBoxRuns expected = {
        BitmapRun{kCustomerServiceIconBitmap, 0},
        ParagraphRun{0, 0},
        TextRun{u"客服", header, true},
        TextRun{u" 09:05:07 <Morvex客服> (对您悄悄说) cs01 192.168.0.7 001A2B3C4DEF\r\n", header,
                false},
        ParagraphRun{180, 0},
        TextRun{u"看 ", input.style, false},
        TextRun{u"www.a.cn", input.style, true},
        EmoteRun{7},
        PictureRun{{1, 2}, 1},
        BitmapRun{kHiddenPictureBitmap, 1},
        TextRun{u"\r\n", input.style, false},
    };
    EXPECT_EQ(layout.iconFlag, 1);
    EXPECT_EQ(layout.runs, expected);
}

TEST(ChatMessageLayout, RolesWhispersAndStyles) {
    struct Case {
        uint32_t roles;
        int32_t target;
        std::u16string header;
        uint32_t colour;
        int32_t iconFlag;
    };
    const std::vector<Case> cases = {
        {0, 0, u" 13:05:09\r\n", 0, 0},
        {AccountLevel::kVip, 4, u" 13:05:09(对小王悄悄说)\r\n", rgb(255, 0, 0), 0},
        {AccountLevel::kInstructor | AccountLevel::kVip, 0, u" 13:05:09 <Morvex指导员> \r\n", rgb(128, 0, 128), 1},
        {AccountLevel::kRoomOwner, 0, u" 13:05:09 <房主> \r\n", rgb(0, 128, 0), 1},
        {AccountLevel::kRoomAdmin, 0, u" 13:05:09 <房间管理员> \r\n", rgb(0, 128, 0), 1},
        {AccountLevel::kSystemAdmin, 0, u" 13:05:09\r\n", rgb(0, 128, 128), 0},
    };
    for (const Case& c : cases) {
        ChatMessageLayoutInput input;
        input.speakerRoles = c.roles;
        input.sendTime = {2026, 1, 1, 1, 13, 5, 9, 0};
        input.targetId = c.target;
        input.localChatterId = 3;
        input.targetNickname = u"小王";
        input.style.colour = rgb(0, 0, 255);
        input.useOwnStyle = bodyUsesOwnStyle(false, c.roles);
        input.sections = {DrawTextSection{u"x"}};
        const ChatMessageLayout layout = layoutChatMessage(input);
        EXPECT_EQ(layout.iconFlag, c.iconFlag) << c.roles;
        const size_t headerAt = c.iconFlag + 2;
        const auto& header = std::get<TextRun>(layout.runs.at(headerAt));
        EXPECT_EQ(header.text, c.header) << c.roles;
        EXPECT_EQ(header.style.colour, c.colour) << c.roles;
        const auto& body = std::get<TextRun>(layout.runs.at(headerAt + 2));
        const bool ownStyle = (c.roles & 0x66) != 0;
        EXPECT_EQ(body.style, ownStyle ? input.style : defaultTextStyle()) << c.roles;
    }
    EXPECT_TRUE(bodyUsesOwnStyle(true, 0));
}

TEST(ChatBoxLayout, SystemLinesAndEmoticonFiles) {
    EXPECT_TRUE(layoutSystemLine(u"").empty());
    EXPECT_EQ(layoutSystemLine(u"房间已关闭"),
              (ChatBoxRuns{ParagraphRun{0, 900}, BitmapRun{kSystemLineBitmap, 0},
                           TextRun{u"系统消息：房间已关闭\r\n", systemLineStyle(), false}}));
    EXPECT_TRUE(isReservedStyle(systemLineStyle()));
    EXPECT_EQ(emoticonFileName(7), "0007.gif");
    EXPECT_EQ(emoticonFileName(12345), "12345.gif");
}

TEST(ChatBoxLayout, PictureFilesTheBoxDraws) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("chat_box_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "0007.gif", std::ios::binary) << "GIF89a";
    std::ofstream(folder / "empty.gif", std::ios::binary).flush();
    EXPECT_EQ(readChatBoxPictureFile(folder / "0007.gif"),
              (std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a'}));
    EXPECT_EQ(readChatBoxPictureFile(folder / "empty.gif"), std::nullopt);
    EXPECT_EQ(readChatBoxPictureFile(folder / "missing.gif"), std::nullopt);
    std::filesystem::resize_file(folder / "empty.gif", 0x4000000);  // sparse: 64 MiB is too large
    EXPECT_EQ(readChatBoxPictureFile(folder / "empty.gif"), std::nullopt);
    std::filesystem::remove_all(folder);
}

std::vector<uint8_t> sectionBytes(uint32_t size, uint8_t kind,
                                  const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes(8 + payload.size(), 0);
    bytes[0] = uint8_t(size);
    bytes[4] = kind;
    std::copy(payload.begin(), payload.end(), bytes.begin() + 8);
    return bytes;
}

TEST(HistoryLayout, StoredMessage) {
    std::vector<uint8_t> content;
    for (const auto& s :
         {sectionBytes(12, 2, {'h', 0, 'i', 0}), sectionBytes(16, 3, {1, 0, 0, 0, 0, 0, 0, 0}),
          sectionBytes(12, 3, {5, 0, 0, 0}), sectionBytes(10, 4, {9, 9}),
          sectionBytes(12, 5, {'a', 0, 0, 0}), sectionBytes(9, 42, {0}),
          sectionBytes(11, 1, {0xC4, 0xE3, 0}), sectionBytes(0, 2, {}),
          sectionBytes(12, 2, {'n', 0, 'o', 0})}) {
        content.insert(content.end(), s.begin(), s.end());
    }
    StoredMessage message{{2026, 3, 0, 4, 5, 6, 7, 0}, "alice", u"爱丽丝", TextStyle{}, content};
    message.style.colour = rgb(0, 0, 255);
    const TextStyle& body = message.style;
    EXPECT_EQ(
        layoutStoredMessage(3, message),
        (ChatBoxRuns{TextRun{u"(3) 2026-03-04 05:06:07  爱丽丝:\r", nameLineStyle(), false},
                     TextRun{u"hi", body, false}, TextRun{u"<表情-1>", body, false},
                     TextRun{u"<表情5>", body, false}, PictureRun{{9, 9}, 0}, PictureFileRun{u"a"},
                     TextRun{u"你", body, false}, TextRun{u"\r\n", body, false}}));
}

TEST(HistoryLayout, PagesOfTwenty) {
    std::vector<StoredMessage> messages(45);
    const auto numbersOn = [&](int32_t page) {
        std::vector<std::u16string> headers;
        for (const ChatBoxRun& run : layoutHistoryPage(messages, page)) {
            const auto& text = std::get<TextRun>(run).text;
            if (text.starts_with(u"(")) {
                headers.push_back(text.substr(0, text.find(u')') + 1));
            }
        }
        return headers;
    };
    EXPECT_EQ(numbersOn(1).size(), 20u);
    EXPECT_EQ(numbersOn(1).front(), u"(1)");
    EXPECT_EQ(numbersOn(2).front(), u"(21)");
    EXPECT_EQ(numbersOn(3),
              (std::vector<std::u16string>{u"(41)", u"(42)", u"(43)", u"(44)", u"(45)"}));
    EXPECT_TRUE(numbersOn(4).empty());
    EXPECT_TRUE(numbersOn(0).empty());
}

}  // namespace
}  // namespace chat
