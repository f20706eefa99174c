#include "storage/user_config.h"

#include <gtest/gtest.h>

#include "storage/quick_reply_list.h"
#include "storage/temp_folder.h"

namespace chat {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

class FakeFonts : public SystemFontSource {
  public:
    std::optional<SystemFont> iconTitle =
        SystemFont{-16, 700, true, false, false, 134, u"微软雅黑"};
    std::optional<SystemFont> iconTitleFont() const override { return iconTitle; }
    SystemFont stockSystemFont() const override {
        return {-12, 400, false, true, false, 0, u"System"};
    }
    int32_t verticalDpi() const override { return 96; }
};

class UserConfigTest : public ::testing::Test {
  protected:
    // The settings folder does not exist before the first start.
    std::filesystem::path settings() const { return root.path() / "Palvern"; }
    void store(const std::string& ini) {
        std::filesystem::create_directories(settings());
        writeFile(settings() / "config.ini", ini);
    }
    std::string stored() const { return readFile(settings() / "config.ini"); }

    TempFolder root;
    FakeFonts fonts;
};

TEST_F(UserConfigTest, FirstStartUsesTheDefaults) {
    UserConfig config(settings(), fonts);
    EXPECT_TRUE(std::filesystem::is_directory(settings()));
    EXPECT_EQ(config.filePath(), settings() / "config.ini");
    const TextStyle& style = config.myTextStyle();
    EXPECT_EQ(style.colour, 0u);
    EXPECT_EQ(style.face, u"微软雅黑");
    EXPECT_EQ(style.size, 12);  // 16 px at 96 dpi
    EXPECT_EQ(style.bold, 1);
    EXPECT_EQ(style.italic, 1);
    EXPECT_EQ(config.sendKey(), 6u);
    EXPECT_EQ(config.screenCaptureHotKey(), 0u);
    EXPECT_EQ(config.maxChatBoxChars(), 131072);
    EXPECT_TRUE(config.allowShowPictures());
    EXPECT_TRUE(config.acceptPrivateMessages());
    EXPECT_TRUE(config.blackList().empty());
}

TEST_F(UserConfigTest, NoSettingsFolder) {
    try {
        UserConfig config("", fonts);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "取配置文件夹失败！");
    }
}

TEST_F(UserConfigTest, StockFontWhenThereIsNoIconTitleFont) {
    fonts.iconTitle.reset();
    UserConfig config(settings(), fonts);
    EXPECT_EQ(config.myTextStyle().face, u"System");
    EXPECT_EQ(config.myTextStyle().size, 9);  // 12 px = 9 pt, inside the range
    EXPECT_EQ(config.myTextStyle().underline, 1);
    EXPECT_EQ(config.myTextStyle().charset, 0);
}

TEST_F(UserConfigTest, TextStyleReadingRules) {
    struct Case {
        std::string section;
        uint32_t colour;
        int32_t size;
        uint8_t bold, italic, underline, strikeout, charset;
        std::u16string face;
    };
    const std::vector<Case> cases = {
        {"size=40\ncolor=255", 255, 16, 1, 1, 0, 0, 134, u"微软雅黑"},
        {"size=3", 0, 9, 1, 1, 0, 0, 134, u"微软雅黑"},
        {"color=16777215", 0, 12, 1, 1, 0, 0, 134, u"微软雅黑"},         // white
        {"color=65535", 0, 12, 1, 1, 0, 0, 134, u"微软雅黑"},            // yellow
        {"color=16744576\nsize=9", 0, 9, 1, 1, 0, 0, 134, u"微软雅黑"},  // reserved grey-blue
        {"color=16746624\nsize=9", 16746624, 9, 1, 1, 0, 0, 134, u"微软雅黑"},  // green 136
        {"style=12\ncharset=390", 0, 12, 0, 0, 1, 1, 134, u"微软雅黑"},         // low byte of 390
        {"style=0\nface=" + std::string(40, 'f'), 0, 12, 0, 0, 0, 0, 134, std::u16string(31, u'f')},
    };
    for (const Case& c : cases) {
        store("[chat_text_style]\n" + c.section + "\n");
        UserConfig config(settings(), fonts);
        const TextStyle& s = config.myTextStyle();
        EXPECT_EQ(s.colour, c.colour) << c.section;
        EXPECT_EQ(s.size, c.size) << c.section;
        EXPECT_EQ(s.bold, c.bold) << c.section;
        EXPECT_EQ(s.italic, c.italic) << c.section;
        EXPECT_EQ(s.underline, c.underline) << c.section;
        EXPECT_EQ(s.strikeout, c.strikeout) << c.section;
        EXPECT_EQ(s.charset, c.charset) << c.section;
        EXPECT_EQ(s.face, c.face) << c.section;
    }
}

TEST_F(UserConfigTest, MiscReadingRules) {
    struct Case {
        std::string misc;
        uint32_t sendKey;
        int32_t maxChars;
        bool pictures, whispers;
    };
    const std::vector<Case> cases = {
        {"send_key=0", 2, 131072, true, true},
        {"send_key=3", 2, 131072, true, true},
        {"send_key=5", 5, 131072, true, true},
        {"send_key=7", 6, 131072, true, true},
        {"send_key=4", 4, 131072, true, true},
        {"max_chat_box_chars=100", 6, 1024, true, true},
        {"max_chat_box_chars=-5", 6, 1024, true, true},
        {"max_chat_box_chars=5000", 6, 5000, true, true},
        {"allow_show_pic=0\naccept_private_msg=7", 6, 131072, false, true},
        {"allow_show_pic=x\naccept_private_msg=0", 6, 131072, false, false},
    };
    for (const Case& c : cases) {
        store("[misc]\n" + c.misc + "\n");
        UserConfig config(settings(), fonts);
        EXPECT_EQ(config.sendKey(), c.sendKey) << c.misc;
        EXPECT_EQ(config.maxChatBoxChars(), c.maxChars) << c.misc;
        EXPECT_EQ(config.allowShowPictures(), c.pictures) << c.misc;
        EXPECT_EQ(config.acceptPrivateMessages(), c.whispers) << c.misc;
    }
}

TEST_F(UserConfigTest, SettersWriteAtOnce) {
    {
        UserConfig config(settings(), fonts);
        TextStyle style;
        style.colour = 255;
        style.size = 14;
        style.bold = 5;  // stored normalised
        style.strikeout = 1;
        style.face = u"黑体";
        config.setMyTextStyle(style);
        EXPECT_EQ(config.myTextStyle().bold, 1);
        config.setSendKey(5);
        config.setScreenCaptureHotKey(0x241);
        config.setMaxChatBoxChars(10);
        config.setAllowShowPictures(false);
        config.setAcceptPrivateMessages(false);
        EXPECT_EQ(config.maxChatBoxChars(), 1024);
        EXPECT_EQ(stored(),
                  "[chat_text_style]\r\ncolor=255\r\nsize=14\r\ncharset=134\r\nstyle=9\r\n"
                  "face=黑体\r\n[misc]\r\nsend_key=5\r\nscreen_capture_hot_key=577\r\n"
                  "max_chat_box_chars=1024\r\nallow_show_pic=0\r\naccept_private_msg=0\r\n");
    }
    UserConfig again(settings(), fonts);
    EXPECT_EQ(again.myTextStyle().face, u"黑体");
    EXPECT_EQ(again.myTextStyle().strikeout, 1);
    EXPECT_EQ(again.sendKey(), 5u);
    EXPECT_EQ(again.screenCaptureHotKey(), 577u);
    EXPECT_FALSE(again.allowShowPictures());
}

TEST_F(UserConfigTest, UnchangedSendKeyIsNotWritten) {
    UserConfig config(settings(), fonts);
    config.setSendKey(6);
    config.setScreenCaptureHotKey(0);
    EXPECT_FALSE(std::filesystem::exists(config.filePath()));
}

TEST_F(UserConfigTest, BlackListIsTrimmedAndWrittenWhenItChanges) {
    store("[black_list]\n  alice  =1\n\x01\x02=1\nbob=1\nBOB=1\n");
    UserConfig config(settings(), fonts);
    EXPECT_EQ(config.blackList(), (std::set<std::string>{"BOB", "alice", "bob"}));
    EXPECT_TRUE(config.isBlackListed("bob"));
    EXPECT_FALSE(config.isBlackListed("carol"));

    config.addToBlackList("carol");
    EXPECT_EQ(stored(), "[black_list]\r\nBOB=1\r\nalice=1\r\nbob=1\r\ncarol=1\r\n");
    config.removeFromBlackList("alice");
    config.removeFromBlackList("nobody");
    EXPECT_EQ(stored(), "[black_list]\r\nBOB=1\r\nbob=1\r\ncarol=1\r\n");

    config.addToBlackList("\xD5\xC5\xC8\xFD");  // GBK 张三, kept as UTF-8 in the file
    UserConfig again(settings(), fonts);
    EXPECT_TRUE(again.isBlackListed("\xD5\xC5\xC8\xFD"));
    EXPECT_NE(stored().find("张三=1"), std::string::npos);
}

TEST_F(UserConfigTest, RoomNicknames) {
    store(
        "[chatter_alice]\nnickname_12=abcdefghijklmno\nsex_12=Female\n"
        "nickname_13=小张\nsex_13=f\nsex_14=M\nsex_15=Q\n"
        "nickname_4294967295=负一\n");
    UserConfig config(settings(), fonts);
    struct Case {
        std::string account;
        int32_t room;
        RoomNickname expected;
    };
    const std::vector<Case> cases = {
        {"alice", 12, {u"abcdefghijk", 'F'}},
        {"alice", 13, {u"小张", 'U'}},   // the test is case-sensitive
        {"alice", 14, {u"alice", 'M'}},  // no nickname: the account
        {"alice", 15, {u"alice", 'U'}},
        {"alice", -1, {u"负一", 'U'}},  // room ids are written unsigned
        {"averyveryverylongaccount", 1, {u"averyveryve", 'U'}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(config.readRoomNickname(c.account, c.room), c.expected) << c.room;
    }
    config.writeRoomNickname("bob", 7, {u"鲍勃", 'M'});
    EXPECT_EQ(config.readRoomNickname("bob", 7), (RoomNickname{u"鲍勃", 'M'}));
    EXPECT_NE(stored().find("[chatter_bob]\r\nnickname_7=鲍勃\r\nsex_7=M\r\n"), std::string::npos);
}

TEST_F(UserConfigTest, QuickRepliesLoadAndSave) {
    store("[usualreply_alice]\n您好=110\n稍等=49\n您好=50\nempty=\n");
    UserConfig config(settings(), fonts);
    QuickReplyList replies;
    replies.add(u"stale", 'x');
    config.loadQuickReplies("alice", replies);
    EXPECT_EQ(replies.replies(),
              (std::vector<QuickReply>{{'n', u"您好"}, {'1', u"稍等"}, {0, u"empty"}}));

    replies.removeByText(u"empty");
    replies.add(u"再见", 'Z');
    config.saveQuickReplies("alice", replies);
    EXPECT_EQ(stored(), "[usualreply_alice]\r\n您好=110\r\n稍等=49\r\n再见=90\r\n");
    QuickReplyList again;
    config.loadQuickReplies("alice", again);
    EXPECT_EQ(again.replies(), replies.replies());
}

}  // namespace
}  // namespace chat
