#include "util/text_codec.h"

#include <gtest/gtest.h>

namespace chat {
namespace {

TEST(TextCodec, GbkRoundTripsChineseAndAscii) {
    const std::string gbk = "\xC4\xE3\xBA\xC3 abc";  // "你好 abc"
    EXPECT_EQ(gbkToUtf16(gbk), u"你好 abc");
    EXPECT_EQ(utf16ToGbk(u"你好 abc"), gbk);
}

TEST(TextCodec, GbkCodePage936ExtrasAndBadBytes) {
    EXPECT_EQ(gbkToUtf16("\x80"), u"\u20AC");    // the euro sign of code page 936
    EXPECT_EQ(gbkToUtf16("a\xC4"), u"a\uFFFD");  // a lead byte cut off at the end
    EXPECT_EQ(gbkToUtf16("\xFF"
                         "b"),
              u"\uFFFD"
              "b");                                  // never a valid byte
    EXPECT_EQ(utf16ToGbk(u"a\U0001F600b"), "a?b");   // no GBK form: one '?' per character
    EXPECT_EQ(utf16ToGbk(u"\uD55C\u00C0x"), "??x");  // Hangul and À are not in GBK
}

TEST(TextCodec, Utf8RoundTripAndRepairs) {
    EXPECT_EQ(utf8ToUtf16("\xE4\xBD\xA0 \xF0\x9F\x98\x80"), u"你 \U0001F600");
    EXPECT_EQ(utf16ToUtf8(u"你 \U0001F600"), "\xE4\xBD\xA0 \xF0\x9F\x98\x80");
    EXPECT_EQ(utf8ToUtf16("a\xC0\xAF"), u"a\uFFFD\uFFFD");  // overlong form
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_TRUE(isValidUtf8("plain \xE4\xBD\xA0"));
    EXPECT_FALSE(isValidUtf8("\xC4\xE3\xBA\xC3"));  // GBK bytes are not UTF-8
}

}  // namespace
}  // namespace chat
