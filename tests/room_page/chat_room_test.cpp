// A room page over a chat client fed as the server would: its layout, the announcement and people
// count, nickname clicks, the rolling message and the chat records it keeps.
#include "ui/room/chat_room.h"

#include <QMenu>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "admin/account_level.h"
#include "client/fakes/fake_windows.h"
#include "client/fakes/server_packets.h"
#include "client/ports/hot_key_port.h"
#include "storage/chat_record_file.h"
#include "ui/room/affiche_and_chatter.h"
#include "ui/room/affiche_dlg.h"
#include "ui/room/chat_and_my_msg.h"
#include "ui/room/chat_msg_and_input.h"
#include "ui/room/chatters/chatter_dlg.h"
#include "ui/room/input/cinput_dlg.h"
#include "ui/room/input/input_box.h"
#include "ui/room/room_records.h"
#include "ui/ui_look.h"

namespace chat {
namespace {

using fakes::chatter;

constexpr uint32_t kOwnId = 100;

class NoHotKey : public HotKeyPort {
  public:
    bool registerHotKey(uint32_t /*value*/) override { return true; }
    void unregisterHotKey() override {}
};
constexpr int32_t kRoom = 7;

class ChatRoomTest : public ::testing::Test {
  protected:
    void SetUp() override { ui::ensureUiResources(); }

    // Logs in with `roles`, enters room 7 and opens a page for it.
    CChatRoom& open(uint32_t roles = 0, bool privateRoom = false) {
        rig.logIn(kOwnId, roles);
        cmd::RoomList list;
        list.rooms[kRoom] = fakes::roomDescription(kRoom, u"大厅");
        list.rooms[kRoom].rollingMessage = u"欢迎光临";
        EXPECT_TRUE(rig.receive(buildPacket(list)));
        EXPECT_TRUE(rig.receive(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""})));
        EXPECT_TRUE(rig.receive(fakes::chatterList(kRoom, people)));
        page = std::make_unique<CChatRoom>(
            *rig.client, RoomPageServices{rig.messages, hotKey},
            RoomPageValues{kRoom, QStringLiteral("大厅"), privateRoom, 0x08});
        page->replaceChatters(people, std::vector<bool>(people.size(), true));
        page->resize(790, 600);
        page->show();
        return *page;
    }

    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const fakes::ShownMessage& shown : rig.messages.shown()) {
            texts.push_back(shown.text);
        }
        return texts;
    }
    QString input() const { return page->inputDlg()->inputBox()->toPlainText(); }

    fakes::ClientRig rig;
    NoHotKey hotKey;
    std::vector<ChatterRecord> people = {chatter(kOwnId, "tester", u"me"),
                                         chatter(200, "other", u"小王"),
                                         chatter(300, "service", u"客服一", 0x02)};
    std::unique_ptr<CChatRoom> page;
};

TEST_F(ChatRoomTest, OrdinaryRoomSplitsSevenHundredNinetyPixels) {
    CChatRoom& room = open();
    EXPECT_EQ(room.chatArea()->geometry(), QRect(0, 0, 585, 600));
    ASSERT_NE(room.rightPanel(), nullptr);
    EXPECT_EQ(room.rightPanel()->geometry(), QRect(590, 0, 200, 600));
    EXPECT_EQ(room.chatArea()->messageArea()->geometry(), QRect(0, 0, 585, 480));
    EXPECT_EQ(room.inputDlg()->geometry(), QRect(0, 485, 585, 115));
    EXPECT_EQ(room.affiche()->geometry(), QRect(0, 0, 200, 130));
    EXPECT_EQ(room.chatterDlg()->geometry(), QRect(0, 135, 200, 465));
}

TEST_F(ChatRoomTest, PrivateRoomHasNoRightPanel) {
    CChatRoom& room = open(0, true);
    EXPECT_EQ(room.rightPanel(), nullptr);
    EXPECT_EQ(room.affiche(), nullptr);
    EXPECT_EQ(room.chatArea()->geometry(), QRect(0, 0, 790, 600));
    EXPECT_EQ(room.shownMaxPeople(), CChatRoom::kPrivateMaxPeople);
    room.setAnnouncement(u"不显示");  // nothing to show it in; nothing breaks
    room.nicknameClicked(LinkClick::LeftPress, 200, QStringLiteral("小王"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ChatRoomTest, PeopleCountFollowsTheListAndTheMaximum) {
    CChatRoom& room = open();
    EXPECT_EQ(room.affiche()->peopleText(), QStringLiteral("(3/200)"));
    room.addChatter(chatter(400, "new", u"新人"), true);
    EXPECT_EQ(room.affiche()->peopleText(), QStringLiteral("(4/200)"));
    room.removeChatter(200);
    room.showMaxPeople(50);
    EXPECT_EQ(room.affiche()->peopleText(), QStringLiteral("(3/50)"));
}

TEST_F(ChatRoomTest, ClickOnTheNicknameOfSomebodyWhoLeftWarns) {
    CChatRoom& room = open();
    room.nicknameClicked(LinkClick::LeftPress, 555, QStringLiteral("小李"));
    EXPECT_EQ(boxes(), std::vector<std::string>{"聊天者“小李”已不在本房间！"});
    EXPECT_EQ(rig.messages.shown()[0].icon, tekna::MessageIcon::Warning);
}

TEST_F(ChatRoomTest, LeftClickChoosesTheAddressee) {
    CChatRoom& room = open();
    room.nicknameClicked(LinkClick::LeftPress, 200, QStringLiteral("小王"));
    EXPECT_EQ(room.selectedAddressee(), 200);
    room.nicknameClicked(LinkClick::LeftPress, 200, QStringLiteral("小王"));
    EXPECT_EQ(room.selectedAddressee(), 200);  // an ordinary user does not greet
    EXPECT_TRUE(input().isEmpty());
}

TEST_F(ChatRoomTest, CustomerServiceGreetsWithASecondClick) {
    CChatRoom& room = open(AccountLevel::kCustomerService);
    room.nicknameClicked(LinkClick::LeftPress, 200, QStringLiteral("小王"));
    ASSERT_EQ(room.selectedAddressee(), 200);
    room.nicknameClicked(LinkClick::LeftPress, 200, QStringLiteral("小王"));
    EXPECT_EQ(room.selectedAddressee(), -1);
    EXPECT_EQ(input(), QStringLiteral("小王 您好:\n"));
}

TEST_F(ChatRoomTest, OwnRolesToldAfterThePageWasMadeReachTheInputBarAndTheList) {
    CChatRoom& room = open();
    CInputDlg& bar = *room.inputDlg();
    ChatterListWnd& list = room.chatterDlg()->list();
    EXPECT_FALSE(bar.speakingRules().staff().roomOwner);
    EXPECT_FALSE(bar.button(CInputDlg::kRoomMenuButtonId)->isVisible());
    EXPECT_FALSE(list.showsAddresses());
    // The server says the user owns the room, then sends the room's chatters.
    ASSERT_TRUE(rig.receive(
        buildPacket(cmd::ChatterEntered{kRoom, chatter(kOwnId, "tester", u"me", 0x20)})));
    room.replaceChatters(people, std::vector<bool>(people.size(), true));
    EXPECT_TRUE(bar.speakingRules().staff().roomOwner);
    EXPECT_TRUE(bar.button(CInputDlg::kRoomMenuButtonId)->isVisible());
    EXPECT_TRUE(list.showsAddresses());
    EXPECT_EQ(list.rowTexts(0).size(), 4);
}

TEST_F(ChatRoomTest, RoomMenuFollowsTheUsersRoles) {
    {
        CChatRoom& room = open(AccountLevel::kSystemAdmin);
        const std::unique_ptr<QMenu> menu = room.makeRoomMenu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> actions = menu->actions();
        const auto notify = std::find_if(actions.begin(), actions.end(), [](const QAction* action) {
            return action->data().toInt() == MenuCommand::kNotifyRoomList;
        });
        ASSERT_NE(notify, actions.end());
        EXPECT_TRUE((*notify)->isEnabled());
        room.runRoomCommand(MenuCommand::kNotifyRoomList);
        ASSERT_EQ(rig.mainWindow.captioned.size(), 1u);
        EXPECT_EQ(rig.mainWindow.captioned[0].text, "通知消息已发送到服务器！");
    }
    page.reset();
    fakes::ClientRig ordinary;
    ordinary.logIn(kOwnId, 0);
    CChatRoom plain(*ordinary.client, RoomPageServices{ordinary.messages, hotKey},
                    RoomPageValues{kRoom, QStringLiteral("大厅"), false, 0x08});
    EXPECT_EQ(plain.makeRoomMenu(), nullptr);
    EXPECT_TRUE(ordinary.messages.shown().empty());
}

TEST_F(ChatRoomTest, RollingTickShowsTheRoomsRollingMessage) {
    CChatRoom& room = open();
    room.setRollingTimer(60000);
    EXPECT_TRUE(room.rollingTimer().isActive());
    room.showRollingMessage();
    EXPECT_TRUE(room.chatBox()->toPlainText().contains(QStringLiteral("系统消息：欢迎光临")));
    room.setRollingTimer(0);
    EXPECT_FALSE(room.rollingTimer().isActive());
}

TEST_F(ChatRoomTest, ChatMessagesAreKeptAndSavedWhenThePageCloses) {
    CChatRoom& room = open();
    ASSERT_TRUE(rig.receive(fakes::chatPacket(kRoom, 200, u"你好")));
    // The client drew into its own page; this page gets the same message through the port.
    KeptChatMessage kept;
    kept.account = "other";
    kept.nickname = u"小王";
    kept.sections = {1, 2, 3};
    ChatMessageLayoutInput layout;
    layout.speakerNickname = u"小王";
    room.appendChatMessage(200, layoutChatMessage(std::move(layout)), kept);
    EXPECT_TRUE(room.chatBox()->toPlainText().contains(QStringLiteral("小王")));
    EXPECT_EQ(room.records().file().count(""), 1u);
    EXPECT_TRUE(room.records().savePending());

    const std::filesystem::path file = rig.config->folder() / ChatRecordFile::fileName(kRoom);
    page.reset();
    ChatRecordFile saved(kRoom, file);
    saved.load();
    ASSERT_EQ(saved.count(""), 1u);
    EXPECT_EQ(saved.count("other"), 1u);
}

}  // namespace
}  // namespace chat
