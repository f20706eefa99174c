#include "app/startup_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace chat {
namespace {

const std::string k32 = "0123456789abcdef0123456789ABCDEF";

struct LineCase {
    std::string name;
    std::string line;
    StartupArgs expected;
    bool valid;
};

StartupArgs args(std::string account, std::string password, std::string server = "") {
    StartupArgs a;
    a.account = std::move(account);
    a.password = std::move(password);
    a.server = std::move(server);
    return a;
}

void expectSame(const StartupArgs& actual, const StartupArgs& expected, const std::string& name) {
    EXPECT_EQ(actual.account, expected.account) << name;
    EXPECT_EQ(actual.password, expected.password) << name;
    EXPECT_EQ(actual.server, expected.server) << name;
    EXPECT_EQ(actual.platformId, expected.platformId) << name;
    EXPECT_EQ(actual.platformAccount, expected.platformAccount) << name;
    EXPECT_EQ(actual.platformPassword, expected.platformPassword) << name;
    EXPECT_EQ(actual.chatUrl, expected.chatUrl) << name;
}

bool isValid(const StartupArgs& a) {
    try {
        validateStartupArgs(a);
        return true;
    } catch (const InvalidCommandLine& error) {
        EXPECT_STREQ(error.what(), "无效的命令行参数！");
        return false;
    }
}

TEST(StartupArgs, CommandLineCases) {
    StartupArgs all;
    all.account = "u";
    all.password = k32;
    all.server = "chat.example";
    all.platformId = "7";
    all.platformAccount = "pa";
    all.platformPassword = "pp";
    all.chatUrl = "&x=1";
    StartupArgs gbk = args("\xC4\xE3\x81\x41", k32);  // 你 and a character with trail byte 'A'
    gbk.chatUrl = "\xB7\xFE";                         // 服
    const std::vector<LineCase> cases = {
        {"empty line", "", {}, false},
        {"blanks only", " \t\r\n ", {}, false},
        {"missing account", "/pswd:" + k32, args("", k32), false},
        {"empty account", "/account: /pswd:" + k32, args("", k32), false},
        {"all options",
         "/account:u /pswd:" + k32 +
             " /server:chat.example /pid:7 /pidaccount:pa /pidpswd:pp /chatUrl:&x=1",
         all, true},
        {"upper-case prefixes", "/ACCOUNT:u /PSWD:" + k32 + " /Server:S", args("u", k32, "S"),
         true},
        {"server prefix alone", "/account:u /pswd:" + k32 + " /server:", args("u", k32), true},
        {"31 characters", "/account:u /pswd:" + k32.substr(1), args("u", k32.substr(1)), false},
        {"32 characters", "/account:u /pswd:" + k32, args("u", k32), true},
        {"33 characters", "/account:u /pswd:" + k32 + "Z", args("u", k32 + "Z"), true},
        {"value with a blank", "/account:first second /pswd:" + k32, args("first", k32), true},
        {"last one wins", "/account:a /pswd:" + k32 + " /account:b", args("b", k32), true},
        {"unknown and bare tokens", "chat.exe /accounts /account:u -x /pswd:" + k32, args("u", k32),
         true},
        {"tabs and line breaks split", "/account:u\t/pswd:" + k32 + "\r\n/server:s",
         args("u", k32, "s"), true},
        {"value keeps later colons", "/account:a:b /pswd:" + k32, args("a:b", k32), true},
        {"GBK bytes in values", "/account:\xC4\xE3\x81\x41 /pswd:" + k32 + " /chatUrl:\xB7\xFE",
         gbk, true},
        // A two-byte character (here with the trail byte 'a') never stands for prefix letters.
        {"GBK character in a prefix",
         "/\x81"
         "account:u /pswd:" +
             k32,
         args("", k32), false},
    };
    for (const LineCase& c : cases) {
        const StartupArgs parsed = parseCommandLine(c.line);
        expectSame(parsed, c.expected, c.name);
        EXPECT_EQ(isValid(parsed), c.valid) << c.name;
    }
}

TEST(StartupArgs, ArgvUtf8IsTakenAsGbkAndOtherBytesAsTheyAre) {
    const std::string pswd = "/pswd:" + k32;
    const char* const argv[] = {"chat", "/account:你好", pswd.c_str(), "/pid:\xC4\xE3",
                                "/chatUrl:a b"};
    const StartupArgs parsed = parseCommandLine(5, argv);
    EXPECT_EQ(parsed.account, "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(parsed.password, k32);
    EXPECT_EQ(parsed.platformId, "\xC4\xE3");  // not UTF-8: kept as GBK bytes
    EXPECT_EQ(parsed.chatUrl, "a");            // an argument with a blank is two tokens
    const char* const programOnly[] = {"/account:ignored"};
    EXPECT_EQ(parseCommandLine(1, programOnly).account, "");
}

TEST(StartupArgs, PasswordDigestDecoding) {
    struct Case {
        std::string text;
        std::array<uint8_t, 16> bytes;
    };
    const Case cases[] = {
        {"000102030405060708090A0B0C0D0E0F",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"ffFFa0B1c2D3e4F5061728394a5b6c7d9999",
         {0xFF, 0xFF, 0xA0, 0xB1, 0xC2, 0xD3, 0xE4, 0xF5, 0x06, 0x17, 0x28, 0x39, 0x4A, 0x5B, 0x6C,
          0x7D}},
        // Letters beyond F are worth 16..35; the byte is taken modulo 256.
        {"ZZgz10",
         {static_cast<uint8_t>((35 * 16 + 35) % 256), static_cast<uint8_t>(16 * 16 + 35), 0x10}},
        {"0102-30405", {1, 2}},
        {"01020", {1, 2}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodePasswordDigest(c.text), c.bytes) << c.text;
    }
}

}  // namespace
}  // namespace chat
