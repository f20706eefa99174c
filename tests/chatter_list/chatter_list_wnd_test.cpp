#include "ui/room/chatters/chatter_list_wnd.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "client/fakes/null_windows.h"
#include "storage/user_config.h"
#include "ui/room/chatters/chatter_dlg.h"
#include "ui_controls/widget_test_support.h"
#include "util/byte_stream.h"

namespace {

using namespace chat;
using RowIcon = ChatterListWnd::RowIcon;

constexpr int32_t kRoom = 12;
constexpr uint32_t kMe = 5;

class DiscardingLog : public tekna::Logger {
  public:
    void write(const std::string&) override {}
};

ChatterRecord chatter(uint32_t id, std::u16string nickname, uint32_t flags = 0,
                      std::string account = "acc", uint8_t sex = 'M') {
    ChatterRecord record;
    record.chatterId = id;
    record.nickname = std::move(nickname);
    record.roleFlags = flags;
    record.account = std::move(account);
    record.sex = sex;
    record.ip = 0x0100007F;
    record.mac = {0xAB, 0x01, 0x02, 0x03, 0x04, 0xCD};
    return record;
}

// The local user in room kRoom, as the chat client knows them after login.
struct LocalUser {
    uint32_t accountLevel = 0;
    uint32_t roomFlags = 0;             // own record in the room
    std::vector<int32_t> roomRights{};  // granted for kRoom
};

class RecordingObserver : public ChatterListWnd::IObserver {
  public:
    void chatterListChanged(const ChatterListWnd& list) override {
        counts.push_back(list.rowCount());
    }
    std::vector<int> counts;
};

class ChatterListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        config = std::make_unique<UserConfig>(folder.path().toStdString(), fonts);
        ChatClientOptions options;
        options.openLog = [] { return std::make_unique<DiscardingLog>(); };
        client =
            std::make_unique<ChatClient>(*config, messages, adapters, resolver, std::move(options));
    }

    // Logs in as `user` and opens the chatter pane of room kRoom.
    CChatterDlg& open(const LocalUser& user, bool privateRoom = false) {
        client->onLoginAccepted(kMe, user.accountLevel);
        client->onChatterEntered(kRoom, chatter(kMe, u"me", user.roomFlags, "me"));
        tekna::OutputByteStream rights;
        if (!user.roomRights.empty()) {
            rights.writeI32(kRoom);
            for (const int32_t right : user.roomRights) {
                rights.writeI32(right);
            }
            rights.writeI32(0);
        }
        rights.writeI32(-1);
        client->onSelfRights(rights.bytes());

        dialog = std::make_unique<CChatterDlg>(ChatterListContext{
            *client, *config, kRoom, privateRoom,
            [this](int32_t id, QString nickname) { chosen.emplace_back(id, nickname); },
            [this] { ++focusMoves; },
            [this](std::u16string text) { lines.push_back(std::move(text)); }});
        dialog->resize(200, 300);
        return *dialog;
    }
    ChatterListWnd& list() { return dialog->list(); }
    int rowOf(uint32_t id) {
        const std::vector<uint32_t> ids = list().rowIds();
        return static_cast<int>(std::ranges::find(ids, id) - ids.begin());
    }
    QAction* menuAction(QMenu& menu, int command) {
        for (QAction* action : menu.actions()) {
            if (action->data().toInt() == command) {
                return action;
            }
        }
        return nullptr;
    }

    QTemporaryDir folder;
    fakes::FakeFonts fonts;
    fakes::NullMessageBoxes messages;
    fakes::NoAdapters adapters;
    fakes::NoHostNames resolver;
    std::unique_ptr<UserConfig> config;
    std::unique_ptr<ChatClient> client;
    std::unique_ptr<CChatterDlg> dialog;
    std::vector<std::pair<int32_t, QString>> chosen;
    int focusMoves = 0;
    std::vector<std::u16string> lines;
};

TEST_F(ChatterListTest, RowsFollowTheChatterOrderThroughAddUpdateRemove) {
    open({});
    for (const ChatterRecord& record :
         {chatter(1, u"b"), chatter(2, u"B"), chatter(3, u"zz", 0x02 | 0x20),
          chatter(4, u"ab", 0x10 | 0x01), chatter(6, u"aa", 0x01), chatter(kMe, u"me", 0x01),
          chatter(7, u"a", 0x10)}) {
        list().addChatter(record, true);
    }
    EXPECT_EQ(list().rowIds(), (std::vector<uint32_t>{kMe, 3, 7, 4, 6, 2, 1}));

    list().updateChatter(chatter(1, u"A"));   // now before "B"
    list().updateChatter(chatter(99, u"0"));  // not listed: ignored
    EXPECT_EQ(list().rowIds(), (std::vector<uint32_t>{kMe, 3, 7, 4, 6, 1, 2}));
    EXPECT_EQ(list().rowTexts(rowOf(1)).front(), QStringLiteral("A"));

    list().addChatter(chatter(2, u"0", 0x40), true);  // entered again: one row, updated
    EXPECT_EQ(list().rowIds(), (std::vector<uint32_t>{kMe, 3, 2, 7, 4, 6, 1}));

    list().removeChatter(3);
    list().removeChatter(42);
    EXPECT_EQ(list().rowIds(), (std::vector<uint32_t>{kMe, 2, 7, 4, 6, 1}));
    EXPECT_EQ(list().chatter(3), nullptr);

    list().replaceChatters({chatter(9, u"x"), chatter(8, u"y", 0x04), chatter(9, u"again")},
                           {true, false, true});
    EXPECT_EQ(list().rowIds(), (std::vector<uint32_t>{8, 9}));
    EXPECT_EQ(list().rowTexts(1).front(), QStringLiteral("x"));
}

TEST_F(ChatterListTest, ObserversAndThePaneHearEveryChangeWithTheCount) {
    open({});
    RecordingObserver observer;
    list().addObserver(observer);
    list().addObserver(observer);  // registered once
    QSignalSpy counts(dialog.get(), &CChatterDlg::countChanged);

    list().addChatter(chatter(1, u"a"), true);
    list().addChatter(chatter(2, u"b"), true);
    list().updateChatter(chatter(2, u"c"));
    list().removeChatter(1);
    list().replaceChatters({chatter(3, u"x"), chatter(4, u"y")}, {true, true});
    EXPECT_EQ(observer.counts, (std::vector<int>{1, 2, 2, 1, 2}));
    ASSERT_EQ(counts.size(), 4);  // the pane speaks only when the count changes
    EXPECT_EQ(counts.at(3).at(0).toInt(), 2);

    list().removeObserver(observer);
    list().removeChatter(3);
    EXPECT_EQ(observer.counts.size(), 5u);
}

struct ColumnCase {
    const char* name;
    LocalUser user;
    QStringList expected;
};

void PrintTo(const ColumnCase& c, std::ostream* out) {
    *out << c.name;
}

class ChatterColumns : public ChatterListTest, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ChatterColumns, AddressesOnlyForThoseWhoMaySeeThem) {
    const ColumnCase& c = GetParam();
    open(c.user);
    list().addChatter(chatter(1, u"小明", 0x10 | 0x01, "\xD5\xC5\xC8\xFD"), true);
    EXPECT_EQ(list().rowTexts(rowOf(1)), c.expected);
    EXPECT_EQ(list().showsAddresses(), c.expected.size() == 4);
}

const QStringList kFourColumns{QStringLiteral("小明"), QStringLiteral("张三"),
                               QStringLiteral("127.0.0.1"), QStringLiteral("AB01020304CD")};
const QStringList kTwoColumns{QStringLiteral("小明"), QStringLiteral("Morvex指导员")};

INSTANTIATE_TEST_SUITE_P(
    ChatterList, ChatterColumns,
    ::testing::Values(ColumnCase{"CustomerService", {0x02}, kFourColumns},
                      ColumnCase{"SystemAdministrator", {0x04}, kFourColumns},
                      ColumnCase{"RoomOwner", {0, 0x20}, kFourColumns},
                      ColumnCase{"AddressRightHere", {0, 0, {10007}}, kFourColumns},
                      ColumnCase{"OtherRightsOnly", {0, 0, {10003, 10006}}, kTwoColumns},
                      ColumnCase{"RoomAdministrator", {0, 0x40}, kTwoColumns},
                      ColumnCase{"Instructor", {0x10}, kTwoColumns},
                      ColumnCase{"OrdinaryUser", {}, kTwoColumns}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ChatterListTest, HidingTwiceAddsThenRemovesWithNoticesAndIcon) {
    open({});
    list().addChatter(chatter(1, u"Tom", 0, "tom", 'F'), true);
    const struct {
        const char* menuText;
        std::u16string notice;
        bool blackListed;
        RowIcon icon;
    } steps[] = {
        {"屏蔽此人聊天内容(&D)", u"您已将 Tom 的聊天信息过滤。", true, RowIcon::BlackListed},
        {"允许此人聊天内容(&D)", u"您已取消对 Tom 聊天信息的过滤。", false, RowIcon::Female},
    };
    for (const auto& step : steps) {
        const std::unique_ptr<QMenu> menu = list().contextMenuFor(1);
        ASSERT_NE(menu, nullptr);
        QAction* filter = menuAction(*menu, MenuCommand::kFilterChatter);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(filter->text(), QString::fromUtf8(step.menuText));
        filter->trigger();
        EXPECT_EQ(lines.back(), step.notice);
        EXPECT_EQ(config->isBlackListed("tom"), step.blackListed);
        EXPECT_EQ(list().rowIcon(rowOf(1)), step.icon);
    }
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(ChatterListTest, OwnEntryNeverShowsTheBlackListIcon) {
    config->addToBlackList("me");
    config->addToBlackList("other");
    open({});
    list().addChatter(chatter(kMe, u"me", 0, "me", 'M'), true);
    list().addChatter(chatter(2, u"x", 0, "other", 'M'), false);
    list().addChatter(chatter(3, u"y", 0, "free", 'U'), true);
    EXPECT_EQ(list().rowIcon(rowOf(kMe)), RowIcon::Male);
    EXPECT_EQ(list().rowIcon(rowOf(2)), RowIcon::BlackListed);
    EXPECT_EQ(list().rowIcon(rowOf(3)), RowIcon::SexNotTold);
}

TEST_F(ChatterListTest, DoubleClickChoosesTheAddresseeButOnlyFocusesForTheOwnEntry) {
    open({});
    dialog->show();
    list().addChatter(chatter(kMe, u"me"), true);
    list().addChatter(chatter(2, u"Ann"), true);
    const auto doubleClick = [&](uint32_t id) {
        const QRect row = list().visualItemRect(list().item(rowOf(id)));
        // As a real double click: a click, then the double-click event of the second press.
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, row.center());
    };
    doubleClick(kMe);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(focusMoves, 1);
    doubleClick(2);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], std::make_pair(int32_t{2}, QStringLiteral("Ann")));
    EXPECT_EQ(focusMoves, 2);
}

TEST_F(ChatterListTest, HistoryEntriesAskTheRoomPage) {
    open({});
    list().addChatter(chatter(2, u"Ann", 0, "ann"), true);
    QSignalSpy person(&list(), &ChatterListWnd::historyRequested);
    QSignalSpy room(&list(), &ChatterListWnd::roomHistoryRequested);
    list().runCommand(MenuCommand::kChatterHistory);  // nothing selected yet
    ASSERT_TRUE(list().selectChatter(2));
    list().runCommand(MenuCommand::kChatterHistory);
    list().runCommand(MenuCommand::kRoomHistory);
    ASSERT_EQ(person.size(), 1);
    EXPECT_EQ(person.at(0).at(0).value<std::string>(), "ann");
    EXPECT_EQ(room.size(), 1);
}

struct AdminCase {
    const char* name;
    LocalUser user;
    uint32_t target;  // chatter id: kMe or 2
    uint32_t targetFlags;
    int command;
    bool passedOn;
};

void PrintTo(const AdminCase& c, std::ostream* out) {
    *out << c.name;
}

class AdminCommands : public ChatterListTest, public ::testing::WithParamInterface<AdminCase> {};

TEST_P(AdminCommands, PassedOnOnlyWhenTheirCheckHolds) {
    const AdminCase& c = GetParam();
    open(c.user);
    list().addChatter(chatter(kMe, u"me", c.user.roomFlags, "me"), true);
    list().addChatter(chatter(2, u"Ann", c.targetFlags, "ann"), true);
    QSignalSpy requests(&list(), &ChatterListWnd::adminCommandRequested);
    ASSERT_TRUE(list().selectChatter(c.target));
    list().runCommand(c.command);
    ASSERT_EQ(requests.size(), c.passedOn ? 1 : 0);
    if (c.passedOn) {
        EXPECT_EQ(requests.at(0).at(0).toInt(), c.command);
        EXPECT_EQ(requests.at(0).at(1).toUInt(), c.target);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ChatterList, AdminCommands,
    ::testing::Values(
        AdminCase{"OwnerKicks", {0, 0x20}, 2, 0, MenuCommand::kKick, true},
        AdminCase{"KickRightKicks", {0, 0, {10003}}, 2, 0, MenuCommand::kKick, true},
        AdminCase{"NoKickWithoutRight", {0x04}, 2, 0, MenuCommand::kKick, false},
        AdminCase{"MuteOther", {0, 0x20}, 2, 0, MenuCommand::kMute, true},
        AdminCase{"NoMuteOfSelf", {0, 0x20}, kMe, 0, MenuCommand::kMute, false},
        AdminCase{"Details", {0x02}, 2, 0, MenuCommand::kDetails, true},
        AdminCase{
            "VipGiftToRoleHolderLeftToItsDialog", {0x04}, 2, 0x10, MenuCommand::kVipGift, true},
        AdminCase{"RandomVip", {0x04}, 2, 0, MenuCommand::kRandomVip, true},
        AdminCase{"NotAnAdminCommand", {0x04}, 2, 0, 12345, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ChatterListTest, OwnMenuGreysWhatCannotApplyToOneself) {
    open({});
    list().addChatter(chatter(kMe, u"me", 0, "me"), true);
    const std::unique_ptr<QMenu> menu = list().contextMenuFor(kMe);
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menuAction(*menu, MenuCommand::kPrivateChat)->isEnabled());
    EXPECT_FALSE(menuAction(*menu, MenuCommand::kFilterChatter)->isEnabled());
    EXPECT_TRUE(menuAction(*menu, MenuCommand::kChatterHistory)->isEnabled());
    EXPECT_EQ(menuAction(*menu, MenuCommand::kKick), nullptr);
    EXPECT_EQ(list().contextMenuFor(77), nullptr);
}

TEST_F(ChatterListTest, SelectedRowBandAndRoleColourAreDrawn) {
    open({});
    dialog->show();
    list().addChatter(chatter(2, u"Owner", 0x20), true);
    list().addChatter(chatter(3, u"plain"), true);
    ASSERT_TRUE(list().selectChatter(2));
    const QImage image = chat::test::render(*list().viewport());
    const QRect row = list().visualItemRect(list().item(rowOf(2)));
    const QColor band(214, 235, 214);
    EXPECT_NE(image.pixelColor(row.left(), row.center().y()), band);
    EXPECT_EQ(image.pixelColor(row.left() + ChatterListWnd::kTextLeft, row.top()), band);
    EXPECT_EQ(image.pixelColor(image.width() - 1, row.bottom()), band);
    EXPECT_EQ(row.height(), ChatterListWnd::kRowHeight);
    EXPECT_TRUE(chat::test::hasColour(image.copy(row), QColor(0, 128, 0)));
    const QRect plainRow = list().visualItemRect(list().item(rowOf(3)));
    EXPECT_FALSE(chat::test::anyPixel(image.copy(plainRow), [&](QColor c) { return c == band; }));
}

}  // namespace
