#include <gtest/gtest.h>

#include "support/recording_messages.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QImageWriter>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "admin/account_level.h"
#include "content/widgets/picture_embedding.h"
#include "ui/room/input/cinput_dlg.h"
#include "ui/room/input/font_choice.h"
#include "ui/room/input/input_box.h"

namespace chat {
namespace {

using namespace AccountLevel;

using test::RecordingMessages;
using test::ShownMessage;

QByteArray pngOf(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return buffer.data();
}

QImage redSquare() {
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    return image;
}

// A bar of room 9 with a clock the test moves, recording what it sends and shows.
class InputBarTest : public ::testing::Test {
  protected:
    std::unique_ptr<CInputDlg> makeBar(uint32_t accountLevel = 0, bool privateRoom = false,
                                       uint32_t attributes = 0, uint32_t roomBits = 0,
                                       int32_t roomId = 9) {
        InputDlgContext context;
        context.roomId = roomId;
        context.privateRoom = privateRoom;
        context.roomAttributes = attributes;
        context.accountLevel = accountLevel;
        context.roomRoleBits = roomBits;
        context.send = [this](const InputBoxContent& content) {
            sent.push_back(content);
            return sendSucceeds;
        };
        context.styleChanged = [this](const TextStyle& style) { styles.push_back(style); };
        context.messages = &messages;
        context.clock = [this] { return now; };
        auto bar = std::make_unique<CInputDlg>(std::move(context));
        bar->resize(600, 120);
        return bar;
    }

    static std::u16string onlyText(const InputBoxContent& content) {
        std::u16string text;
        for (const InputPiece& piece : content) {
            if (const auto* run = std::get_if<std::u16string>(&piece)) {
                text += *run;
            }
        }
        return text;
    }

    uint32_t now = 100'000;
    bool sendSucceeds = true;
    std::vector<InputBoxContent> sent;
    std::vector<TextStyle> styles;
    RecordingMessages messages;
};

struct KeyCase {
    const char* name;
    uint32_t sendKey;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    InputKeyAction action;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class InputKeyCases : public ::testing::TestWithParam<KeyCase> {};

TEST_P(InputKeyCases, FollowTheSendKeySetting) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(inputKeyAction(c.key, c.modifiers, c.sendKey), c.action);
}

using enum InputKeyAction;
const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kAlt = Qt::AltModifier;

INSTANTIATE_TEST_SUITE_P(
    InputBox, InputKeyCases,
    ::testing::Values(
        KeyCase{"Enter mode: Enter sends", 5, Qt::Key_Return, kNone, Send},
        KeyCase{"Enter mode: keypad Enter sends", 1, Qt::Key_Enter, kNone, Send},
        KeyCase{"Enter mode: Shift+Enter sends", 1, Qt::Key_Return, Qt::ShiftModifier, Send},
        KeyCase{"Enter mode: Ctrl+Enter breaks the line", 1, Qt::Key_Return, kCtrl, LineBreak},
        KeyCase{"Ctrl mode: Enter breaks the line", 6, Qt::Key_Return, kNone, LineBreak},
        KeyCase{"Ctrl mode: Ctrl+Enter sends", 2, Qt::Key_Return, kCtrl, Send},
        KeyCase{"Alt+S sends when allowed", 6, Qt::Key_S, kAlt, Send},
        KeyCase{"Alt+S is a key when not allowed", 2, Qt::Key_S, kAlt, Default},
        KeyCase{"AltGr+S (Ctrl+Alt) does not send", 6, Qt::Key_S, kCtrl | kAlt, Default},
        KeyCase{"S alone is typed", 6, Qt::Key_S, kNone, Default},
        KeyCase{"Ctrl+V pastes", 6, Qt::Key_V, kCtrl, Paste},
        KeyCase{"V alone is typed", 6, Qt::Key_V, kNone, Default}));

TEST_F(InputBarTest, SendKeysSendOrBreakTheLineInBothModes) {
    const struct {
        const char* name;
        uint32_t sendKey;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool sends;
    } cases[] = {
        {"Ctrl mode, Enter", 6, Qt::Key_Return, kNone, false},
        {"Ctrl mode, Ctrl+Enter", 6, Qt::Key_Return, kCtrl, true},
        {"Ctrl mode, Alt+S", 6, Qt::Key_S, kAlt, true},
        {"Enter mode, Enter", 1, Qt::Key_Return, kNone, true},
        {"Enter mode, Ctrl+Enter", 1, Qt::Key_Return, kCtrl, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sent.clear();
        auto bar = makeBar();
        InputBox* box = bar->inputBox();
        box->setSendKeySource([&] { return c.sendKey; });
        QTest::keyClicks(box, "hi");
        now += 5000;
        QTest::keyClick(box, c.key, c.modifiers);
        if (c.sends) {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(onlyText(sent[0]), u"hi");
            EXPECT_EQ(box->length(), 0);
        } else {
            EXPECT_TRUE(sent.empty());
            EXPECT_EQ(onlyText(box->content()), u"hi\r");
        }
    }
}

TEST_F(InputBarTest, PictureButtonAsksForAPictureAndTheScreenshotButtonWaits) {
    auto bar = makeBar(kCustomerService);
    QSignalSpy asked(bar.get(), &CInputDlg::pictureRequested);
    ASSERT_TRUE(bar->button(CInputDlg::kPictureButtonId)->isEnabled());
    bar->button(CInputDlg::kPictureButtonId)->click();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_FALSE(bar->button(CInputDlg::kScreenshotButtonId)->isEnabled());
}

TEST_F(InputBarTest, SendButtonPostsTheSend) {
    auto bar = makeBar();
    bar->inputBox()->insertLimited(QStringLiteral("x"));
    now += 5000;
    bar->button(CInputDlg::kSendButtonId)->click();
    EXPECT_TRUE(sent.empty());  // posted, not yet run
    QApplication::processEvents();
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(InputBarTest, IntervalRefusalShowsTheWarningAndKeepsTheText) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    box->insertLimited(QStringLiteral("早"));

    now += 500;  // right after entering the room
    bar->send();
    EXPECT_TRUE(sent.empty());
    const ShownMessage tooFast{"您发言的速度过快，请稍后再试", tekna::MessageCaption::Warning,
                               tekna::MessageIcon::Warning};
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{tooFast});
    EXPECT_EQ(onlyText(box->content()), u"早");

    now += 500;  // 1000 ms after the bar was made: the refusal did not move the last send
    bar->send();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(box->length(), 0);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(InputBarTest, FailedSendStepKeepsTheBox) {
    auto bar = makeBar(kCustomerService);
    sendSucceeds = false;
    bar->inputBox()->insertLimited(QStringLiteral("again"));
    bar->send();
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(onlyText(bar->inputBox()->content()), u"again");
}

TEST_F(InputBarTest, EmptyBoxSendsNothing) {
    auto bar = makeBar(kCustomerService);
    bar->send();
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(InputBarTest, PictureCountAndRefusalsComeFromEmbeddedObjects) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    box->insertLimited(QStringLiteral("看"));
    ASSERT_TRUE(embedPictureBytes(*box, pngOf(redSquare()), 0));
    ASSERT_TRUE(embedPictureBytes(*box, pngOf(redSquare()), 0));
    EXPECT_EQ(box->pictureCount(), 2u);
    now += 5000;
    bar->send();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "发言内容中包含的图片数量过多");
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(box->pictureCount(), 2u);
}

TEST_F(InputBarTest, DescribesTheBoxInDocumentOrder) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    const QByteArray picture = pngOf(redSquare());
    box->insertLimited(QStringLiteral("ab\r\nx"));
    ASSERT_TRUE(embedPictureBytes(*box, picture, 0));
    ASSERT_TRUE(embedPictureBytes(*box, picture, 0));
    box->insertLimited(QStringLiteral("c"));

    const InputBoxContent content = box->content();
    ASSERT_EQ(content.size(), 4u);
    EXPECT_EQ(std::get<std::u16string>(content[0]), u"ab\rx");
    for (const size_t i : {1u, 2u}) {
        const auto& object = std::get<InputObject>(content[i]);
        EXPECT_EQ(object.tag, 0xFFFFu);
        EXPECT_EQ(object.pictureBytes, std::vector<uint8_t>(picture.begin(), picture.end()));
    }
    EXPECT_EQ(std::get<std::u16string>(content[3]), u"c");
    EXPECT_EQ(box->shape(), (MessageShape{true, 2}));

    box->clearBox();
    ASSERT_TRUE(embedPictureBytes(*box, picture, 0));
    EXPECT_EQ(box->content().size(), 1u);
    EXPECT_EQ(box->shape(), (MessageShape{false, 1}));
}

TEST_F(InputBarTest, PastesTextWithoutFormattingOrABitmapAsAPicture) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    auto* formatted = new QMimeData;
    formatted->setHtml(QStringLiteral("<b><span style='color:#ff0000'>粗</span></b>"));
    formatted->setText(QStringLiteral("粗\r\n体"));
    QApplication::clipboard()->setMimeData(formatted);

    QTest::keyClick(box, Qt::Key_V, kCtrl);
    EXPECT_EQ(onlyText(box->content()), u"粗\r体");
    QTextCursor first(box->document());
    first.setPosition(1);
    EXPECT_NE(first.charFormat().fontWeight(), QFont::Bold);
    EXPECT_NE(first.charFormat().foreground().color(), QColor(Qt::red));

    box->clearBox();
    QApplication::clipboard()->setImage(redSquare());
    box->runCommand(InputBox::kPasteCommand);
    EXPECT_EQ(box->pictureCount(), 1u);
    const InputBoxContent content = box->content();
    ASSERT_EQ(content.size(), 1u);
    const auto* object = std::get_if<InputObject>(&content[0]);
    ASSERT_NE(object, nullptr);
    ASSERT_GE(object->pictureBytes.size(), 2u);
    EXPECT_EQ(object->pictureBytes[0], 0xFF) << "a pasted bitmap travels as JPEG";
    EXPECT_EQ(object->pictureBytes[1], 0xD8);
}

TEST_F(InputBarTest, ContextMenuGreysWhatCannotBeDone) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    const auto enabled = [&](int command) {
        const std::unique_ptr<QMenu> menu = box->makeContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == command) {
                return action->isEnabled();
            }
        }
        ADD_FAILURE() << "no command " << command;
        return false;
    };
    QApplication::clipboard()->clear();
    for (const int command :
         {InputBox::kCutCommand, InputBox::kCopyCommand, InputBox::kDeleteCommand,
          InputBox::kSelectAllCommand, InputBox::kPasteCommand}) {
        EXPECT_FALSE(enabled(command)) << command;
    }
    EXPECT_TRUE(enabled(InputBox::kFontCommand));

    box->insertLimited(QStringLiteral("abc"));
    EXPECT_TRUE(enabled(InputBox::kSelectAllCommand));
    EXPECT_FALSE(enabled(InputBox::kCopyCommand));
    box->selectAll();
    box->runCommand(InputBox::kCopyCommand);
    for (const int command : {InputBox::kCutCommand, InputBox::kCopyCommand,
                              InputBox::kDeleteCommand, InputBox::kPasteCommand}) {
        EXPECT_TRUE(enabled(command)) << command;
    }
    box->runCommand(InputBox::kDeleteCommand);
    EXPECT_EQ(box->length(), 0);
}

TEST_F(InputBarTest, KeepsToTheCharacterLimit) {
    auto bar = makeBar();
    InputBox* box = bar->inputBox();
    EXPECT_EQ(box->characterLimit(), InputBox::kBoxLimit);

    RoomSettingBlock settings = bar->speakingRules().settings();
    settings.maxCharacters = 5;
    bar->applyRoomSettings(settings, false);
    EXPECT_EQ(box->characterLimit(), InputBox::kBoxLimit) << "staff keep their limit";
    bar->applyRoomSettings(settings, true);
    EXPECT_EQ(box->characterLimit(), 4);
    EXPECT_EQ(bar->speakingRules().settings().maxCharacters, 5u);

    QTest::keyClicks(box, "abcdef");
    EXPECT_EQ(onlyText(box->content()), u"abcd");
    box->clearBox();
    box->insertLimited(QStringLiteral("a\nbcdef"));
    EXPECT_EQ(onlyText(box->content()), u"a\rbc");
    box->clearBox();
    QTest::keyClicks(box, "ab");
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("一二三"));
    QApplication::sendEvent(box, &composed);
    EXPECT_EQ(onlyText(box->content()), u"ab一二") << "an input method's text is cut too";

    settings.maxCharacters = 0;
    bar->applyRoomSettings(settings, true);
    EXPECT_EQ(box->characterLimit(), InputBox::kBoxLimit);
}

TEST_F(InputBarTest, AddresseeSelector) {
    auto bar = makeBar();
    EXPECT_EQ(bar->addresseeSelector()->itemText(0), QStringLiteral("所有人"));
    EXPECT_EQ(bar->selectedAddressee(), -1);
    EXPECT_TRUE(bar->addresseeSelector()->isEnabled());

    bar->chooseAddressee(31, QStringLiteral("甲"));
    bar->chooseAddressee(32, QStringLiteral("乙"));
    bar->chooseAddressee(31, QStringLiteral("甲"));
    EXPECT_EQ(bar->addresseeSelector()->count(), 3);
    EXPECT_EQ(bar->selectedAddressee(), 31);

    bar->removeAddressee(32);
    EXPECT_EQ(bar->selectedAddressee(), 31) << "another entry's removal keeps the selection";
    bar->removeAddressee(31);
    EXPECT_EQ(bar->selectedAddressee(), -1) << "a removed addressee does not pass the whisper on";

    bar->chooseAddressee(33, QStringLiteral("丙"));
    bar->inputBox()->insertLimited(QStringLiteral("x"));
    bar->greet(QStringLiteral("丙"));
    EXPECT_EQ(bar->selectedAddressee(), -1);
    EXPECT_EQ(onlyText(bar->inputBox()->content()), u"x丙 您好:\r");
}

TEST_F(InputBarTest, PrivateRoomKeepsTheSelectorOnEverybody) {
    auto bar = makeBar(0, true);
    EXPECT_FALSE(bar->addresseeSelector()->isEnabled());
    bar->chooseAddressee(31, QStringLiteral("甲"));
    EXPECT_EQ(bar->selectedAddressee(), -1);
    EXPECT_EQ(bar->addresseeSelector()->count(), 1);
}

TEST_F(InputBarTest, ShowsAndPlacesTheButtonsTheRoomAllows) {
    const struct {
        const char* name;
        uint32_t account;
        bool privateRoom;
        uint32_t attributes;
        uint32_t roomBits;
        int32_t roomId;
        bool picture, screenshot, roomMenu;
    } cases[] = {
        {"ordinary", 0, false, 0, 0, 9, false, false, false},
        {"room 1", 0, false, 0, 0, 1, false, true, false},
        {"picture room", 0, false, 0x08, 0, 9, true, true, false},
        {"private", kSystemAdmin, true, 0, 0, 700, true, true, false},
        {"customer service", kCustomerService, false, 0, 0, 9, true, true, false},
        {"owner", 0, false, 0, kRoomOwner, 9, true, true, true},
        {"administrator", 0, false, 0, kRoomAdmin, 9, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bar = makeBar(c.account, c.privateRoom, c.attributes, c.roomBits, c.roomId);
        const auto shown = [&](int id) { return !bar->button(id)->isHidden(); };
        EXPECT_EQ(shown(CInputDlg::kPictureButtonId), c.picture);
        EXPECT_EQ(shown(CInputDlg::kScreenshotButtonId), c.screenshot);
        EXPECT_EQ(shown(CInputDlg::kRoomMenuButtonId), c.roomMenu);
        for (const int always : {CInputDlg::kFontButtonId, CInputDlg::kSettingsButtonId,
                                 CInputDlg::kSendButtonId, CInputDlg::kQuickRepliesButtonId}) {
            EXPECT_TRUE(shown(always)) << always;
        }
        EXPECT_FALSE(shown(CInputDlg::kEmoticonButtonId));

        // The left group runs from the font button with 2-pixel gaps; hidden buttons take no
        // space.
        int x = bar->button(CInputDlg::kFontButtonId)->geometry().right() + 1 + CInputDlg::kGap;
        for (const int id : {CInputDlg::kPictureButtonId, CInputDlg::kScreenshotButtonId,
                             CInputDlg::kSettingsButtonId}) {
            if (shown(id)) {
                EXPECT_EQ(bar->button(id)->x(), x) << id;
                x += bar->button(id)->width() + CInputDlg::kGap;
            }
        }
    }
}

TEST_F(InputBarTest, LaysOutTheRightGroupAndTheBoxOnResize) {
    auto bar = makeBar(kSystemAdmin);
    bar->show();
    bar->resize(790, 150);
    const QRect quick = bar->button(CInputDlg::kQuickRepliesButtonId)->geometry();
    const QRect sendButton = bar->button(CInputDlg::kSendButtonId)->geometry();
    const QRect menu = bar->button(CInputDlg::kRoomMenuButtonId)->geometry();
    EXPECT_EQ(quick.right() + 1, 790 - 2);
    EXPECT_EQ(quick.width(), 12);
    EXPECT_EQ(sendButton.right() + 1 + 2, quick.left());
    EXPECT_EQ(menu.right() + 1 + 2, sendButton.left());
    EXPECT_EQ(menu.top(), quick.top());
    EXPECT_EQ(bar->inputBox()->geometry(), QRect(1, 30, 788, 119));
}

TEST(FontChoice, RefusesReservedStylesToUsersWithoutTheRight) {
    const struct {
        const char* name;
        int32_t size;
        uint32_t colour;
        uint32_t account;
        bool refused;
    } cases[] = {
        {"grey 9 points", 9, rgb(128, 128, 128), 0, true},
        {"grey 9 points, customer service", 9, rgb(128, 128, 128), kCustomerService, false},
        {"grey 9 points, system administrator", 9, rgb(128, 128, 128), kSystemAdmin, false},
        {"grey 9 points, room owner", 9, rgb(128, 128, 128), kRoomOwner, true},
        {"blue does not matter", 10, rgb(0x80, 0x80, 0xFF), 0, true},
        {"11 points", 11, rgb(128, 128, 128), 0, false},
        {"green 136", 9, rgb(128, 136, 128), 0, false},
        {"black", 9, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TextStyle style;
        style.size = c.size;
        style.colour = c.colour;
        const auto refusal = fontChoiceRefusal(style, c.account);
        EXPECT_EQ(refusal.has_value(), c.refused);
        if (refusal) {
            EXPECT_EQ(*refusal, "您所选择的字体风格被系统保留，请重新选择！");
        }
    }
}

TEST(FontChoice, DialogStaysOpenOnAReservedChoice) {
    RecordingMessages messages;
    TextStyle grey;
    grey.size = 9;
    grey.colour = rgb(128, 128, 128);
    grey.bold = 1;

    FontChoiceDialog ordinary(grey, 0, messages);
    ordinary.show();
    ordinary.accept();
    EXPECT_TRUE(ordinary.isVisible());
    EXPECT_EQ(ordinary.result(), QDialog::Rejected);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0],
              (ShownMessage{"您所选择的字体风格被系统保留，请重新选择！",
                            tekna::MessageCaption::None, tekna::MessageIcon::Error}));

    FontChoiceDialog staff(grey, kCustomerService, messages);
    staff.show();
    staff.accept();
    EXPECT_EQ(staff.result(), QDialog::Accepted);
    EXPECT_EQ(staff.style().colour, grey.colour);
    EXPECT_EQ(staff.style().size, 9);
    EXPECT_EQ(staff.style().bold, 1);
}

TEST_F(InputBarTest, ChosenStyleGoesToTheClientAndTheBox) {
    auto bar = makeBar();
    TextStyle grey;
    grey.colour = rgb(128, 128, 128);
    grey.italic = 1;
    bar->applyChosenStyle(grey);
    ASSERT_EQ(styles.size(), 1u);
    EXPECT_EQ(styles[0], grey);
    const QTextCharFormat format = bar->inputBox()->currentCharFormat();
    EXPECT_TRUE(format.fontItalic());
    EXPECT_EQ(format.foreground().color(), QColor(Qt::black)) << "stored without the grey";
}

}  // namespace
}  // namespace chat
