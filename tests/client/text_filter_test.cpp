#include "client/text_filter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using chat::TextFilter;

struct FilterCase {
    const char* name;
    std::vector<std::u16string> words;
    std::u16string text;
    bool restricted;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << c.name;
}

class TextFilterCases : public ::testing::TestWithParam<FilterCase> {};

TEST_P(TextFilterCases, FindsWordsInText) {
    const FilterCase& c = GetParam();
    TextFilter filter;
    for (const auto& word : c.words) {
        filter.addKeyword(word);
    }
    EXPECT_EQ(filter.isRestricted(c.text), c.restricted);
}

INSTANTIATE_TEST_SUITE_P(
    TextFilter, TextFilterCases,
    ::testing::Values(
        FilterCase{"NoWordsNeverRestricts", {}, u"任何文字", false},
        FilterCase{"EmptyWordIsIgnored", {u""}, u"abc", false},
        FilterCase{"ChineseWordInsideText", {u"法轮", u"赌博"}, u"这里有赌博网站", true},
        FilterCase{"TextWithoutWords", {u"法轮", u"赌博"}, u"正常的聊天内容", false},
        FilterCase{"WordAtTextEnd", {u"abc"}, u"xxabc", true},
        FilterCase{"WordPrefixOnly", {u"abcd"}, u"abc", false},
        FilterCase{"UpperCaseWordCatchesLowerCaseText", {u"ABC"}, u"xabcx", true},
        FilterCase{"LowerCaseWordCatchesUpperCaseText", {u"abc"}, u"xABCx", true},
        FilterCase{"FullWidthTextCaughtByHalfWidthWord", {u"abc!"}, u"ＡＢＣ！", true},
        FilterCase{"FullWidthWordCatchesHalfWidthText", {u"ａｂｃ"}, u"ABC", true},
        FilterCase{"OtherLettersAreNotFolded", {u"é"}, u"É", false},
        FilterCase{"IdeographicSpaceIsNotFolded", {u"a b"}, u"a\u3000b", false},
        FilterCase{"FailureLinkContinuesMatch", {u"abcd", u"bce"}, u"abce", true},
        FilterCase{"ShorterWordInsideLongerPath", {u"abcde", u"cd"}, u"abcdx", true},
        FilterCase{"ClassicOverlap", {u"he", u"she", u"his", u"hers"}, u"ushers", true},
        FilterCase{"UnknownUnitBreaksPartialMatch", {u"ab"}, u"a-b", false},
        FilterCase{"SurrogatePairWord", {u"\U0001F600"}, u"a\U0001F600b", true},
        FilterCase{"HalfOfSurrogatePairIsNotTheWord", {u"\U0001F600"}, u"\U0001F601", false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(TextFilter, ClearingRemovesEveryWordAndLaterWordsApply) {
    TextFilter filter;
    filter.addKeyword(u"old");
    EXPECT_TRUE(filter.isRestricted(u"an old word"));
    filter.clearKeywords();
    EXPECT_FALSE(filter.hasKeywords());
    EXPECT_FALSE(filter.isRestricted(u"an old word"));
    filter.addKeyword(u"new");
    EXPECT_TRUE(filter.isRestricted(u"brand new"));
    filter.addKeyword(u"word");  // added after a test: the next test sees it
    EXPECT_TRUE(filter.isRestricted(u"an old word"));

    filter.replaceKeywords(std::set<std::u16string>{u"其他"});
    EXPECT_FALSE(filter.isRestricted(u"brand new word"));
    EXPECT_TRUE(filter.isRestricted(u"其他的"));
}

// Random words and texts over a small alphabet, so that overlaps and failure paths are frequent,
// checked against a plain search of every word.
TEST(TextFilter, AgreesWithWordByWordSearch) {
    const std::u16string alphabet = u"abAB中文ａ";
    std::mt19937 random(12345);
    auto randomText = [&](size_t maxLength) {
        std::u16string text(random() % (maxLength + 1), u' ');
        for (auto& unit : text) {
            unit = alphabet[random() % alphabet.size()];
        }
        return text;
    };
    auto folded = [](std::u16string text) {
        for (auto& unit : text) {
            unit = TextFilter::fold(unit);
        }
        return text;
    };
    for (int round = 0; round < 2000; ++round) {
        TextFilter filter;
        std::vector<std::u16string> words(random() % 6);
        for (auto& word : words) {
            word = randomText(4);
            filter.addKeyword(word);
        }
        const std::u16string text = randomText(12);
        bool expected = false;
        for (const auto& word : words) {
            expected = expected ||
                       (!word.empty() && folded(text).find(folded(word)) != std::u16string::npos);
        }
        ASSERT_EQ(filter.isRestricted(text), expected) << "round " << round;
    }
}

}  // namespace
