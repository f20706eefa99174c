#include "platform/md5.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace chat {
namespace {

TEST(MD5, Rfc1321TestSuite) {
    struct Case {
        std::string message;
        std::string hex;
    };
    const Case cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(md5HexText(c.message), c.hex) << c.message;
    }
}

TEST(MD5, PiecewiseUpdatesMatchOneUpdateAcrossBlockAndPaddingBoundaries) {
    // 55, 56 and 64 bytes are where the padding needs one block, two blocks, or a full block.
    for (const size_t length : {55u, 56u, 63u, 64u, 65u, 200u}) {
        std::string message(length, '\0');
        for (size_t i = 0; i < length; ++i) {
            message[i] = static_cast<char>(i * 7 + 1);
        }
        MD5 pieces;
        for (size_t i = 0; i < length; i += 13) {
            pieces.update(std::string_view(message).substr(i, 13));
        }
        pieces.final();
        EXPECT_EQ(pieces.digest(), md5(message)) << length;
    }
}

TEST(MD5, MisuseRaisesLogicErrorsAndSecondFinalDoesNothing) {
    MD5 hash;
    hash.update("abc");
    try {
        (void)hash.digest();
        FAIL() << "digest before final";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "程序设计错误: 尚未调用MD5::final()");
    }
    hash.final();
    hash.final();
    EXPECT_EQ(hexText(hash.digest()), "900150983CD24FB0D6963F7D28E17F72");
    try {
        hash.update("d");
        FAIL() << "update after final";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "在调用过MD5::final()之后不能再调用update()方法");
    }
}

TEST(MD5, HexTextIsUpperCaseWithoutSeparators) {
    const uint8_t bytes[] = {0x00, 0x0A, 0xAB, 0xF0, 0xFF};
    EXPECT_EQ(hexText(bytes), "000AABF0FF");
    EXPECT_EQ(hexText({}), "");
}

}  // namespace
}  // namespace chat
