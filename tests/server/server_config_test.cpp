#include "server_config.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using chatserver::ConfigError;
using chatserver::parseServerConfig;

// A valid configuration with one replaceable part.
std::string configWith(const std::string& rooms, const std::string& extra = "") {
    return R"({"accounts": [{"account": "demo", "passwordDigest": "FE01CE2A7FBAC8FAFAED7C982A04E229",
                "level": 2, "nickname": "演示", "sex": "M"}],
               "rooms": )" +
           rooms + extra + "}";
}

const std::string kRoom = R"([{"id": 2, "name": "大厅"}])";

TEST(ServerConfig, ReadsAccountsRoomsAndLists) {
    const auto config = parseServerConfig(configWith(
        R"([{"id": 2, "name": "大厅", "entryRoles": 1, "owners": ["demo"],
             "settings": {"speechIntervalMs": 500, "allowPictures": false},
             "limits": [{"kind": "mute", "ip": "10.1.2.3", "end": "2099-01-01 00:00"}]}])",
        R"(, "keywords": ["外挂"], "rights": [{"account": "demo", "room": 2, "codes": [10003]}],
           "operationPasswordDigest": "11D8C28A64490A987612F2332502467F",
           "bots": [{"account": "bot", "nickname": "小墨", "room": 2,
                     "rules": [{"keyword": "帮助", "reply": "好的"}]}])"));
    ASSERT_EQ(config.accounts.size(), 1u);
    EXPECT_EQ(config.accounts[0].passwordDigest[0], 0xFE);
    EXPECT_EQ(config.accounts[0].nickname, u"演示");
    EXPECT_EQ(config.accounts[0].sex, 'M');
    ASSERT_EQ(config.rooms.size(), 1u);
    const auto& room = config.rooms[0];
    EXPECT_EQ(room.name, u"大厅");
    EXPECT_EQ(room.entryRoles, 1u);
    EXPECT_EQ(room.settings.roomId, 2u);
    EXPECT_EQ(room.settings.speechIntervalMs, 500u);
    EXPECT_FALSE(room.settings.allowPictures);
    ASSERT_EQ(room.limits.size(), 1u);
    EXPECT_EQ(room.limits[0].ip, 0x0302010Au);  // network byte order: first octet lowest
    EXPECT_EQ(room.limits[0].mask, 0xFFFFFFFFu);
    EXPECT_TRUE(config.keywords.contains(u"外挂"));
    EXPECT_TRUE(config.rights.at("demo").has(10003, 2));
    ASSERT_TRUE(config.operationPasswordDigest);
    ASSERT_EQ(config.bots.size(), 1u);
    EXPECT_EQ(config.bots[0].rules[0].reply, u"好的");
}

TEST(ServerConfig, ReportsTheJsonPathOfABadValue) {
    struct Case {
        std::string json;
        std::string message;
    };
    const std::vector<Case> cases = {
        {configWith(R"([{"id": 2, "name": "a"}, {"id": 3, "name": "b"}, {"id": 4, "name": 5}])"),
         "rooms[2].name: expected a string"},
        {configWith(R"([{"id": 2, "name": ""}])"), "rooms[0].name: empty name"},
        {configWith(R"([{"id": 1, "name": "a"}])"), "rooms[0].id: room ids 0 and 1 are reserved"},
        {configWith(R"([{"id": 100000, "name": "a"}])"),
         "rooms[0].id: room ids from 100000 on are kept for private rooms"},
        {configWith(R"([{"id": 2, "name": "a"}, {"id": 2, "name": "b"}])"),
         "rooms[1].id: room id used twice"},
        {configWith(R"([{"id": -2, "name": "a"}])"),
         "rooms[0].id: expected a whole number from 0 to 4294967295"},
        {configWith(R"([{"id": 2}])"), "rooms[0].name: missing"},
        {configWith(R"([])"), "rooms: at least one room is needed"},
        {configWith(R"({})"), "rooms: expected an array"},
        {configWith(kRoom, R"(, "keywords": ["a", 3])"), "keywords[1]: expected a string"},
        {configWith(R"([{"id": 2, "name": "a", "settings": {"allowPictures": 1}}])"),
         "rooms[0].settings.allowPictures: expected true or false"},
        {configWith(
             R"([{"id": 2, "name": "a", "limits": [{"kind": "ban", "end": "2099-01-01 00:00"}]}])"),
         "rooms[0].limits[0].kind: expected \"mute\" or \"forbidLogin\""},
        {configWith(R"([{"id": 2, "name": "a", "limits": [{"kind": "mute", "end": "soon"}]}])"),
         "rooms[0].limits[0].end: expected a time as \"YYYY-MM-DD HH:MM\""},
        {configWith(
             R"([{"id": 2, "name": "a", "limits": [{"kind": "mute", "ip": "1.2.3", "end": "2099-01-01 00:00"}]}])"),
         "rooms[0].limits[0].ip: expected an IPv4 address"},
        {configWith(kRoom, R"(, "rights": [{"account": "demo", "room": 9, "codes": []}])"),
         "rights[0].room: no such room"},
        {configWith(kRoom, R"(, "rights": [{"account": "demo", "room": 2, "codes": [10008]}])"),
         "rights[0].codes[0]: expected a right code from 10000 to 10007"},
        {configWith(kRoom, R"(, "operationPasswordDigest": "12345")"),
         "operationPasswordDigest: expected 32 hexadecimal digits"},
        {configWith(kRoom, R"(, "operationPasswordDigest": "ZZ01CE2A7FBAC8FAFAED7C982A04E229")"),
         "operationPasswordDigest: expected 32 hexadecimal digits"},
        {configWith(kRoom, R"(, "bots": [{"account": "b", "nickname": "小墨", "room": 7}])"),
         "bots[0].room: no such room"},
        {configWith(
             R"([{"id": 2, "name": "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八"}])"),
         "rooms[0].name: longer than 47 characters"},
        {R"({"accounts": [{"account": "x", "passwordDigest": "00", "sex": "M"}], "rooms": [{"id": 2, "name": "a"}]})",
         "accounts[0].passwordDigest: expected 32 hexadecimal digits"},
        {R"({"accounts": [{"account": "x", "passwordDigest": "FE01CE2A7FBAC8FAFAED7C982A04E229", "sex": "X"}], "rooms": [{"id": 2, "name": "a"}]})",
         "accounts[0].sex: expected \"M\", \"F\" or \"U\""},
        {R"({"rooms": [{"id": 2, "name": "a"}]})", "accounts: missing"},
        {R"([1, 2])", "(top): expected an object"},
    };
    for (const Case& c : cases) {
        try {
            parseServerConfig(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.json;
        }
    }
}

// One bot in room 2 with the given lines and extra keys.
std::string botWith(const std::string& lines, const std::string& extraKeys = "") {
    return configWith(kRoom, R"(, "bots": [{"account": "b", "nickname": "小墨", "room": 2)" +
                                 extraKeys + R"(, "lines": )" + lines + "}]");
}

TEST(ServerConfig, ReadsBotRolesAndLines) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("bot-lines-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "pictures");
    std::ofstream(folder / "pictures" / "p.gif", std::ios::binary) << "GIF89a";
    const auto config = parseServerConfig(
        botWith(R"([{"text": "{emote:3}你好{emote:12}{emote:7}朋友们", "whisper": true,
                     "style": {"face": "黑体", "size": 12, "colour": "#FF8000", "bold": true,
                               "italic": true, "underline": true}},
                    {"picture": "pictures/p.gif"},
                    {"text": "{emote 不是表情}"}])",
                R"(, "sex": "F", "level": 18, "firstLineSeconds": 2, "lineIntervalSeconds": 7)"),
        folder.string());
    std::filesystem::remove_all(folder);

    const chatserver::BotConfig& bot = config.bots.at(0);
    EXPECT_EQ(bot.level, 0x12u);
    EXPECT_EQ(bot.sex, 'F');
    EXPECT_EQ(bot.firstLineSeconds, 2u);
    EXPECT_EQ(bot.lineIntervalSeconds, 7u);
    ASSERT_EQ(bot.lines.size(), 3u);
    using chatserver::LinePiece;
    const std::vector<LinePiece> pieces = {3, u"你好", 12, 7, u"朋友们"};
    EXPECT_EQ(bot.lines[0].pieces, pieces);
    EXPECT_TRUE(bot.lines[0].whisper);
    chat::TextStyle styled;
    styled.face = u"黑体";
    styled.size = 12;
    styled.colour = chat::rgb(0xFF, 0x80, 0x00);
    styled.bold = styled.italic = styled.underline = 1;
    EXPECT_EQ(bot.lines[0].style, styled);
    EXPECT_TRUE(bot.lines[0].picture.empty());

    EXPECT_TRUE(bot.lines[1].pieces.empty());
    EXPECT_EQ(bot.lines[1].picture, std::vector<uint8_t>({'G', 'I', 'F', '8', '9', 'a'}));
    chat::TextStyle usual;
    usual.colour = chatserver::kBotColour;
    EXPECT_EQ(bot.lines[1].style, usual);
    EXPECT_FALSE(bot.lines[1].whisper);
    EXPECT_EQ(bot.lines[2].pieces, std::vector<LinePiece>{u"{emote 不是表情}"});
}

TEST(ServerConfig, ReportsBadBotLinesWithTheirPath) {
    struct Case {
        std::string json;
        std::string message;
    };
    const std::string badEmote =
        "expected an emoticon number of at least 1 in \"{emote:N}\" at character ";
    const std::vector<Case> cases = {
        {botWith(R"([{"text": "好"}, {"text": "看{emote:0}"}])"),
         "bots[0].lines[1].text: " + badEmote + "1"},
        {botWith(R"([{"text": "{emote:x}"}])"), "bots[0].lines[0].text: " + badEmote + "0"},
        {botWith(R"([{"text": "{emote:}"}])"), "bots[0].lines[0].text: " + badEmote + "0"},
        {botWith(R"([{"text": "好{emote:12"}])"), "bots[0].lines[0].text: " + badEmote + "1"},
        {botWith(R"([{"text": "{emote:9999999999}"}])"),
         "bots[0].lines[0].text: " + badEmote + "0"},
        {botWith(R"([{"whisper": true}])"), "bots[0].lines[0]: a line needs a text or a picture"},
        {botWith(R"([{"text": ""}])"), "bots[0].lines[0]: a line needs a text or a picture"},
        {botWith(R"([{"picture": "none.gif"}])"),
         "bots[0].lines[0].picture: cannot read /nonexistent/none.gif"},
        {botWith(R"([{"text": "a", "style": {"colour": "#12345G"}}])"),
         "bots[0].lines[0].style.colour: expected a colour as \"#RRGGBB\""},
        {botWith(R"([{"text": "a", "style": {"size": 100}}])"),
         "bots[0].lines[0].style.size: expected a size from 6 to 72 points"},
        {botWith(R"([{"text": "a", "style": {"face": ""}}])"),
         "bots[0].lines[0].style.face: empty face"},
        {botWith(R"([{"text": "a", "whisper": "yes"}])"),
         "bots[0].lines[0].whisper: expected true or false"},
        {botWith(R"({"text": "a"})"), "bots[0].lines: expected an array"},
        {botWith("[]", R"(, "lineIntervalSeconds": 0)"),
         "bots[0].lineIntervalSeconds: expected a number of seconds from 1 to 86400"},
        {botWith("[]", R"(, "level": 32)"),
         "bots[0].level: expected role flags of 0x01, 0x02, 0x04, 0x08 and 0x10 (room owners "
         "and administrators come from the room's lists)"},
    };
    for (const Case& c : cases) {
        try {
            parseServerConfig(c.json, "/nonexistent");
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ConfigError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.json;
        }
    }
}

TEST(ServerConfig, TextThatIsNotJsonIsAConfigError) {
    EXPECT_THROW(parseServerConfig("{\"accounts\": ["), ConfigError);
    EXPECT_THROW(chatserver::loadServerConfig("/nonexistent/server.json"), ConfigError);
}

}  // namespace
