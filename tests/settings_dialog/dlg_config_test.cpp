#include "ui/settings/dlg_config.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "support/recording_messages.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/chat_client.h"
#include "client/fakes/null_windows.h"
#include "fake_hot_key_port.h"
#include "ui/settings/page_chatter.h"
#include "ui/settings/page_hot_key.h"
#include "ui/settings/page_room.h"

namespace chat {
namespace {

constexpr int32_t kRoom = 7;
constexpr uint32_t kCtrlAltA = 0x0641;
constexpr uint32_t kCtrlAltB = 0x0642;

using test::RecordingMessages;
using test::ShownMessage;

// A click on the indicator of a radio button or check box (the middle of a wide one is empty).
void clickIndicator(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

class DlgConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        config = std::make_unique<UserConfig>(folder.path().toStdString(), fonts);
        own.chatterId = 42;
        own.account = "tester";
        own.nickname = u"小明";
        own.sex = 'M';
    }

    std::unique_ptr<DlgConfig> open(bool staff = false) {
        SettingsContext context{
            .roomId = kRoom,
            .config = *config,
            .ownRecord = own,
            .staff = staff,
            .changeNickname =
                [this](const ChatterRecord& record, int32_t room) {
                    requests.push_back({record.nickname, static_cast<char>(record.sex)});
                    EXPECT_EQ(room, kRoom);
                    return clientAccepts;
                },
            .hotKey = hotKey,
            .messages = messages,
            .nicknameLimiter = limiter,
        };
        auto dialog = std::make_unique<DlgConfig>(std::move(context));
        dialog->show();
        return dialog;
    }

    // The server confirmed the last request: the next sheet starts from it.
    void confirmLastRequest() {
        own.nickname = requests.back().nickname;
        own.sex = static_cast<uint8_t>(requests.back().sex);
    }

    // Replaces the field's text as typing does (Chinese text too, which key clicks cannot type).
    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        if (!text.isEmpty()) {
            QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(edit, &typed);
        }
    }
    static void typeNickname(DlgConfig& dialog, const QString& text) {
        type(dialog.chatterPage()->nicknameEdit(), text);
    }
    static void typeSize(DlgConfig& dialog, const QString& text) {
        type(dialog.roomPage()->sizeEdit(), text);
    }

    QTemporaryDir folder;
    fakes::FakeFonts fonts;
    std::unique_ptr<UserConfig> config;
    ChatterRecord own;
    RecordingMessages messages;
    fakes::FakeHotKeyPort hotKey;
    uint64_t now = 1000000;
    NicknameChangeLimiter limiter{[this] { return now; }};
    std::vector<RoomNickname> requests;
    bool clientAccepts = true;
};

TEST_F(DlgConfigTest, OpensOnThreePagesWithTheStoredValues) {
    config->setSendKey(5);
    config->setMaxChatBoxChars(3072);
    config->setAllowShowPictures(false);
    // A value wider than the hot-key field holds: the field keeps 16 bits and the store follows.
    config->setScreenCaptureHotKey(0x10000 | kCtrlAltA);
    own.sex = 'F';

    const auto dialog = open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设置"));
    ASSERT_EQ(dialog->tabs()->count(), 3);
    EXPECT_EQ(dialog->tabs()->tabText(0), QStringLiteral("个人设置"));
    EXPECT_EQ(dialog->tabs()->tabText(1), QStringLiteral("房间"));
    EXPECT_EQ(dialog->tabs()->tabText(2), QStringLiteral("热键"));
    EXPECT_FALSE(dialog->applyButton()->isEnabled());

    const PageChatter* chatter = dialog->chatterPage();
    EXPECT_EQ(chatter->nicknameEdit()->text(), QStringLiteral("小明"));
    EXPECT_TRUE(chatter->femaleButton()->isChecked());
    const PageRoom* room = dialog->roomPage();
    EXPECT_EQ(room->sizeEdit()->text(), QStringLiteral("3"));
    EXPECT_FALSE(room->picturesBox()->isChecked());
    EXPECT_TRUE(room->whispersBox()->isChecked());
    EXPECT_TRUE(room->whispersBox()->isHidden());
    const PageHotKey* keys = dialog->hotKeyPage();
    EXPECT_TRUE(keys->enterButton()->isChecked());
    EXPECT_TRUE(keys->altSBox()->isChecked());
    EXPECT_EQ(keys->hotKeyEdit()->text(), QStringLiteral("Ctrl + Alt + A"));
    EXPECT_EQ(config->screenCaptureHotKey(), kCtrlAltA);
    EXPECT_TRUE(hotKey.calls.empty());
}

TEST_F(DlgConfigTest, RefusalsKeepTheSheetOpenOnTheirPage) {
    struct Case {
        const char* name;
        std::function<void(DlgConfig&)> edit;
        ShownMessage message;
        int page;
        std::function<QWidget*(DlgConfig&)> field;
    };
    using tekna::MessageCaption;
    using tekna::MessageIcon;
    const std::vector<Case> cases = {
        {"empty nickname",
         [](DlgConfig& d) { typeNickname(d, QString()); },
         {"昵称不能为空！", MessageCaption::None, MessageIcon::Error},
         0,
         [](DlgConfig& d) { return d.chatterPage()->nicknameEdit(); }},
        {"chat box size 0",
         [](DlgConfig& d) { typeSize(d, QStringLiteral("0")); },
         {"房间聊天信息保留字数无效", MessageCaption::None, MessageIcon::Error},
         1,
         [](DlgConfig& d) { return d.roomPage()->sizeEdit(); }},
        {"chat box size empty",
         [](DlgConfig& d) { typeSize(d, QString()); },
         {"房间聊天信息保留字数无效", MessageCaption::None, MessageIcon::Error},
         1,
         [](DlgConfig& d) { return d.roomPage()->sizeEdit(); }},
        {"hot key taken",
         [](DlgConfig& d) {
             QTest::keyClick(d.hotKeyPage()->hotKeyEdit(), Qt::Key_A,
                             Qt::ControlModifier | Qt::AltModifier);
         },
         {"注册热键失败，请重新设置一个新的热键！", MessageCaption::None, MessageIcon::Error},
         2,
         [](DlgConfig& d) { return d.hotKeyPage()->hotKeyEdit(); }},
    };
    config->setScreenCaptureHotKey(kCtrlAltB);
    hotKey.refused = {kCtrlAltA};
    for (const Case& c : cases) {
        messages.shown.clear();
        const auto dialog = open();
        dialog->tabs()->setCurrentIndex((c.page + 1) % 3);
        c.edit(*dialog);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

        EXPECT_TRUE(dialog->isVisible()) << c.name;
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{c.message}) << c.name;
        EXPECT_EQ(dialog->tabs()->currentIndex(), c.page) << c.name;
        EXPECT_EQ(dialog->focusWidget(), c.field(*dialog)) << c.name;
    }
    // The refused hot key is not stored, and the one that worked is held again.
    EXPECT_EQ(config->screenCaptureHotKey(), kCtrlAltB);
    EXPECT_EQ(hotKey.held, kCtrlAltB);
    EXPECT_TRUE(requests.empty());
}

TEST_F(DlgConfigTest, SecondRenameInTheRoomWithinAMinuteIsRefusedUnlessStaff) {
    struct Case {
        const char* name;
        bool staff;
        QString secondNickname;
        bool secondFemale;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"plain user renames", false, QStringLiteral("第三个名字"), false, true},
        {"staff renames", true, QStringLiteral("第三个名字"), false, false},
        {"plain user changes sex only", false, QStringLiteral("第二个名字"), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        limiter = NicknameChangeLimiter([this] { return now; });
        requests.clear();
        messages.shown.clear();
        own.nickname = u"小明";
        own.sex = 'M';

        const auto first = open(c.staff);
        typeNickname(*first, QStringLiteral("第二个名字"));
        QTest::mouseClick(first->okButton(), Qt::LeftButton);
        EXPECT_FALSE(first->isVisible());
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0], (RoomNickname{u"第二个名字", 'M'}));
        confirmLastRequest();

        now += 30000;
        const auto second = open(c.staff);
        typeNickname(*second, c.secondNickname);
        if (c.secondFemale) {
            clickIndicator(second->chatterPage()->femaleButton());
        }
        QTest::mouseClick(second->okButton(), Qt::LeftButton);
        EXPECT_EQ(second->isVisible(), c.refused);
        EXPECT_EQ(requests.size(), c.refused ? 1u : 2u);
        const std::vector<ShownMessage> expected =
            c.refused ? std::vector<ShownMessage>{{"请不要频繁的改动昵称!",
                                                   tekna::MessageCaption::Warning,
                                                   tekna::MessageIcon::Warning}}
                      : std::vector<ShownMessage>{};
        EXPECT_EQ(messages.shown, expected);
    }
}

TEST_F(DlgConfigTest, OkWithoutChangesSendsNothing) {
    for (const uint8_t sex : {uint8_t{'M'}, uint8_t{'F'}, uint8_t{'U'}, uint8_t{0}}) {
        own.sex = sex;
        const auto dialog = open();
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible()) << int{sex};
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DlgConfigTest, NicknameTheClientRefusesKeepsTheSheetOpenAndStartsNoWaitingTime) {
    const auto dialog = open();
    typeNickname(*dialog, QStringLiteral("不雅的名字"));
    clientAccepts = false;
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), dialog->chatterPage()->nicknameEdit());

    now += 1000;
    clientAccepts = true;
    typeNickname(*dialog, QStringLiteral("好名字"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].nickname, u"好名字");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DlgConfigTest, OkStoresEveryPage) {
    struct Case {
        bool enter;
        bool altS;
        QString size;
        uint32_t sendKey;
        int32_t chars;
    };
    const std::vector<Case> cases = {
        {true, true, QStringLiteral("3"), 5, 3072},
        {false, false, QStringLiteral("99999"), 2, 102398976},
    };
    for (const Case& c : cases) {
        const auto dialog = open();
        PageHotKey* keys = dialog->hotKeyPage();
        dialog->tabs()->setCurrentWidget(keys);
        clickIndicator(c.enter ? keys->enterButton() : keys->ctrlEnterButton());
        if (keys->altSBox()->isChecked() != c.altS) {
            clickIndicator(keys->altSBox());
        }
        typeSize(*dialog, c.size);
        dialog->tabs()->setCurrentWidget(dialog->roomPage());
        clickIndicator(dialog->roomPage()->picturesBox());
        const bool pictures = dialog->roomPage()->picturesBox()->isChecked();
        QTest::keyClick(keys->hotKeyEdit(), Qt::Key_B, Qt::ControlModifier | Qt::AltModifier);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(config->sendKey(), c.sendKey);
        EXPECT_EQ(config->maxChatBoxChars(), c.chars);
        EXPECT_EQ(config->allowShowPictures(), pictures);
        EXPECT_EQ(config->screenCaptureHotKey(), kCtrlAltB);
        EXPECT_EQ(hotKey.held, kCtrlAltB);
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DlgConfigTest, ApplyIsOfferedAfterAChangeAndCancelStoresNothing) {
    const auto dialog = open();
    typeSize(*dialog, QStringLiteral("4"));
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    EXPECT_EQ(config->maxChatBoxChars(), 4096);

    typeSize(*dialog, QStringLiteral("9"));
    dialog->tabs()->setCurrentWidget(dialog->hotKeyPage());
    clickIndicator(dialog->hotKeyPage()->altSBox());
    ASSERT_FALSE(dialog->hotKeyPage()->altSBox()->isChecked());
    QTest::keyClick(dialog->hotKeyPage()->hotKeyEdit(), Qt::Key_F9);
    dialog->reject();
    EXPECT_EQ(config->maxChatBoxChars(), 4096);
    EXPECT_EQ(config->sendKey(), UserConfig::kDefaultSendKey);
    EXPECT_EQ(config->screenCaptureHotKey(), 0u);
    // The empty hot key of the Apply took nothing.
    EXPECT_EQ(hotKey.held, std::nullopt);
}

TEST_F(DlgConfigTest, ContextFromTheChatClient) {
    struct Case {
        uint32_t roleFlags;
        bool staff;
    };
    const std::vector<Case> cases = {
        {0, false},
        {0x02, true},
        {0x04, true},
        {0x01 | 0x08 | 0x10 | 0x20 | 0x40, false},
    };
    const fakes::NoAdapters adapters;
    const fakes::NoHostNames resolver;
    for (const Case& c : cases) {
        ChatClient client(*config, messages, adapters, resolver);
        client.onLoginAccepted(42, c.roleFlags);
        const SettingsContext context = settingsContextOf(client, kRoom, hotKey, messages);
        EXPECT_EQ(context.roomId, kRoom);
        EXPECT_EQ(context.staff, c.staff) << c.roleFlags;
        // No record for a room that was not entered: the login record stands in.
        EXPECT_EQ(context.ownRecord.chatterId, 42u);
    }
    // The change goes to the client, which refuses a blank nickname before anything is sent.
    ChatClient client(*config, messages, adapters, resolver);
    messages.shown.clear();
    const SettingsContext context = settingsContextOf(client, kRoom, hotKey, messages);
    ChatterRecord blank = context.ownRecord;
    blank.nickname = u"  ";
    EXPECT_FALSE(context.changeNickname(blank, kRoom));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "昵称不能空");
}

}  // namespace
}  // namespace chat
