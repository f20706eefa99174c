// The room page's rules that do not need a window: the announcement's links and the greeting by a
// second click on a nickname.
#include <gtest/gtest.h>

#include "admin/account_level.h"
#include "client/announcement_links.h"
#include "client/nickname_clicks.h"

namespace chat {
namespace {

struct AnnouncementCase {
    const char* name;
    std::u16string announcement;
    std::u16string shown;
    std::vector<AnnouncementLink> links;
};

class AnnouncementTest : public testing::TestWithParam<AnnouncementCase> {};

TEST_P(AnnouncementTest, ShowsTheLinkTextsInPlaceOfTheAnchors) {
    const AnnouncementCase& c = GetParam();
    const AnnouncementContent content = parseAnnouncement(c.announcement);
    EXPECT_EQ(content.text, c.shown);
    EXPECT_EQ(content.links, c.links);
}

INSTANTIATE_TEST_SUITE_P(
    Announcements, AnnouncementTest,
    testing::Values(AnnouncementCase{"TextLinkText",
                                     u"欢迎<a href=\"http://a.example/\">活动</a>请看",
                                     u"欢迎活动请看",
                                     {{2, 4, u"http://a.example/"}}},
                    AnnouncementCase{"TwoLinksAndTheRest",
                                     u"<a href=\"http://x/\" target=\"_blank\">X</a> 和 "
                                     u"<A HREF = \"ftp://y/\">YY</A>结尾",
                                     u"X 和 YY结尾",
                                     {{0, 1, u"http://x/"}, {4, 6, u"ftp://y/"}}},
                    AnnouncementCase{"NoLinks", u"今天维护", u"今天维护", {}},
                    AnnouncementCase{"TagLikeTextThatDoesNotMatch",
                                     u"<a>没有地址</a> <b>粗</b>",
                                     u"<a>没有地址</a> <b>粗</b>",
                                     {}},
                    AnnouncementCase{
                        "EmptyAddressIsNoLink", u"<a href=\"\">空</a>", u"<a href=\"\">空</a>", {}},
                    AnnouncementCase{"LinkTextOverLines",
                                     u"<a href=\"http://z/\">一\r\n二</a>",
                                     u"一\r\n二",
                                     {{0, 4, u"http://z/"}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(AnnouncementTest, FindsTheLinkUnderAPosition) {
    const AnnouncementContent content =
        parseAnnouncement(u"a<a href=\"http://x/\">bc</a>d<a href=\"http://y/\">e</a>");
    ASSERT_EQ(content.text, u"abcde");
    EXPECT_EQ(linkAt(content, 0), nullptr);
    ASSERT_NE(linkAt(content, 2), nullptr);
    EXPECT_EQ(linkAt(content, 2)->target, u"http://x/");
    EXPECT_EQ(linkAt(content, 3), nullptr);
    ASSERT_NE(linkAt(content, 4), nullptr);
    EXPECT_EQ(linkAt(content, 4)->target, u"http://y/");
    EXPECT_EQ(linkAt(content, 5), nullptr);
}

TEST(NicknameClicksTest, OnlyCustomerServiceAdministratorsAndInstructorsGreet) {
    EXPECT_TRUE(NicknameClicks::greets(AccountLevel::kCustomerService));
    EXPECT_TRUE(NicknameClicks::greets(AccountLevel::kSystemAdmin));
    EXPECT_TRUE(NicknameClicks::greets(AccountLevel::kInstructor | AccountLevel::kVip));
    EXPECT_FALSE(NicknameClicks::greets(AccountLevel::kVip | AccountLevel::kCompanyStaff));
    EXPECT_EQ(greetingText(u"小明"), u"小明 您好:");
}

TEST(NicknameClicksTest, SecondClickOnTheSameChatterWithinFourDoubleClickTimes) {
    struct Click {
        uint32_t chatter;
        uint64_t atMs;
        bool second;
    };
    const uint32_t doubleClickMs = 500;
    const std::vector<Click> clicks = {
        {7, 1000, false},  // first
        {7, 2999, true},   // within 2000 ms
        {7, 3100, false},  // a greeting starts a new pair
        {8, 3200, false},  // another chatter starts a new pair
        {7, 3300, false},  //
        {7, 5300, false},  // exactly four double-click times later is too late
        {7, 5400, true},
    };
    NicknameClicks tracker;
    for (const Click& click : clicks) {
        EXPECT_EQ(tracker.secondClick(click.chatter, click.atMs, doubleClickMs), click.second)
            << "click on " << click.chatter << " at " << click.atMs;
    }
}

}  // namespace
}  // namespace chat
