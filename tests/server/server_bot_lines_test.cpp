// Bots that speak on their own: their lines reach the room as chat messages that the client's
// parser reads back whole, in the bot's role, and whispers reach only the newest chatter.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "content/message_parser.h"
#include "server_test_client.h"

namespace servertest {
namespace {

namespace cmd = chat::cmd;

// A few bytes standing in for a picture file: the server passes them on unread.
const Bytes kPicture = {'G', 'I', 'F', '8', '9', 'a', 0x02, 0x00, 0x01, 0x00, 0x00, 0xFF, 0x3B};

class ServerBotLines : public ServerFixture {
  protected:
    ServerBotLines()
        : picturePath_(std::filesystem::temp_directory_path() /
                       ("bot-line-" + std::to_string(::getpid()) + ".gif")) {
        std::ofstream(picturePath_, std::ios::binary)
            .write(reinterpret_cast<const char*>(kPicture.data()),
                   static_cast<std::streamsize>(kPicture.size()));
        // Room 3: the styled line with emoticons and a picture. Room 4 (VIP only): whispers.
        configJson_ = testConfigJson(
            R"(, {"account": "bot_guide", "nickname": "攻略君", "sex": "M", "level": 18,
                  "room": 3, "firstLineSeconds": 1, "lineIntervalSeconds": 1,
                  "lines": [{"text": "看{emote:12}这里{emote:3}",
                             "style": {"face": "黑体", "size": 14, "colour": "#C00000",
                                       "bold": true, "underline": true},
                             "picture": ")" +
            picturePath_.filename().string() + R"("}]},
                {"account": "bot_vip", "nickname": "星辰", "level": 1, "room": 4,
                 "firstLineSeconds": 1, "lineIntervalSeconds": 1,
                 "lines": [{"text": "悄悄告诉你", "whisper": true}]})");
    }
    ~ServerBotLines() override { std::filesystem::remove(picturePath_); }

    // Enters the room and asks for its chatters as the client does once the room is open.
    cmd::RoomChatterList arrive(TestClient& client, uint32_t roomId) {
        client.enter(roomId);
        client.send(cmd::RequestRoomChatterList{roomId});
        return client.expect<cmd::RoomChatterList>();
    }

    std::filesystem::path picturePath_;
};

TEST_F(ServerBotLines, ALineArrivesWithItsStyleEmoticonsAndPicture) {
    auto client = loggedIn("demo");
    const auto list = arrive(*client, 3);
    ASSERT_EQ(list.chatters.size(), 2u);
    const chat::ChatterRecord& bot =
        list.chatters[0].nickname == u"攻略君" ? list.chatters[0] : list.chatters[1];
    EXPECT_EQ(bot.roleFlags, 0x12u);  // customer service and instructor
    EXPECT_EQ(bot.sex, 'M');

    const Bytes said = client->next();
    const auto parsed = chat::parseChatMessage(said, 0, true);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->header.roomId, 3);
    EXPECT_EQ(parsed->header.speakerId, static_cast<int32_t>(bot.chatterId));
    EXPECT_EQ(parsed->header.targetId, 0);
    EXPECT_EQ(parsed->header.nickname, u"攻略君");
    chat::TextStyle style;
    style.face = u"黑体";
    style.size = 14;
    style.colour = chat::rgb(0xC0, 0, 0);
    style.bold = 1;
    style.underline = 1;
    EXPECT_EQ(parsed->header.style, style);
    const std::vector<chat::DrawableSection> sections = {
        chat::DrawTextSection{u"看"}, chat::DrawEmoteSection{12}, chat::DrawTextSection{u"这里"},
        chat::DrawEmoteSection{3}, chat::DrawPictureSection{kPicture}};
    EXPECT_EQ(parsed->sections, sections);
    EXPECT_EQ(parsed->plainText, u"看这里");
}

TEST_F(ServerBotLines, AWhisperLineReachesOnlyTheNewestChatter) {
    auto first = loggedIn("staff");  // room 4 is for VIPs and staff
    auto second = loggedIn("admin");
    const auto firstId = static_cast<int32_t>(first->enter(4).chatterId);
    first->send(cmd::RequestRoomChatterList{4});
    first->expect<cmd::RoomChatterList>();
    const auto whisper = first->expect<cmd::ChatMessage>();
    EXPECT_EQ(whisper.targetId, firstId);
    EXPECT_EQ(textOf(whisper), u"悄悄告诉你");

    const auto secondId = static_cast<int32_t>(second->enter(4).chatterId);
    second->send(cmd::RequestRoomChatterList{4});
    second->expect<cmd::RoomChatterList>();
    first->expect<cmd::ChatterEntered>();
    EXPECT_EQ(second->expect<cmd::ChatMessage>().targetId, secondId);
    EXPECT_TRUE(first->quietFor(1500));  // a whisper a second, all to the newcomer

    second.reset();
    first->expect<cmd::ChatterLeft>();
    EXPECT_EQ(first->expect<cmd::ChatMessage>().targetId, firstId);
}

}  // namespace
}  // namespace servertest
