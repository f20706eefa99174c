// The chat client's processors and rules, fed packets through its framer without a socket.
#include <gtest/gtest.h>

#include "admin/account_level.h"
#include "client/client_processors.h"
#include "content/chat_message.h"
#include "fakes/fake_windows.h"
#include "fakes/server_packets.h"
#include "protocol/commands/commands.h"
#include "util/byte_stream.h"
#include "util/little_endian.h"
#include "util/text_codec.h"

namespace {

using namespace chat;
using namespace fakes;

constexpr uint32_t kOwnId = 100;
constexpr int32_t kRoom = 7;

std::vector<uint8_t> wordList(CommandId id, std::initializer_list<std::u16string> words) {
    std::vector<uint8_t> packet = makePacket(static_cast<uint16_t>(id), 0);
    for (const std::u16string& word : words) {
        for (const char16_t unit : word) {
            packet.push_back(static_cast<uint8_t>(unit));
            packet.push_back(static_cast<uint8_t>(unit >> 8));
        }
        packet.push_back(0);
        packet.push_back(0);
    }
    sealPacketSize(packet);
    return packet;
}

// A logged-in user (id 100, account "tester") with room 7 open and the given chatters in it.
class OpenRoomTest : public ::testing::Test {
  protected:
    void SetUp() override { openRoom(0); }

    void openRoom(uint32_t ownRoles) {
        rig.logIn(kOwnId, ownRoles);
        cmd::RoomList list;
        list.rooms[kRoom] = roomDescription(kRoom, u"大厅");
        list.rooms[8] = roomDescription(8, u"二厅");
        ASSERT_TRUE(rig.receive(buildPacket(list)));
        ASSERT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""})));
        page = rig.mainWindow.page(kRoom);
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(rig.receive(
            chatterList(kRoom, {chatter(kOwnId, "tester", u"me"), chatter(200, "other", u"小王"),
                                chatter(300, "service", u"客服一", 0x02)})));
    }

    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const ShownMessage& shown : rig.messages.shown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    ClientRig rig;
    FakeRoomPage* page = nullptr;
};

TEST(ChatClientRegistryTest, RegistersTheThirtyNineServerCommands) {
    const auto processors = makeChatClientProcessors();
    std::vector<uint16_t> ids;
    for (const auto& [id, processor] : processors) {
        ids.push_back(id);
    }
    EXPECT_EQ(ids, (std::vector<uint16_t>{1,  2,  3,  5,  7,  9,  10, 12, 13, 14, 15, 17, 18,
                                          19, 20, 23, 26, 27, 33, 34, 38, 40, 42, 47, 49, 50,
                                          52, 54, 60, 62, 64, 66, 68, 73, 77, 79, 82, 87, 89}));
}

TEST(ChatClientLifecycleTest, VerdictsOfTheConnectionCommands) {
    struct Case {
        const char* name;
        std::vector<uint8_t> packet;
        bool verdict;
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases = {
        {"heartbeat without a worker", buildPacket(cmd::Heartbeat{}), true, {}},
        {"answer to the speaker", buildPacket(cmd::ChatAnswer{}), true, {}},
        {"client version refused", buildPacket(cmd::ClientVersionRefused{}), false, {}},
        {"chatter disabled", buildPacket(cmd::ChatterDisabled{}), false, {}},
        {"login refused with code 4",
         buildPacket(cmd::LoginRefused{4, u"whatever"}),
         false,
         {"登录失败：无法连接聊天服务器"}},
        {"login refused with another code",
         buildPacket(cmd::LoginRefused{2, u"密码错误"}),
         false,
         {"登录失败：密码错误"}},
        {"kicked out",
         buildPacket(cmd::KickedOut{17, u"重复登录"}),
         false,
         {"服务器已断开与您的连接！\r\n代码：17\r\n原因：重复登录"}},
        {"empty room list",
         buildPacket(cmd::RoomList{}),
         false,
         {"收到服务器发来的房间列表为空！"}},
        {"notice without a room",
         buildPacket(cmd::FailWithMessage{0, u"操作失败"}),
         true,
         {"操作失败"}},
        {"notice for a room without a page",
         buildPacket(cmd::FailWithMessage{9, u"操作失败"}),
         true,
         {"没有这个房间"}},
        {"short chatter list", makePacket(12, 10), true, {"无效数据"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClientRig rig;
        rig.attachWindows();
        EXPECT_EQ(rig.receive(c.packet), c.verdict);
        std::vector<std::string> shown;
        for (const ShownMessage& message : rig.messages.shown()) {
            shown.push_back(message.text);
        }
        EXPECT_EQ(shown, c.boxes);
    }
}

TEST(ChatClientLifecycleTest, ErrorsOfProcessorsShowInAnErrorInformationBoxAndAreLogged) {
    ClientRig rig;
    rig.attachWindows();
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterLeft{9, 5})));
    const auto shown = rig.messages.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "没有这个房间");
    EXPECT_EQ(shown[0].caption, tekna::MessageCaption::Error);
    EXPECT_EQ(rig.log->messages(), std::vector<std::string>{"没有这个房间"});
}

TEST(ChatClientLifecycleTest, UnknownCommandIsLoggedAndTheNextPacketOfTheReadIsHandled) {
    ClientRig rig;
    rig.attachWindows();
    std::vector<uint8_t> stream = makePacket(999, 4);
    const std::vector<uint8_t> counts = buildPacket(cmd::RoomChatterCounts{{{1, 2}}});
    stream.insert(stream.end(), counts.begin(), counts.end());
    EXPECT_TRUE(rig.client->feed(stream));
    EXPECT_EQ(rig.log->messages(), std::vector<std::string>{"未知数据包：#999"});
    EXPECT_EQ(rig.mainWindow.countNotices, 1);
    EXPECT_EQ(rig.client->roomChatterCounts().size(), 1u);
}

TEST(ChatClientLifecycleTest, LoginAcceptedTakesIdRolesAndTheAccountAsNickname) {
    ClientRig rig;
    rig.identity.account = "abcdefghijklmno";  // 15 characters
    rig.logIn(42, 0x10);
    const ChatterRecord& own = rig.client->ownRecord();
    EXPECT_EQ(own.chatterId, 42u);
    EXPECT_EQ(own.roleFlags, 0x10u);
    EXPECT_EQ(own.nickname, u"abcdefghijk");
    EXPECT_EQ(own.reserved92, 255u);
    EXPECT_EQ(own.sex, 'U');
    EXPECT_EQ(rig.prompts.closeAllCount(), 1);
}

TEST(ChatClientLifecycleTest, ServerTextsAreLogged) {
    ClientRig rig;
    rig.attachWindows();
    EXPECT_TRUE(rig.receive(buildPacket(cmd::Success{"ok"})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::Fail{"bad"})));
    EXPECT_EQ(rig.log->messages(),
              (std::vector<std::string>{"收到服务器应答：ok", "服务器返回Fail信息：bad"}));
}

TEST(ChatClientRoomsTest, PreparedNicknameFollowsTheStoredOneAndTheWordLists) {
    struct Case {
        const char* name;
        uint32_t roles;
        std::u16string stored;
        char storedSex;
        std::u16string nickname;
        uint8_t sex;
    };
    const std::vector<Case> cases = {
        {"nothing stored", 0, u"", 'U', u"tester", 'U'},
        {"stored", 0, u"小李", 'F', u"小李", 'F'},
        {"stored with a bad word", 0, u"坏蛋小李", 'M', u"tester", 'M'},
        {"staff keep a bad word", 0x02, u"坏蛋小李", 'M', u"坏蛋小李", 'M'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClientRig rig;
        rig.logIn(kOwnId, c.roles);
        ASSERT_TRUE(rig.receive(wordList(CommandId::InvalidNicknameList, {u"坏蛋"})));
        if (!c.stored.empty()) {
            rig.config->writeRoomNickname("tester", kRoom, RoomNickname{c.stored, c.storedSex});
        }
        const ChatterRecord record = rig.client->prepareOwnRecord(kRoom);
        EXPECT_EQ(record.nickname, c.nickname);
        EXPECT_EQ(record.sex, c.sex);
    }
}

TEST(ChatClientRoomsTest, EnteringARoomNotYetListedShowsWhyAndSendsNothing) {
    ClientRig rig;
    rig.logIn(kOwnId);
    rig.client->enterRoom(kRoom);
    ASSERT_EQ(rig.messages.shown().size(), 1u);
    EXPECT_EQ(rig.messages.shown()[0].text, "房间信息尚未获取，请稍后重试……");
}

TEST(ChatClientRoomsTest, EnterRoomAnswerOpensTheTabAndStartsTheRollingMessage) {
    ClientRig rig;
    rig.logIn(kOwnId);
    cmd::RoomList list;
    list.rooms[kRoom] = roomDescription(kRoom, u"大厅");
    list.rooms[kRoom].rollingMessage = u"欢迎光临";
    list.rooms[kRoom].rollingIntervalSeconds = 30;
    ASSERT_TRUE(rig.receive(buildPacket(list)));
    EXPECT_EQ(rig.mainWindow.selectionRooms, 1u);

    EXPECT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 3, ""})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 3, utf8ToGbk("房间已满")})));
    EXPECT_EQ(rig.mainWindow.page(kRoom), nullptr);
    ASSERT_EQ(rig.messages.shown().size(), 2u);
    EXPECT_EQ(rig.messages.shown()[0].text, "无法进入房间");
    EXPECT_EQ(rig.messages.shown()[1].text, "房间已满");

    EXPECT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""})));
    FakeRoomPage* page = rig.mainWindow.page(kRoom);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(rig.mainWindow.tabs[kRoom].title, u"大厅");
    EXPECT_EQ(rig.mainWindow.tabs[kRoom].attributes, 0x08u);
    EXPECT_FALSE(rig.mainWindow.tabs[kRoom].privateRoom);
    EXPECT_EQ(page->notices, std::vector<std::u16string>{u"欢迎光临"});
    EXPECT_EQ(page->rollingTimers, std::vector<uint32_t>{30000});
}

TEST_F(OpenRoomTest, ChattersEnterAndLeave) {
    EXPECT_EQ(page->list.size(), 3u);
    rig.config->addToBlackList("blocked");
    EXPECT_TRUE(
        rig.receive(buildPacket(cmd::ChatterEntered{kRoom, chatter(400, "blocked", u"黑")})));
    EXPECT_EQ(page->list.at(400), false);
    EXPECT_TRUE(rig.client->chattersOf(kRoom).contains(400));

    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterLeft{kRoom, kOwnId})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterLeft{kRoom, 0})));
    EXPECT_EQ(page->list.size(), 4u);
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterLeft{kRoom, 200})));
    EXPECT_FALSE(page->list.contains(200));
    EXPECT_FALSE(rig.client->chattersOf(kRoom).contains(200));
    EXPECT_EQ(page->removedAddressees, std::vector<int32_t>{200});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenRoomTest, OwnEntryAsksForTheListAndKeepsTheRoomRecord) {
    rig.config->writeRoomNickname("tester", kRoom, RoomNickname{u"阿明", 'M'});
    ChatterRecord own = chatter(kOwnId, "tester", u"tester");
    own.roleFlags = 0x20;
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterEntered{kRoom, own})));
    const ChatterRecord* inRoom = rig.client->ownRecordInRoom(kRoom);
    ASSERT_NE(inRoom, nullptr);
    EXPECT_EQ(inRoom->nickname, u"阿明");
    EXPECT_EQ(inRoom->roleFlags, 0x20u);
    EXPECT_EQ(rig.client->ownRecord().nickname, u"阿明");
    EXPECT_FALSE(page->list.contains(kOwnId) && page->list.size() == 4u);
}

TEST_F(OpenRoomTest, OwnEntryWithoutAStoredNicknameKeepsTheAccountAsNickname) {
    EXPECT_TRUE(
        rig.receive(buildPacket(cmd::ChatterEntered{kRoom, chatter(kOwnId, "tester", u"")})));
    EXPECT_EQ(rig.client->ownRecord().nickname, u"tester");
    EXPECT_EQ(rig.client->ownRecordInRoom(kRoom)->nickname, u"tester");
}

TEST_F(OpenRoomTest, ARenamingWritesANoticeUnlessOnlyTheSexChanged) {
    ChatterRecord renamed = chatter(200, "other", u"老王");
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterRecordChanged{renamed, kRoom})));
    renamed.sex = 'F';
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterRecordChanged{renamed, kRoom})));
    EXPECT_EQ(page->updated.size(), 2u);
    EXPECT_EQ(page->notices, std::vector<std::u16string>{u"小王已改名为：老王"});
    EXPECT_EQ(rig.client->chattersOf(kRoom).at(200).sex, 'F');

    ASSERT_TRUE(rig.receive(wordList(CommandId::InvalidNicknameList, {u"坏蛋"})));
    EXPECT_TRUE(
        rig.receive(buildPacket(cmd::ChatterRecordChanged{chatter(200, "other", u"坏蛋"), kRoom})));
    EXPECT_EQ(rig.client->chattersOf(kRoom).at(200).nickname, u"老王");
    // Another room, an unknown chatter: dropped without a word.
    EXPECT_TRUE(rig.receive(buildPacket(cmd::ChatterRecordChanged{renamed, 9})));
    EXPECT_TRUE(
        rig.receive(buildPacket(cmd::ChatterRecordChanged{chatter(555, "x", u"y"), kRoom})));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenRoomTest, OwnRenamingIsStoredForTheRoom) {
    EXPECT_TRUE(rig.receive(
        buildPacket(cmd::ChatterRecordChanged{chatter(kOwnId, "tester", u"新名"), kRoom})));
    EXPECT_EQ(rig.config->readRoomNickname("tester", kRoom), (RoomNickname{u"新名", 'M'}));
}

TEST(ChatClientRoomsTest, StaffSeeTheAddressesOfARenamedChatter) {
    ClientRig rig;
    rig.logIn(kOwnId, AccountLevel::kCustomerService);
    cmd::RoomList list;
    list.rooms[kRoom] = roomDescription(kRoom, u"大厅");
    ASSERT_TRUE(rig.receive(buildPacket(list)));
    ASSERT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""})));
    ChatterRecord other = chatter(200, "other", u"小王");
    other.ip = 0x0401A8C0;  // 192.168.1.4
    other.mac = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
    ASSERT_TRUE(rig.receive(chatterList(kRoom, {other})));
    other.nickname = u"老王";
    ASSERT_TRUE(rig.receive(buildPacket(cmd::ChatterRecordChanged{other, kRoom})));
    EXPECT_EQ(rig.mainWindow.page(kRoom)->notices,
              std::vector<std::u16string>{u"小王已改名为：老王 (other 192.168.1.4 001A2B3C4D5E)"});
}

TEST_F(OpenRoomTest, OwnNicknameChangeIsCheckedBeforeItIsSent) {
    ASSERT_TRUE(rig.receive(wordList(CommandId::KeywordList, {u"敏感"})));
    EXPECT_FALSE(rig.client->changeOwnNickname(chatter(kOwnId, "tester", u"  \t "), kRoom));
    EXPECT_FALSE(rig.client->changeOwnNickname(chatter(kOwnId, "tester", u"很敏感"), kRoom));
    EXPECT_TRUE(rig.client->changeOwnNickname(chatter(kOwnId, "tester", u" 好名字 "), kRoom));
    EXPECT_EQ(boxes(), (std::vector<std::string>{
                           "昵称不能空", "抱歉，您指定的昵称含有不雅或敏感词，请重新选择"}));
}

TEST_F(OpenRoomTest, RoomClosedByTheServerClosesItsTab) {
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RoomClosed{kRoom})));
    EXPECT_EQ(rig.mainWindow.closed, std::vector<int32_t>{kRoom});
    EXPECT_FALSE(rig.client->isRoomOpen(kRoom));
}

TEST_F(OpenRoomTest, SendingChecksTheTextInOrder) {
    ASSERT_TRUE(rig.receive(wordList(CommandId::KeywordList, {u"敏感"})));
    struct Case {
        const char* name;
        int32_t room;
        InputBoxContent input;
        bool sent;
        const char* box;
    };
    const InputObject picture{kPictureObjectTag, {}, {1, 2, 3}};
    const std::vector<Case> cases = {
        {"first text", kRoom, {u"你好"}, true, nullptr},
        {"same text again", kRoom, {u"你好"}, false, "对不起，相同内容请不要重复发送！"},
        {"same text with blanks",
         kRoom,
         {u"  你好\r\n"},
         false,
         "对不起，相同内容请不要重复发送！"},
        {"same text in another room", 8, {u"你好"}, true, nullptr},
        {"sensitive word", kRoom, {u"有敏感词"}, false, "对不起，您的发言内容含有敏感词汇！"},
        {"only blanks", kRoom, {u"  "}, false, "请勿发送无意义的空白内容"},
        {"nothing at all", kRoom, {}, false, nullptr},
        {"picture only", kRoom, {picture}, true, nullptr},
        {"blanks and a picture", kRoom, {u"  ", picture}, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = rig.messages.shown().size();
        EXPECT_EQ(rig.client->sendMessage(c.room, c.input), c.sent);
        const auto shown = rig.messages.shown();
        if (c.box == nullptr) {
            EXPECT_EQ(shown.size(), before);
        } else {
            ASSERT_EQ(shown.size(), before + 1);
            EXPECT_EQ(shown.back().text, c.box);
            EXPECT_EQ(shown.back().icon, tekna::MessageIcon::Error);
        }
    }
}

TEST(ChatClientChatTest, CustomerServiceMaySendTheSameTextTwice) {
    ClientRig rig;
    rig.logIn(kOwnId, AccountLevel::kCustomerService);
    EXPECT_TRUE(rig.client->sendMessage(kRoom, {u"您好"}));
    EXPECT_TRUE(rig.client->sendMessage(kRoom, {u"您好"}));
    EXPECT_TRUE(rig.messages.shown().empty());
}

TEST_F(OpenRoomTest, SentMessagesShowAtOnceAndTheServersCopyIsNotShownAgain) {
    ASSERT_TRUE(rig.client->sendMessage(kRoom, {u"第一句"}));
    ASSERT_EQ(page->messages.size(), 1u);
    EXPECT_EQ(page->speakers[0], kOwnId);
    EXPECT_EQ(page->kept_[0].account, "tester");
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, kOwnId, u"第一句", 0, 1)));
    EXPECT_EQ(page->messages.size(), 1u);
}

TEST_F(OpenRoomTest, WhisperToOneselfIsRefusedWithAnInformationBox) {
    page->addressee = static_cast<int32_t>(kOwnId);
    EXPECT_FALSE(rig.client->sendMessage(kRoom, {u"自言自语"}));
    ASSERT_EQ(rig.messages.shown().size(), 1u);
    EXPECT_EQ(rig.messages.shown()[0].text, "请不要自己对自己说");
    EXPECT_EQ(rig.messages.shown()[0].icon, tekna::MessageIcon::Information);
}

TEST_F(OpenRoomTest, ReceivedMessagesFollowTheDisplayRules) {
    ASSERT_TRUE(rig.receive(wordList(CommandId::KeywordList, {u"敏感"})));
    rig.config->setAcceptPrivateMessages(false);
    rig.config->addToBlackList("service");
    struct Case {
        const char* name;
        std::vector<uint8_t> packet;
        bool shown;
    };
    const std::vector<Case> cases = {
        {"public message", chatPacket(kRoom, 200, u"大家好"), true},
        {"too short", makePacket(14, 140), false},
        {"unknown sender", chatPacket(kRoom, 999, u"大家好"), false},
        {"whisper between others", chatPacket(kRoom, 200, u"悄悄话", 300), false},
        {"whisper to the user with the setting off", chatPacket(kRoom, 200, u"悄悄话", kOwnId),
         false},
        {"blocked staff account", chatPacket(kRoom, 300, u"通知"), false},
        {"only a sensitive word", chatPacket(kRoom, 200, u"敏感"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = page->messages.size();
        EXPECT_TRUE(rig.receive(c.packet));
        EXPECT_EQ(page->messages.size(), before + (c.shown ? 1 : 0));
    }
}

TEST_F(OpenRoomTest, SpeakerAddressesShowToStaffRoomOwnersAndHoldersOfTheRight) {
    const auto lastMessageNamesTheAccount = [this] {
        std::u16string text;
        for (const ChatBoxRun& run : page->messages.back().runs) {
            if (const auto* textRun = std::get_if<TextRun>(&run)) {
                text += textRun->text;
            }
        }
        return text.find(u"other") != std::u16string::npos;
    };
    int32_t sequence = 1;
    const auto receiveFromOther = [&] {
        ASSERT_TRUE(rig.receive(chatPacket(kRoom, 200, u"你好", 0, sequence++)));
    };
    receiveFromOther();
    EXPECT_FALSE(lastMessageNamesTheAccount());
    // The server makes the user the room's owner.
    ASSERT_TRUE(rig.receive(
        buildPacket(cmd::ChatterEntered{kRoom, chatter(kOwnId, "tester", u"me", 0x20)})));
    receiveFromOther();
    EXPECT_TRUE(lastMessageNamesTheAccount());
}

TEST_F(OpenRoomTest, WhisperToTheUserIsShownWithTheSettingOn) {
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, 200, u"悄悄话", kOwnId)));
    ASSERT_EQ(page->messages.size(), 1u);
    EXPECT_TRUE(page->kept_[0].whisperToUser);
}

TEST_F(OpenRoomTest, NewsAndFlashingForAMessageInAnotherTab) {
    rig.mainWindow.selected = 8;
    rig.mainWindow.active = false;
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, 200, u"大家好")));
    EXPECT_EQ(rig.mainWindow.news, std::vector<int32_t>{kRoom});
    EXPECT_EQ(rig.mainWindow.flashes, 1);
}

TEST_F(OpenRoomTest, PausedRoomHoldsMessagesUntilItResumes) {
    page->display = false;
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, 200, u"一")));
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, 200, u"二")));
    EXPECT_TRUE(rig.receive(chatPacket(9, 200, u"没有房间")));
    EXPECT_EQ(rig.client->pendingChatPackets(), 2u);
    EXPECT_TRUE(page->messages.empty());
    page->display = true;
    rig.client->resumeDisplay(kRoom);
    EXPECT_EQ(rig.client->pendingChatPackets(), 0u);
    ASSERT_EQ(page->messages.size(), 2u);
}

TEST_F(OpenRoomTest, PendingMessagesOfAClosedRoomAreDropped) {
    page->display = false;
    EXPECT_TRUE(rig.receive(chatPacket(kRoom, 200, u"一")));
    rig.client->leaveRoom(kRoom);
    EXPECT_EQ(rig.client->pendingChatPackets(), 0u);
}

TEST_F(OpenRoomTest, OwnStyleLosesTheReservedLookForOrdinaryUsers) {
    TextStyle style;
    style.colour = rgb(128, 130, 0);
    style.size = 9;
    rig.client->setOwnMessageStyle(style);
    EXPECT_EQ(rig.client->ownMessageStyle().colour, 0u);
    EXPECT_EQ(rig.config->myTextStyle().colour, 0u);
}

TEST_F(OpenRoomTest, PrivateRooms) {
    EXPECT_TRUE(rig.receive(buildPacket(cmd::PrivateChatRefused{1, utf8ToGbk("对方拒绝")})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::PrivateChatRefused{0, "忽略"})));
    const auto shown = rig.messages.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "对方拒绝");
    EXPECT_EQ(shown[0].caption, tekna::MessageCaption::Error);
    EXPECT_EQ(shown[0].icon, tekna::MessageIcon::Information);

    rig.config->addToBlackList("other");
    EXPECT_TRUE(rig.receive(buildPacket(cmd::PrivateRoomCreated{
        5000, chatter(kOwnId, "tester", u"我"), chatter(200, "other", u"小王")})));
    EXPECT_EQ(rig.mainWindow.tabs[5000].title, u"我-小王");
    EXPECT_TRUE(rig.mainWindow.tabs[5000].privateRoom);
    FakeRoomPage* privatePage = rig.mainWindow.page(5000);
    ASSERT_NE(privatePage, nullptr);
    EXPECT_EQ(privatePage->list, (std::map<uint32_t, bool>{{kOwnId, true}, {200, false}}));
}

TEST_F(OpenRoomTest, RoomNoticesFromTheServer) {
    EXPECT_TRUE(rig.receive(buildPacket(cmd::AnnouncementUpdated{kRoom, u"新公告"})));
    EXPECT_EQ(page->announcement, u"新公告");

    EXPECT_TRUE(rig.receive(buildPacket(cmd::RollingMessage{kRoom, 0, u"只说一次"})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RollingMessage{kRoom, 20, u"循环"})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RollingMessage{kRoom, 20, u""})));
    EXPECT_EQ(page->rollingTimers, (std::vector<uint32_t>{0, 0, 20000, 0}));
    EXPECT_EQ(page->systemLines.size(), 2u);
    EXPECT_EQ(rig.client->roomRecord(kRoom)->rollingMessage, u"");
    // Listed but without a page: stored, then the look-up fails.
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RollingMessage{8, 5, u"二厅"})));
    EXPECT_EQ(rig.client->roomRecord(8)->rollingMessage, u"二厅");
    EXPECT_EQ(boxes(), std::vector<std::string>{"没有这个房间"});

    EXPECT_TRUE(rig.receive(buildPacket(cmd::SystemMessage{60, u"全服通知"})));
    EXPECT_EQ(rig.mainWindow.systemNotice, (std::pair<std::u16string, uint32_t>{u"全服通知", 60}));

    EXPECT_TRUE(rig.receive(buildPacket(cmd::FailWithMessage{kRoom, u"发言太快"})));
    EXPECT_EQ(page->notices.back(), u"发言太快");
}

TEST_F(OpenRoomTest, VipGiftNotice) {
    cmd::VipGiven given;
    given.gift.hours = 24;
    given.gift.roomId = kRoom;
    EXPECT_TRUE(rig.receive(buildPacket(given)));
    EXPECT_TRUE(page->repeatedLines.empty());
    given.accounts = {"alice", "bob"};
    EXPECT_TRUE(rig.receive(buildPacket(given)));
    EXPECT_EQ(
        page->repeatedLines,
        std::vector<std::u16string>{
            u"恭喜用户 \"alice\"、\"bob\" 获得Morvex赠送的体验VIP（时间24小时），请退出Morvex重新"
            u"登录。祝游戏愉快，我们期待您的认同。"});
}

TEST_F(OpenRoomTest, RoomSettingsLimitTheInputOfOrdinaryUsers) {
    RoomSettingBlock block;
    block.roomId = kRoom;
    block.maxPeople = 50;
    block.maxCharacters = 100;
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RoomSettings{block})));
    ASSERT_TRUE(page->settings.has_value());
    EXPECT_TRUE(page->inputLimited);
    EXPECT_EQ(page->maxPeople, 50u);

    ChatterRecord own = chatter(kOwnId, "tester", u"me", AccountLevel::kRoomAdmin);
    ASSERT_TRUE(rig.receive(buildPacket(cmd::ChatterEntered{kRoom, own})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::RoomSettings{block})));
    EXPECT_FALSE(page->inputLimited);
}

// --- Administration replies and their dialog slots ---

struct RecordingDialogs {
    std::vector<std::string> calls;
};

class LimitsDialog : public RoomLimitsDialog {
  public:
    explicit LimitsDialog(RecordingDialogs& r) : r_(r) {}
    void showRoomLimits(const RoomLimitList&) override { r_.calls.push_back("limits"); }

  private:
    RecordingDialogs& r_;
};
class AdminsDialog : public RoomAdminsDialog {
  public:
    explicit AdminsDialog(RecordingDialogs& r) : r_(r) {}
    void showRoomAdmins(const std::map<std::string, uint32_t>& admins) override {
        r_.calls.push_back("admins " + std::to_string(admins.size()));
    }

  private:
    RecordingDialogs& r_;
};
class OwnersDialog : public RoomOwnersDialog {
  public:
    explicit OwnersDialog(RecordingDialogs& r) : r_(r) {}
    void showRoomOwners(const RoomOwnerBlock&, const std::vector<std::string>& owners) override {
        r_.calls.push_back("owners " + std::to_string(owners.size()));
    }

  private:
    RecordingDialogs& r_;
};
class GrantDialog : public RightsGrantDialog {
  public:
    GrantDialog(RecordingDialogs& r, std::string account) : r_(r), account_(std::move(account)) {}
    const std::string& account() const override { return account_; }
    void showUserRights(const UserRightsBlock& block, const RightsList& rights) override {
        r_.calls.push_back("rights " + block.account + " " +
                           std::to_string(rights.has(RoomRight::KickChatter, 5)));
    }

  private:
    RecordingDialogs& r_;
    std::string account_;
};
class RolesDialog : public AllowedRolesDialog {
  public:
    explicit RolesDialog(RecordingDialogs& r) : r_(r) {}
    void showAllowedRoles(uint32_t level) override {
        r_.calls.push_back("roles " + std::to_string(level));
    }

  private:
    RecordingDialogs& r_;
};

std::vector<uint8_t> rightsStream() {
    RightsList rights;
    rights.grant(static_cast<int32_t>(RoomRight::KickChatter), 5);
    tekna::OutputByteStream out;
    rights.write(out);
    return out.bytes();
}

TEST(ChatClientAdminTest, RepliesGoToTheDialogInTheirSlotOrAreDropped) {
    ClientRig rig;
    rig.attachWindows();
    RecordingDialogs dialogs;
    cmd::UserRights forOther;
    forOther.block.account = "other";
    forOther.rightsStream = rightsStream();
    cmd::UserRights forShown = forOther;
    forShown.block.account = "shown";
    cmd::RoomAdmins admins;
    admins.admins = {{"a", 0x20}, {"b", 0x40}};
    cmd::RoomOwners owners;
    owners.owners = {"o1"};
    const std::vector<std::vector<uint8_t>> replies = {
        buildPacket(cmd::RoomLimits{}), buildPacket(forShown), buildPacket(admins),
        buildPacket(owners), buildPacket(cmd::AllowedRoles{kRoom, 6})};

    // Empty slots: dropped, but the waiting prompts close (77 excepted).
    for (const auto& reply : replies) {
        EXPECT_TRUE(rig.receive(reply));
    }
    EXPECT_EQ(rig.prompts.closeAllCount(), 4);
    EXPECT_TRUE(dialogs.calls.empty());

    AdminDialogSlots& slots = rig.client->adminDialogs();
    slots.roomLimits = std::make_unique<LimitsDialog>(dialogs);
    slots.roomAdmins = std::make_unique<AdminsDialog>(dialogs);
    slots.roomOwners = std::make_unique<OwnersDialog>(dialogs);
    slots.rightsGrant = std::make_unique<GrantDialog>(dialogs, "shown");
    slots.allowedRoles = std::make_unique<RolesDialog>(dialogs);
    EXPECT_TRUE(rig.receive(buildPacket(forOther)));
    EXPECT_EQ(rig.prompts.closeAllCount(), 4);
    for (const auto& reply : replies) {
        EXPECT_TRUE(rig.receive(reply));
    }
    EXPECT_EQ(rig.prompts.closeAllCount(), 9);
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"limits", "rights shown 1", "admins 2",
                                                       "owners 1", "roles 6"}));
}

TEST(ChatClientAdminTest, OnlySystemAdministratorsNotifyTheServer) {
    struct Case {
        uint32_t roles;
        int command;
        bool notified;
    };
    const std::vector<Case> cases = {
        {AccountLevel::kSystemAdmin, MenuCommand::kNotifyRoomList, true},
        {AccountLevel::kSystemAdmin, MenuCommand::kNotifyKeywords, true},
        {AccountLevel::kSystemAdmin, MenuCommand::kNotifyNickNames, true},
        {AccountLevel::kSystemAdmin, MenuCommand::kRoomLimits, false},  // a dialog, not a notice
        {AccountLevel::kCustomerService, MenuCommand::kNotifyRoomList, false},
        {0, MenuCommand::kNotifyKeywords, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ClientRig rig;
        rig.logIn(kOwnId, c.roles);
        EXPECT_EQ(rig.client->notifyServer(c.command, kRoom), c.notified);
        const auto& shown = rig.mainWindow.captioned;
        ASSERT_EQ(shown.size(), c.notified ? 1u : 0u);
        if (c.notified) {
            EXPECT_EQ(shown[0].text, "通知消息已发送到服务器！");
            EXPECT_EQ(shown[0].caption, "OK");
            EXPECT_EQ(shown[0].icon, tekna::MessageIcon::Information);
        }
    }
}

TEST(ChatClientAdminTest, ResultRepliesAndOwnRights) {
    ClientRig rig;
    rig.attachWindows();
    EXPECT_TRUE(rig.receive(buildPacket(cmd::SetAccountLevelResult{0, ""})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::SetAccountLevelResult{1, utf8ToGbk("没有权限")})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::SetRandomVipResult{1, u"失败了"})));
    EXPECT_TRUE(rig.receive(buildPacket(cmd::SetRandomVipResult{0, u"设置成功"})));
    const auto& shown = rig.mainWindow.captioned;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text, "设置用户权限成功！");
    EXPECT_EQ(shown[0].caption, "OK");
    EXPECT_EQ(shown[1].caption, "设置用户权限失败");
    EXPECT_EQ(shown[1].text, "没有权限");
    EXPECT_EQ(shown[2].caption, "错误！");
    EXPECT_EQ(shown[3].caption, "提示！");
    EXPECT_EQ(shown[3].icon, tekna::MessageIcon::Information);

    cmd::RandomVipSettings settings;
    settings.draw.roomId = kRoom;
    EXPECT_TRUE(rig.receive(buildPacket(settings)));
    ASSERT_TRUE(rig.mainWindow.randomVip.has_value());
    EXPECT_EQ(rig.mainWindow.randomVip->draw.roomId, static_cast<uint32_t>(kRoom));

    cmd::SelfRights self;
    self.rightsStream = rightsStream();
    EXPECT_TRUE(rig.receive(buildPacket(self)));
    EXPECT_TRUE(rig.client->rights().has(RoomRight::KickChatter, 5));
}

}  // namespace
