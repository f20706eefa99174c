#include "storage/quick_reply_list.h"

#include <gtest/gtest.h>

namespace chat {
namespace {

TEST(QuickReplyList, AddFindRemove) {
    QuickReplyList list;
    EXPECT_TRUE(list.add(u"small a", 'a'));
    EXPECT_TRUE(list.add(u"capital A", 'A'));
    EXPECT_TRUE(list.add(u"five", '5'));
    EXPECT_FALSE(list.add(u"five", '6'));  // same text
    EXPECT_FALSE(list.add(u"", '7'));
    EXPECT_EQ(list.replies().size(), 3u);

    EXPECT_EQ(list.findByHotKey('A'), u"small a");  // first in list order, case ignored
    EXPECT_EQ(list.findByHotKey('a'), u"small a");
    EXPECT_EQ(list.findByHotKey('5'), u"five");
    EXPECT_EQ(list.findByHotKey('x'), std::nullopt);

    list.removeByText(u"small a");
    EXPECT_EQ(list.findByHotKey('a'), u"capital A");
    list.removeByText(u"not there");
    EXPECT_EQ(list.replies().size(), 2u);
}

TEST(QuickReplyList, EditingToAnExistingTextDropsTheEditedReply) {
    QuickReplyList list;
    list.add(u"one", '1');
    list.add(u"two", '2');
    // Edit "one" to "two": the old entry goes, the new text already exists.
    list.removeByText(*list.findByHotKey('1'));
    EXPECT_FALSE(list.add(u"two", '1'));
    EXPECT_EQ(list.replies(), (std::vector<QuickReply>{{'2', u"two"}}));
}

TEST(QuickReplyList, TextsTheSettingsFileCannotHold) {
    QuickReplyList list;
    list.add(u"Hello", 'h');
    struct Case {
        std::u16string text;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {u"您好，请稍等", true},
        {u"a = b", false},
        {u" leading", false},
        {u"trailing\t", false},
        {u"", false},
        {u"two\r\nlines", false},
        {u"[bracket", false},
        {u"in [brackets]", true},
        {u"hello", false},  // differs from "Hello" only in case: the file would merge them
        {u"Hello", true},   // the same text: the list itself refuses it silently
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quickReplyTextProblem(c.text, list).empty(), c.accepted)
            << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(quickReplyTextProblem(u"a=b", list), "回复内容不能包含等号“=”！");
    EXPECT_TRUE(quickReplyTextProblem(u"HELLO", list, u"Hello").empty());  // editing that reply
}

}  // namespace
}  // namespace chat
