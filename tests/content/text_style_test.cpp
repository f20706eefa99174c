#include "content/text_style.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "admin/account_level.h"

namespace chat {
namespace {

TEST(TextStyle, DefaultStyleWritesItsSeventySevenBytes) {
    std::array<uint8_t, TextStyle::kSize> bytes;
    bytes.fill(0xAA);
    defaultTextStyle().write(bytes.data());
    std::array<uint8_t, TextStyle::kSize> expected{};
    expected[4] = 0x8B;  // 宋 U+5B8B
    expected[5] = 0x5B;
    expected[6] = 0x53;  // 体 U+4F53
    expected[7] = 0x4F;
    expected[68] = 9;
    expected[76] = 134;
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(TextStyle::read(bytes.data()), defaultTextStyle());
}

TEST(TextStyle, FaceIsCutToThirtyOneCharacters) {
    TextStyle style;
    style.face = std::u16string(40, u'x');
    style.bold = 1;
    style.strikeout = 1;
    style.colour = 0x00123456;
    std::array<uint8_t, TextStyle::kSize> bytes{};
    style.write(bytes.data());
    const TextStyle back = TextStyle::read(bytes.data());
    EXPECT_EQ(back.face, std::u16string(31, u'x'));
    EXPECT_EQ(back.colour, 0x00123456u);
    EXPECT_EQ(back.bold, 1);
    EXPECT_EQ(back.strikeout, 1);
    EXPECT_EQ(bytes[66], 0);  // the terminator fills the last unit
}

TEST(TextStyle, ReservedLook) {
    struct Case {
        int32_t points;
        uint32_t colour;
        bool reserved;
    };
    const std::vector<Case> cases = {
        {10, 0x00FF8080, true},   // red 0x80, green 0x80, blue ignored
        {11, 0x00FF8080, false},  // size out of range
        {9, 0x00808888, false},   // red and green 136
        {8, rgb(121, 135, 0), true},    {7, rgb(128, 128, 128), false},
        {9, rgb(120, 128, 128), false}, {9, rgb(128, 128, 128), true},  // the system lines' grey
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isReservedLook(c.points, c.colour), c.reserved)
            << c.points << " pt, colour " << std::hex << c.colour;
    }
}

TEST(TextStyle, ReservedStyleIsStoredBlackForOrdinaryUsers) {
    TextStyle grey;
    grey.colour = rgb(128, 128, 128);
    struct Case {
        uint32_t accountLevel;
        uint32_t storedColour;
    };
    const std::vector<Case> cases = {
        {0, 0},
        {0x01 | 0x10 | 0x20, 0},  // VIP, instructor, owner: not enough
        {AccountLevel::kCustomerService, grey.colour},
        {AccountLevel::kSystemAdmin, grey.colour},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(styleToStore(grey, c.accountLevel).colour, c.storedColour) << c.accountLevel;
    }
    TextStyle red;
    red.colour = rgb(255, 0, 0);
    EXPECT_EQ(styleToStore(red, 0).colour, red.colour);
}

TEST(TextStyle, PointsFromFontHeight) {
    EXPECT_EQ(pointsFromFontHeight(-12, 96), 9);
    EXPECT_EQ(pointsFromFontHeight(13, 96), 9);  // integer division
    EXPECT_EQ(pointsFromFontHeight(-16, 120), 9);
    EXPECT_EQ(pointsFromFontHeight(-12, 0), 0);
}

}  // namespace
}  // namespace chat
