#include "platform/config_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base64.h"
#include "platform/config_cipher.h"
#include "platform/rc4.h"
#include "platform/test_data.h"

namespace chat {
namespace {

using Lines = std::vector<std::string>;

TEST(ConfigText, LinesAreCutAtCrAndLfAndLongLinesInto4095BytePieces) {
    struct Case {
        std::string text;
        Lines lines;
    };
    const std::string long1 = std::string(4095, 'a');
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"\r\n\r\n a \n\n\rb\r", {" a ", "b"}},
        {long1 + "b\nc", {long1, "b", "c"}},
        {long1 + long1 + "\n" + long1, {long1, long1, long1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitConfigLines(c.text), c.lines) << c.text.substr(0, 20);
    }
}

TEST(ConfigText, DialectOfSectionsAndKeys) {
    const ConfigText text = ConfigText::parse({
        "early=before any section",
        "[special]",
        "plain=value",
        "spaced = value ",
        "url=http://x/?a=1&b=2",
        "empty=",
        "dup=first",
        "no equals sign here",
        "dup=second",
        "=value of the empty key",
        "trail]er [next] more",
        "Case=upper",
        "[open",
        "inOpen=yes",
        "text with [ bracket=v",
        "afterBracket=w",
    });
    struct Case {
        std::string section;
        std::string key;
        std::string expected;
    };
    const Case cases[] = {
        {"", "early", "before any section"},
        {"special", "early", "default"},
        {"special", "plain", "value"},
        {"special", "spaced ", " value "},
        {"special", "spaced", "default"},
        {"special", "url", "http://x/?a=1&b=2"},
        {"special", "empty", "default"},
        {"special", "dup", "second"},
        {"special", "", "value of the empty key"},
        {"next", "Case", "upper"},
        {"next", "case", "default"},
        {"Next", "Case", "default"},
        {"open", "inOpen", "yes"},
        {" bracket=v", "afterBracket", "w"},
        {"open", "afterBracket", "default"},
        {"missing", "plain", "default"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text.lookup(c.section, c.key, "default"), c.expected)
            << "[" << c.section << "] " << c.key;
    }
}

TEST(ConfigText, DecodingCutsAtTheFirstZeroByteAndEmptyGivesEmpty) {
    const auto key = configurationKey();
    std::string cipher("a=1\0b=2", 7);
    Rc4(key).apply(std::span(reinterpret_cast<uint8_t*>(cipher.data()), cipher.size()));
    EXPECT_EQ(decodeConfigurationText(base64Encode(cipher)), "a=1");
    EXPECT_EQ(decodeConfigurationText(""), "");
    EXPECT_EQ(decodeConfigurationText("\r\n=="), "");
}

TEST(ConfigText, FileEncipheredByTheInstallerRouteDeciphers) {
    const ConfigText text = readConfigTextFile(test::platformData() / "program" / "special.txt");
    EXPECT_EQ(text.lookup("", "orphan", ""), "before any section");
    EXPECT_EQ(text.lookup("special", "ProgramCaption", ""), "\xC4\xA7\xCE\xAC\xBF\xCD\xB7\xFE");
    EXPECT_EQ(text.lookup("special", "customerId", ""), "C-43");
    EXPECT_EQ(text.lookup("x", "uichargeurl", ""), "not in special");

    const ConfigText morvex =
        readConfigTextFile(test::platformData() / "program" / "config" / "Morvex.txt");
    EXPECT_EQ(morvex.lookup("MorvexModuleURL", "customerurl", ""),
              "http://rooms.example/list.shtml");
}

TEST(ConfigText, Utf8FileIsKeptAsGbk) {
    const ConfigText text =
        readConfigTextFile(test::platformData() / "program_utf8" / "special.txt");
    EXPECT_EQ(text.lookup("special", "ProgramCaption", ""), "\xC4\xA7\xCE\xAC\xBF\xCD\xB7\xFE");
}

TEST(ConfigText, UnreadableFileGivesNoKeys) {
    const ConfigText missing = readConfigTextFile(test::platformData() / "no such file.txt");
    EXPECT_EQ(missing.lookup("special", "ProgramCaption", "fallback"), "fallback");
    const ConfigText folder = readConfigTextFile(test::platformData());
    EXPECT_EQ(folder.lookup("special", "ProgramCaption", "fallback"), "fallback");
}

}  // namespace
}  // namespace chat
