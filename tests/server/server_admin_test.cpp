// One administration request of each family, with the requester's role checked.
#include <gtest/gtest.h>

#include "server_test_client.h"

namespace servertest {
namespace {

namespace cmd = chat::cmd;

class ServerAdmin : public ServerFixture {};

TEST_F(ServerAdmin, KickNeedsTheRightAndSparesStaff) {
    auto demo = loggedIn("demo");  // holds the kick right in room 3 only
    auto victim = loggedIn("demo2");
    auto staff = loggedIn("staff");
    demo->enter(3);
    const auto victimRecord = victim->enter(3);
    const auto staffRecord = staff->enter(3);
    demo->drain();
    victim->drain();

    demo->send(cmd::KickChatter{3, staffRecord.chatterId});
    EXPECT_EQ(demo->expect<cmd::FailWithMessage>().roomId, 3);

    demo->send(cmd::KickChatter{3, victimRecord.chatterId});
    EXPECT_EQ(victim->expect<cmd::FailWithMessage>().text, u"您已被请出本房间");
    EXPECT_EQ(victim->expect<cmd::RoomClosed>().roomId, 3u);
    EXPECT_EQ(demo->expect<cmd::ChatterLeft>().chatterId, victimRecord.chatterId);
    EXPECT_EQ(staff->expect<cmd::ChatterLeft>().chatterId, victimRecord.chatterId);

    // Room 2: no right there.
    demo->enter(2);
    victim->enter(2);
    demo->drain();
    demo->send(cmd::KickChatter{2, victimRecord.chatterId});
    EXPECT_EQ(demo->expect<cmd::FailWithMessage>().text, u"您没有执行此操作的权限");
}

TEST_F(ServerAdmin, AnnouncementsRollingAndSystemMessagesAreBroadcast) {
    auto owner = loggedIn("owner");
    auto demo = loggedIn("demo");
    auto staff = loggedIn("staff");
    owner->enter(2);
    demo->enter(2);
    owner->drain();

    owner->send(cmd::SetAnnouncement{2, u"新公告"});
    EXPECT_EQ(demo->expect<cmd::AnnouncementUpdated>().text, u"新公告");
    owner->expect<cmd::AnnouncementUpdated>();

    demo->send(cmd::SetRollingMessage{2, 60, u"滚动"});
    demo->expect<cmd::FailWithMessage>();

    owner->send(cmd::SetRollingMessage{2, 60, u"滚动"});
    EXPECT_EQ(demo->expect<cmd::RollingMessage>(), (cmd::RollingMessage{2, 60, u"滚动"}));
    // Chatters outside the room get it with the room list, for when they enter later.
    for (auto* client : {demo.get(), staff.get()}) {
        const auto room = client->expect<cmd::RoomList>().rooms.at(2);
        EXPECT_EQ(room.rollingMessage, u"滚动");
        EXPECT_EQ(room.rollingIntervalSeconds, 60u);
    }
    owner->drain();

    staff->send(cmd::SetSystemMessage{0, u"维护通知"});
    EXPECT_EQ(demo->expect<cmd::SystemMessage>().text, u"维护通知");
    EXPECT_EQ(owner->expect<cmd::SystemMessage>().text, u"维护通知");
}

TEST_F(ServerAdmin, AccountLevelAndVipNeedTheSystemAdministrator) {
    auto admin = loggedIn("admin");
    auto staff = loggedIn("staff");
    auto demo = loggedIn("demo");
    demo->enter(3);
    admin->enter(3);
    demo->drain();

    staff->send(cmd::SetAccountLevel{0, "demo", 0x10});
    EXPECT_NE(staff->expect<cmd::SetAccountLevelResult>().result, 0);
    admin->send(cmd::SetAccountLevel{0, "nobody", 0x10});
    EXPECT_NE(admin->expect<cmd::SetAccountLevelResult>().result, 0);
    admin->send(cmd::SetAccountLevel{0, "demo", 0x10});
    EXPECT_EQ(admin->expect<cmd::SetAccountLevelResult>().result, 0);

    cmd::GiveVip gift;
    gift.gift.hours = 24;
    gift.gift.roomId = 3;
    gift.gift.passwordDigest = digestOf("wrong");
    gift.accounts = {"demo"};
    admin->send(gift);
    EXPECT_EQ(admin->expect<cmd::FailWithMessage>().text, u"操作密码错误");
    gift.gift.passwordDigest = digestOf("op");
    admin->send(gift);
    const auto notice = demo->expect<cmd::VipGiven>();
    EXPECT_EQ(notice.accounts, std::vector<std::string>{"demo"});
    EXPECT_EQ(notice.gift.hours, 24u);

    admin->drain();
    admin->send(cmd::QueryRandomVip{3});
    auto draw = admin->expect<cmd::RandomVipSettings>().draw;
    EXPECT_EQ(draw.roomId, 3u);
    draw.winners = 5;
    admin->send(cmd::SetRandomVip{digestOf("op"), draw});
    EXPECT_EQ(admin->expect<cmd::SetRandomVipResult>().result, 0u);
    admin->send(cmd::QueryRandomVip{3});
    EXPECT_EQ(admin->expect<cmd::RandomVipSettings>().draw.winners, 5u);
}

TEST_F(ServerAdmin, RoomSettingsAndEntryRoles) {
    auto owner = loggedIn("owner");
    auto demo = loggedIn("demo");
    owner->enter(2);
    demo->enter(2);
    owner->drain();

    chat::RoomSettingBlock settings;
    settings.roomId = 2;
    settings.speechIntervalMs = 60000;
    settings.maxCharacters = 100;
    demo->send(cmd::SetRoomSettings{settings});
    demo->expect<cmd::FailWithMessage>();
    owner->send(cmd::SetRoomSettings{settings});
    EXPECT_EQ(demo->expect<cmd::RoomSettings>().settings.maxCharacters, 100u);
    owner->drain();
    // The speech interval is enforced.
    demo->send(chatMessage(2, 0, u"一"));
    demo->expect<cmd::ChatMessage>();
    demo->send(chatMessage(2, 0, u"二"));
    EXPECT_EQ(demo->expect<cmd::FailWithMessage>().text, u"您发言太快了，请稍后再发");
    owner->drain();

    owner->send(cmd::SetAllowedRoles{2, 0x01});
    EXPECT_EQ(owner->expect<cmd::AllowedRoles>(), (cmd::AllowedRoles{2, 0x01}));
    auto other = loggedIn("demo2");
    other->send(cmd::EnterRoom{2, recordFor("x")});
    EXPECT_EQ(other->expect<cmd::EnterRoomAnswer>().result, 2);
    other->send(cmd::QueryAllowedRoles{2});
    EXPECT_EQ(other->expect<cmd::AllowedRoles>().allowLevel, 0x01u);
}

TEST_F(ServerAdmin, ForbidLoginRemovesTheChatterAndKeepsThemOut) {
    auto owner = loggedIn("owner");
    auto demo = loggedIn("demo");
    owner->enter(2);
    demo->enter(2);
    owner->drain();

    owner->send(limitOn(2, "demo", cmd::LimitKind::ForbidLogin));
    EXPECT_EQ(demo->expect<cmd::RoomClosed>().roomId, 2u);
    owner->expect<cmd::ChatterLeft>();
    demo->send(cmd::EnterRoom{2, recordFor("x")});
    EXPECT_EQ(demo->expect<cmd::EnterRoomAnswer>().result, 3);
}

TEST_F(ServerAdmin, OwnersAdministratorsAndRights) {
    auto admin = loggedIn("admin");
    auto owner = loggedIn("owner");
    auto demo = loggedIn("demo");

    demo->send(cmd::AddRoomAdmin{2, "demo"});
    demo->expect<cmd::FailWithMessage>();
    owner->send(cmd::AddRoomAdmin{2, "demo2"});
    const auto admins = owner->expect<cmd::RoomAdmins>();
    EXPECT_EQ(admins.admins, (std::map<std::string, uint32_t>{{"demo2", 0x40}, {"owner", 0x20}}));
    owner->send(cmd::DeleteRoomAdmin{2, "demo2"});
    EXPECT_EQ(owner->expect<cmd::RoomAdmins>().admins.size(), 1u);

    admin->send(cmd::QueryRoomOwners{2});
    const auto owners = admin->expect<cmd::RoomOwners>();
    EXPECT_EQ(owners.owners, std::vector<std::string>{"owner"});
    EXPECT_EQ(owners.room.roomName, u"新手大厅");
    cmd::SetRoomOwners setOwners{owners.room, {"owner", "demo3"}};
    admin->send(setOwners);
    admin->expect<cmd::Success>();
    admin->send(cmd::QueryRoomOwners{2});
    EXPECT_EQ(admin->expect<cmd::RoomOwners>().owners.size(), 2u);

    // The owner grants demo the announcement right in room 2; demo hears its new rights.
    cmd::QueryUserRights query{2, "demo"};
    owner->send(query);
    auto rights = owner->expect<cmd::UserRights>();
    EXPECT_EQ(rights.block.account, "demo");
    EXPECT_EQ(rights.rightsStream, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    cmd::SetUserRights grant;
    grant.block = rights.block;
    grant.rightsStream = {2, 0, 0, 0, 0x14, 0x27, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    owner->send(grant);
    owner->expect<cmd::Success>();
    const auto own = demo->expect<cmd::SelfRights>();
    const Bytes expected = {2,    0,    0, 0, 0x14, 0x27, 0, 0, 0, 0, 0, 0, 3,    0,    0,    0,
                            0x13, 0x27, 0, 0, 0x17, 0x27, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(own.rightsStream, expected);
    demo->enter(2);
    demo->send(cmd::SetAnnouncement{2, u"我来发公告"});
    EXPECT_EQ(demo->expect<cmd::AnnouncementUpdated>().text, u"我来发公告");
}

TEST_F(ServerAdmin, ReloadNoticesSendTheListsFromTheFileAgain) {
    auto demo = loggedIn("demo");
    auto staff = loggedIn("staff");
    demo->send(cmd::NotifyKeywordsUpdated{});
    demo->expect<cmd::FailWithMessage>();

    std::string json = testConfigJson();
    auto insertAfter = [&json](const std::string& anchor, const std::string& added) {
        json.insert(json.find(anchor) + anchor.size(), added);
    };
    insertAfter(R"("外挂")", R"(, "刷钻")");
    insertAfter(R"({"id": 3, "name": "攻略"})", R"(, {"id": 5, "name": "新房间"})");
    writeConfig(json);
    staff->send(cmd::NotifyKeywordsUpdated{});
    for (TestClient* client : {demo.get(), staff.get()}) {
        EXPECT_EQ(client->expect<cmd::RoomList>().rooms.at(5).name, u"新房间");
        EXPECT_EQ(client->expect<cmd::KeywordList>().words.size(), 2u);
        client->expect<cmd::InvalidNicknameList>();
    }

    writeConfig("{\"accounts\": 1}");
    staff->send(cmd::NotifyRoomListUpdated{});
    EXPECT_EQ(staff->expect<cmd::FailWithMessage>().text,
              u"配置文件有误：accounts: expected an array");
}

}  // namespace
}  // namespace servertest
