#include "util/wire_text.h"

#include <gtest/gtest.h>

#include <array>

namespace chat {
namespace {

TEST(WireText, NarrowCutsAtFieldLessOneAndZeroFills) {
    std::array<char, 6> field;
    field.fill('x');
    putNarrow(field.data(), field.size(), "abcdefgh");
    EXPECT_EQ(std::string(field.data(), field.size()), std::string("abcde\0", 6));
    putNarrow(field.data(), field.size(), "ab");
    EXPECT_EQ(std::string(field.data(), field.size()), std::string("ab\0\0\0\0", 6));
}

TEST(WireText, NarrowNeverSplitsAGbkCharacter) {
    std::array<char, 4> field;
    putNarrow(field.data(), field.size(), "a\xC4\xE3\xBA\xC3");  // room for 3 bytes: "a" + one char
    EXPECT_EQ(getNarrow(field.data(), field.size()), "a\xC4\xE3");
    putNarrow(field.data(), field.size(), "ab\xC4\xE3");
    EXPECT_EQ(getNarrow(field.data(), field.size()), "ab");
}

TEST(WireText, NarrowReadStopsAtNulOrFieldEnd) {
    const char withNul[4] = {'a', 0, 'b', 'c'};
    EXPECT_EQ(getNarrow(withNul, 4), "a");
    const char full[3] = {'x', 'y', 'z'};  // no NUL inside the field: read no further
    EXPECT_EQ(getNarrow(full, 3), "xyz");
}

TEST(WireText, WideIsLittleEndianCutAndBounded) {
    std::array<unsigned char, 8> field;  // 4 units
    putWide(field.data(), 4, u"你ab\u4E16");
    EXPECT_EQ(field, (std::array<unsigned char, 8>{0x60, 0x4F, 'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(getWide(field.data(), 4), u"你ab");
    const unsigned char full[4] = {'x', 0, 'y', 0};
    EXPECT_EQ(getWide(full, 2), u"xy");
    putWide(field.data(), 3, u"a\U0001F600");  // a surrogate pair that does not fit is left out
    EXPECT_EQ(getWide(field.data(), 3), u"a");
}

}  // namespace
}  // namespace chat
