// Rooms and chat: entering and leaving, chat fan-out, whispers, private rooms, nicknames, bots.
#include <gtest/gtest.h>

#include "admin/room_limit.h"
#include "server_test_client.h"
#include "util/byte_stream.h"

namespace servertest {
namespace {

namespace cmd = chat::cmd;

class ServerRooms : public ServerFixture {};

TEST_F(ServerRooms, EnteringAndLeavingReachEveryoneInTheRoom) {
    auto a = loggedIn("demo");
    auto b = loggedIn("demo2");
    a->enter(3, "阿甲");

    b->send(cmd::EnterRoom{3, recordFor("阿乙")});
    EXPECT_EQ(b->expect<cmd::EnterRoomAnswer>().result, 0);
    const auto own = b->expect<cmd::ChatterEntered>();  // the newcomer hears itself too
    EXPECT_EQ(own.record.nickname, u"阿乙");
    EXPECT_EQ(own.record.account, "demo2");
    EXPECT_EQ(own.record.ip, 0x0100007Fu);  // 127.0.0.1 as on the wire
    EXPECT_EQ(a->expect<cmd::ChatterEntered>().record.chatterId, own.record.chatterId);
    b->drain();

    b->send(cmd::RequestRoomChatterList{3});
    const auto list = b->expect<cmd::RoomChatterList>();
    EXPECT_EQ(list.roomId, 3u);
    ASSERT_EQ(list.chatters.size(), 2u);

    b->send(cmd::LeaveRoom{3});
    EXPECT_EQ(a->expect<cmd::ChatterLeft>().chatterId, own.record.chatterId);

    b->enter(3);
    a->expect<cmd::ChatterEntered>();
    b.reset();  // disconnect
    EXPECT_EQ(a->expect<cmd::ChatterLeft>().chatterId, own.record.chatterId);
}

TEST_F(ServerRooms, EntryIsRefusedWithAReason) {
    struct Case {
        const char* name;
        std::string account;
        uint32_t room;
        int32_t result;
    };
    const std::vector<Case> cases = {
        {"unknown room", "demo", 77, 1},
        {"VIP room for an ordinary user", "demo", 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto client = loggedIn(c.account);
        client->send(cmd::EnterRoom{c.room, recordFor("x")});
        const auto answer = client->expect<cmd::EnterRoomAnswer>();
        EXPECT_EQ(answer.result, c.result);
        EXPECT_FALSE(answer.reason.empty());
    }
    auto staff = loggedIn("staff");
    staff->enter(4);  // staff may enter every room
}

TEST_F(ServerRooms, ABadNicknameIsReplacedByTheAccount) {
    auto a = loggedIn("demo");
    a->send(cmd::EnterRoom{3, recordFor("客服小王")});
    a->expect<cmd::EnterRoomAnswer>();
    EXPECT_EQ(a->expect<cmd::ChatterEntered>().record.nickname, u"demo");
}

TEST_F(ServerRooms, PublicMessagesReachTheRoomAndWhispersOnlyTheirTarget) {
    auto a = loggedIn("demo");
    auto b = loggedIn("demo2");
    auto c = loggedIn("demo3");
    const auto aRecord = a->enter(3, "甲");
    const auto bRecord = b->enter(3, "乙");
    c->enter(3, "丙");
    a->drain();
    b->drain();

    a->send(chatMessage(3, 0, u"大家好"));
    for (TestClient* client : {a.get(), b.get(), c.get()}) {
        const auto heard = client->expect<cmd::ChatMessage>();
        EXPECT_EQ(heard.speakerId, static_cast<int32_t>(aRecord.chatterId));
        EXPECT_EQ(heard.nickname, u"甲");  // the server stamps the room nickname
        EXPECT_EQ(textOf(heard), u"大家好");
    }

    a->send(chatMessage(3, static_cast<int32_t>(bRecord.chatterId), u"悄悄话"));
    EXPECT_EQ(textOf(a->expect<cmd::ChatMessage>()), u"悄悄话");
    EXPECT_EQ(textOf(b->expect<cmd::ChatMessage>()), u"悄悄话");
    // c's next message is the following public one: the whisper never reached it.
    b->send(chatMessage(3, 0, u"收到"));
    EXPECT_EQ(textOf(c->expect<cmd::ChatMessage>()), u"收到");

    c->send(chatMessage(2, 0, u"不在这个房间"));
    EXPECT_EQ(c->expect<cmd::FailWithMessage>().roomId, 0);
}

TEST_F(ServerRooms, AMutedChatterIsStoppedAndOthersGoOn) {
    auto owner = loggedIn("owner");
    auto a = loggedIn("demo");
    owner->enter(2);
    a->enter(2);
    owner->drain();

    owner->send(limitOn(2, "demo", cmd::LimitKind::Mute));

    owner->send(cmd::QueryRoomLimits{cmd::LimitKind::Mute, 2});
    const auto reply = owner->expect<cmd::RoomLimits>();
    chat::RoomLimitList limits;
    tekna::InputByteStream in(reply.limitStream);
    limits.read(in);
    ASSERT_TRUE(limits.entries().contains(2));
    // The end time travels as days since 30 December 1899: 1 January 2099 is day 72686.
    EXPECT_EQ(limits.entries().at(2)->accounts(), (std::map<std::string, double>{{"demo", 72686}}));
    owner->send(cmd::QueryRoomLimits{cmd::LimitKind::ForbidLogin, 2});
    EXPECT_EQ(owner->expect<cmd::RoomLimits>().limitStream.size(), 12u);  // room 2, 0, -1

    a->send(chatMessage(2, 0, u"说话"));
    const auto refused = a->expect<cmd::FailWithMessage>();
    EXPECT_EQ(refused.roomId, 2);
    EXPECT_EQ(refused.text, u"您已被禁言，暂时不能发言");
    owner->send(chatMessage(2, 0, u"房主说话"));
    EXPECT_EQ(textOf(a->expect<cmd::ChatMessage>()), u"房主说话");

    cmd::DeleteRoomLimit unmute;
    unmute.roomId = 2;
    unmute.kind = cmd::LimitKind::Mute;
    unmute.target.account = "demo";
    owner->send(unmute);
    owner->drain();
    a->drain();
    a->send(chatMessage(2, 0, u"又能说话了"));
    EXPECT_EQ(textOf(owner->expect<cmd::ChatMessage>()), u"又能说话了");
}

TEST_F(ServerRooms, PrivateRoomsNeedAPrivilegedPartner) {
    auto a = loggedIn("demo");
    auto b = loggedIn("demo2");
    auto staff = loggedIn("staff");
    a->enter(3);
    const auto bRecord = b->enter(3);
    const auto staffRecord = staff->enter(3);
    a->drain();

    a->send(cmd::PrivateChatRequest{bRecord.chatterId, "", 3});
    EXPECT_NE(a->expect<cmd::PrivateChatRefused>().result, 0);

    a->send(cmd::PrivateChatRequest{staffRecord.chatterId, "", 3});
    const auto created = a->expect<cmd::PrivateRoomCreated>();
    EXPECT_EQ(staff->expect<cmd::PrivateRoomCreated>(), created);
    EXPECT_EQ(created.second.chatterId, staffRecord.chatterId);
    a->send(chatMessage(created.roomId, 0, u"私聊"));
    a->expect<cmd::ChatMessage>();
    EXPECT_EQ(staff->expect<cmd::ChatMessage>().roomId, static_cast<int32_t>(created.roomId));
}

TEST_F(ServerRooms, NicknameChangesAreCheckedAndAnnounced) {
    auto a = loggedIn("demo");
    auto b = loggedIn("demo2");
    auto aRecord = a->enter(3, "甲");
    b->enter(3);
    a->drain();

    aRecord.nickname = u"  新名字 ";
    aRecord.sex = 'F';
    a->send(cmd::ChangeOwnChatterRecord{aRecord, 3});
    const auto changed = b->expect<cmd::ChatterRecordChanged>();
    EXPECT_EQ(changed.record.nickname, u"新名字");
    EXPECT_EQ(changed.record.sex, 'F');
    a->expect<cmd::ChatterRecordChanged>();

    for (const std::u16string& bad : {std::u16string(u"  "), std::u16string(u"卖外挂")}) {
        aRecord.nickname = bad;
        a->send(cmd::ChangeOwnChatterRecord{aRecord, 3});
        EXPECT_EQ(a->expect<cmd::FailWithMessage>().roomId, 3);
    }
}

TEST_F(ServerRooms, TheBotGreetsNewcomersOnceTheyKnowTheRoomAndAnswers) {
    auto a = loggedIn("demo");
    a->send(cmd::EnterRoom{2, recordFor("阿甲")});
    a->expect<cmd::EnterRoomAnswer>();
    a->expect<cmd::ChatterEntered>();
    a->expect<cmd::RoomSettings>();
    EXPECT_EQ(a->expect<cmd::AnnouncementUpdated>().text, u"欢迎");
    // Before the newcomer has the room's chatters it would not know who greets.
    a->send(cmd::RequestRoomChatterList{2});
    a->expect<cmd::RoomChatterList>();
    const auto greeting = a->expect<cmd::ChatMessage>();
    EXPECT_EQ(greeting.nickname, u"小墨");
    EXPECT_EQ(textOf(greeting), u"欢迎阿甲");

    a->send(chatMessage(2, 0, u"求帮助"));
    a->expect<cmd::ChatMessage>();  // own echo
    EXPECT_EQ(textOf(a->expect<cmd::ChatMessage>()), u"我来帮你");
    a->send(chatMessage(2, greeting.speakerId, u"你是谁"));
    a->expect<cmd::ChatMessage>();
    const auto whisper = a->expect<cmd::ChatMessage>();
    EXPECT_EQ(textOf(whisper), u"不懂");
    EXPECT_NE(whisper.targetId, 0);
}

}  // namespace
}  // namespace servertest
