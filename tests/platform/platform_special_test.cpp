#include "platform/platform_special.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/test_data.h"

namespace chat {
namespace {

TEST(PlatformSpecial, LoadsSectionSpecialWithDefaultsAndConversions) {
    const PlatformSpecial special = loadPlatformSpecial(test::platformData() / "program");
    EXPECT_EQ(special.programCaption, "\xC4\xA7\xCE\xAC\xBF\xCD\xB7\xFE");  // 魔维客服 in GBK
    EXPECT_EQ(special.customerId, "C-43");                                  // the later one wins
    EXPECT_EQ(special.customerName, "");  // the file has "customerName " with a blank
    EXPECT_EQ(special.coinInfoUrl, "http://pay.example/coin?a=1&b=2");
    EXPECT_EQ(special.userAccount, "");  // "orphan" sits before the section
    EXPECT_EQ(special.nodeUrl, "");      // "[x]" inside the line started another section
    EXPECT_EQ(special.uiChargeUrl, "");
    EXPECT_EQ(special.chargeType, 12);
    EXPECT_EQ(special.specialGameId, -7);
    EXPECT_EQ(special.specialGamePlatform, -1);  // present but empty
    EXPECT_TRUE(special.loginDlgNotShowWhenUpdateChecking);
    EXPECT_EQ(mainWindowCaption(special), "魔维客服-在线客服");
}

TEST(PlatformSpecial, MissingFileKeepsTheDefaults) {
    const PlatformSpecial special = loadPlatformSpecial(test::platformData() / "no such folder");
    EXPECT_EQ(special.programCaption, "");
    EXPECT_EQ(special.chargeType, 0);
    EXPECT_EQ(special.specialGameId, 0);
    EXPECT_EQ(special.specialGamePlatform, -1);
    EXPECT_FALSE(special.loginDlgNotShowWhenUpdateChecking);
    EXPECT_EQ(mainWindowCaption(special), "Morvex在线客服");
}

TEST(PlatformSpecial, Utf8FileGivesTheSameGbkValues) {
    const PlatformSpecial special = loadPlatformSpecial(test::platformData() / "program_utf8");
    EXPECT_EQ(special.programCaption, "\xC4\xA7\xCE\xAC\xBF\xCD\xB7\xFE");
    EXPECT_EQ(special.specialGamePlatform, 5);
}

TEST(PlatformSpecial, LeadingDecimal) {
    struct Case {
        std::string text;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},
        {"42", 42},
        {"  -17x", -17},
        {"+8", 8},
        {"abc", 0},
        {"-", 0},
        {"2147483647", 2147483647},
        {"99999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(leadingDecimal(c.text), c.value) << c.text;
    }
}

}  // namespace
}  // namespace chat
