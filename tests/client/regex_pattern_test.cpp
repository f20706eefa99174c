#include "client/regex_pattern.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using chat::MatchItem;
using chat::RegexPattern;

std::vector<std::u16string> itemTexts(std::u16string_view text,
                                      const std::vector<MatchItem>& items) {
    std::vector<std::u16string> texts;
    for (const auto& item : items) {
        texts.emplace_back(text.substr(item.begin, item.end - item.begin));
    }
    return texts;
}

TEST(RegexPattern, AnnouncementLinksGiveThreeItemsPerMatch) {
    const RegexPattern pattern(chat::kAnnouncementLinkPattern);
    EXPECT_EQ(pattern.groupCount(), 2u);
    const std::u16string text =
        u"欢迎<a href=\"http://a.example/x\" target=_blank>活动</a>和"
        u"<A HREF = \"https://b.example\">第二\r\n行</A>。";
    const auto items = pattern.matchAll(text);
    EXPECT_EQ(itemTexts(text, items),
              (std::vector<std::u16string>{u"<a href=\"http://a.example/x\" target=_blank>活动</a>",
                                           u"http://a.example/x", u"活动",
                                           u"<A HREF = \"https://b.example\">第二\r\n行</A>",
                                           u"https://b.example", u"第二\r\n行"}));
    EXPECT_EQ(items[0].begin, 2u);
}

TEST(RegexPattern, NoMatchGivesNoItems) {
    const RegexPattern pattern(chat::kAnnouncementLinkPattern);
    EXPECT_TRUE(pattern.matchAll(u"<a href=\"x\">no end").empty());
    EXPECT_TRUE(pattern.matchAll(u"").empty());
}

TEST(RegexPattern, LoneSurrogatesDoNotStopTheSearch) {
    const RegexPattern pattern(chat::kAnnouncementLinkPattern);
    std::u16string text = u"x<a href=\"u\">t</a>";
    text[0] = u'\xD800';
    EXPECT_EQ(itemTexts(text, pattern.matchAll(text)),
              (std::vector<std::u16string>{u"<a href=\"u\">t</a>", u"u", u"t"}));
}

TEST(RegexPattern, EmptyMatchesAdvanceOneCharacter) {
    const RegexPattern pattern(u"x*");
    const std::u16string text = u"a\U0001F600";
    const auto items = pattern.matchAll(text);
    ASSERT_EQ(items.size(), 3u);  // before 'a', before the pair, at the end
    EXPECT_EQ(items[1].begin, 1u);
    EXPECT_EQ(items[2].begin, 3u);
}

TEST(RegexPattern, UnsetGroupIsEmptyItemAtMatchStart) {
    const RegexPattern pattern(u"a(b)?");
    const auto items = pattern.matchAll(u"xa");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].begin, 1u);
    EXPECT_EQ(items[1].end, 1u);
}

TEST(RegexPattern, BadPatternThrows) {
    EXPECT_THROW(RegexPattern(u"(unclosed"), std::invalid_argument);
}

}  // namespace
