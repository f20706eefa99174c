#include "ui/main_window/main_gui.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "client/fakes/null_windows.h"
#include "storage/user_config.h"
#include "ui/main_window/my_tab_ctrl.h"
#include "ui/pages/sel_room.h"
#include "ui/qt_event_loop.h"
#include "ui/room/chat_room.h"
#include "ui/ui_look.h"

namespace {

class DiscardingLog : public tekna::Logger {
  public:
    void write(const std::string&) override {}
};

class MainGuiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chat::ui::ensureUiResources();
        config = std::make_unique<chat::UserConfig>(folder.path().toStdString(), fonts);
        chat::ChatClientOptions options;
        options.openLog = [] { return std::make_unique<DiscardingLog>(); };
        client = std::make_unique<chat::ChatClient>(*config, messages, adapters, resolver,
                                                    std::move(options));
        chat::MainGUI::Launch launch;
        launch.args.account = "tester";
        launch.args.password = std::string(32, 'a');
        launch.programFolder = folder.path().toStdString();
        window = std::make_unique<chat::MainGUI>(*client, loop, std::move(launch));
        window->resize(900, 600);
    }

    void openRooms(std::initializer_list<int32_t> rooms) {
        for (const int32_t room : rooms) {
            window->openRoomPage(room, u"房间" + std::u16string(1, char16_t(u'0' + room % 10)), 0,
                                 false);
        }
    }
    int32_t selected() const { return window->tabStrip()->selectedRoom(); }

    QTemporaryDir folder;
    fakes::FakeFonts fonts;
    fakes::NullMessageBoxes messages;
    fakes::NoAdapters adapters;
    fakes::NoHostNames resolver;
    std::shared_ptr<chat::QtEventLoop> loop = std::make_shared<chat::QtEventLoop>();
    std::unique_ptr<chat::UserConfig> config;
    std::unique_ptr<chat::ChatClient> client;
    std::unique_ptr<chat::MainGUI> window;
};

TEST_F(MainGuiTest, StartsWithTheHallAndKeepsItsMinimumSize) {
    EXPECT_EQ(window->tabStrip()->count(), 1);
    EXPECT_EQ(window->tabStrip()->tabText(0), QStringLiteral("在线服务大厅"));
    EXPECT_EQ(selected(), chat::MyTabCtrl::kHallRoom);
    EXPECT_EQ(window->selectedRoom(), 0);
    window->resize(600, 400);
    EXPECT_EQ(window->size(), QSize(790, 480));
}

TEST_F(MainGuiTest, CaptionComesFromThePlatformEdition) {
    EXPECT_EQ(window->caption(), QStringLiteral("Morvex在线客服"));
    chat::PlatformSpecial special;
    special.programCaption = "Acme";
    chat::MainGUI named(*client, loop, {{}, special, {}});
    EXPECT_EQ(named.caption(), QStringLiteral("Acme-在线客服"));
}

TEST_F(MainGuiTest, SameRoomTwiceKeepsOneTab) {
    openRooms({10, 20});
    EXPECT_EQ(selected(), 20);
    openRooms({10});
    EXPECT_EQ(window->tabStrip()->count(), 3);
    EXPECT_EQ(selected(), 10);
    EXPECT_TRUE(window->pageOf(10)->isVisibleTo(window.get()));
    EXPECT_FALSE(window->pageOf(20)->isVisibleTo(window.get()));
    EXPECT_FALSE(window->hallPage()->isVisibleTo(window.get()));
}

TEST_F(MainGuiTest, ClosingTabsReturnsToThePreviouslyActiveOneThenTheHall) {
    openRooms({10, 20, 30});
    window->showPage(10);
    window->showPage(30);
    window->closeRoom(30);
    EXPECT_EQ(selected(), 10);
    window->closeRoom(20);  // not the current one: the current stays
    EXPECT_EQ(selected(), 10);
    window->closeRoom(10);
    EXPECT_EQ(selected(), chat::MyTabCtrl::kHallRoom);
    EXPECT_EQ(window->tabStrip()->count(), 1);
    EXPECT_TRUE(window->activationList().empty());
    EXPECT_TRUE(window->hallPage()->isVisibleTo(window.get()));
}

TEST_F(MainGuiTest, SelectingATabShowsItsPage) {
    openRooms({10, 20});
    window->tabStrip()->setCurrentIndex(window->tabStrip()->indexOfRoom(10));
    EXPECT_TRUE(window->pageOf(10)->isVisibleTo(window.get()));
    EXPECT_EQ(window->activationList().back(), 10);
    window->tabStrip()->setCurrentIndex(0);
    EXPECT_TRUE(window->hallPage()->isVisibleTo(window.get()));
}

TEST_F(MainGuiTest, NewsFlashesTheTabUntilItIsSelected) {
    openRooms({10, 20});
    window->showPage(10);
    window->markRoomNews(20);
    EXPECT_TRUE(window->tabStrip()->isFlashing(20));
    EXPECT_TRUE(window->flashTimer().isActive());
    EXPECT_EQ(window->flashTimer().interval(), 600);
    window->showPage(20);
    EXPECT_FALSE(window->tabStrip()->isFlashing(20));
    EXPECT_FALSE(window->flashTimer().isActive());
}

TEST_F(MainGuiTest, ClosingAFlashingRoomStopsTheTimer) {
    openRooms({10, 20});
    window->markRoomNews(10);
    window->closeRoom(10);
    EXPECT_FALSE(window->flashTimer().isActive());
}

TEST_F(MainGuiTest, RollingNoticeWithoutIntervalIsShownOnceInEveryRoom) {
    openRooms({10, 20});
    window->setSystemNotice(u"维护通知", 0);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    for (const int32_t room : {10, 20}) {
        EXPECT_EQ(
            window->findRoomPage(room)->chatBox()->toPlainText().count(QStringLiteral("维护通知")),
            1);
    }
}

TEST_F(MainGuiTest, CustomerServiceTabOpensWithoutConnecting) {
    window->enterRoom(1);
    const int index = window->tabStrip()->indexOfRoom(1);
    ASSERT_GE(index, 0);
    EXPECT_EQ(window->tabStrip()->tabText(index), QStringLiteral("客户服务系统"));
    EXPECT_EQ(selected(), 1);
    EXPECT_FALSE(client->connected());
    EXPECT_EQ(window->findRoomPage(1), nullptr);  // a web page, not a chat room
    window->enterRoom(1);
    EXPECT_EQ(window->tabStrip()->count(), 2);
    window->closeRoom(1);
    EXPECT_EQ(selected(), chat::MyTabCtrl::kHallRoom);
}

TEST_F(MainGuiTest, ClosingTheWindowClosesEveryRoomAndEndsTheWindow) {
    openRooms({10, 20});
    window->show();
    window->close();
    EXPECT_EQ(window->tabStrip()->count(), 1);
    EXPECT_TRUE(window->activationList().empty());
    EXPECT_FALSE(window->exists());
    EXPECT_FALSE(window->isVisible());
}

TEST(MainWindowRulesTest, PlacementFallsBackToACentredWindow) {
    const QRect screen(0, 0, 1280, 800);
    const QRect centred(240, 100, 800, 600);
    struct Case {
        QRect startup;
        QRect expected;
    };
    const std::vector<Case> cases = {
        {QRect(), centred},
        {QRect(10, 20, 600, 500), centred},
        {QRect(10, 20, 700, 470), centred},
        {QRect(10, 0, 900, 700), centred},
        {QRect(10, 20, 900, 700), QRect(10, 20, 900, 700)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chat::mainWindowPlacement(c.startup, screen), c.expected);
    }
}

TEST(MainWindowRulesTest, StaffGetPrivateRoomsInTheBackground) {
    struct Case {
        bool privateRoom;
        uint32_t roles;
        bool switches;
    };
    const std::vector<Case> cases = {
        {false, 0x02, true}, {true, 0x00, true},  {true, 0x01, true},  {true, 0x02, false},
        {true, 0x04, false}, {true, 0x20, false}, {true, 0x40, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chat::switchesToNewRoom(c.privateRoom, c.roles), c.switches) << c.roles;
    }
}

}  // namespace
