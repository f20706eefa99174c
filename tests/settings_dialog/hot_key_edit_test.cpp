#include "ui/hotkey/hot_key_edit.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "ui/hotkey/x11_hot_key.h"

namespace chat {
namespace {

constexpr uint32_t kCtrlA = 0x0241;

TEST(HotKeyEditTest, PressedCombinationsBecomeControlValues) {
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        uint32_t value;  // kCtrlA: the field kept its value
        QString text;
    };
    const std::vector<Case> cases = {
        {"letter with Ctrl and Alt", Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, 0x0641,
         QStringLiteral("Ctrl + Alt + A")},
        {"shifted digit is its key", Qt::Key_Exclam, Qt::ShiftModifier, 0x0131,
         QStringLiteral("Shift + 1")},
        {"shifted punctuation", Qt::Key_Question, Qt::ControlModifier | Qt::ShiftModifier, 0x03BF,
         QStringLiteral("Ctrl + Shift + /")},
        {"function key alone", Qt::Key_F12, Qt::NoModifier, 0x007B, QStringLiteral("F12")},
        {"keypad digit", Qt::Key_5, Qt::KeypadModifier, 0x0065, QStringLiteral("Num+5")},
        {"keypad plus", Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier, 0x046B,
         QStringLiteral("Alt + Num++")},
        {"navigation key is extended", Qt::Key_Home, Qt::ControlModifier, 0x0A24,
         QStringLiteral("Ctrl + Home")},
        {"keypad navigation key is not", Qt::Key_Home, Qt::KeypadModifier, 0x0024,
         QStringLiteral("Home")},
        {"backspace clears", Qt::Key_Backspace, Qt::NoModifier, 0, QStringLiteral("无")},
        {"delete clears", Qt::Key_Delete, Qt::NoModifier, 0, QStringLiteral("无")},
        {"escape belongs to the dialog", Qt::Key_Escape, Qt::NoModifier, kCtrlA,
         QStringLiteral("Ctrl + A")},
        {"a modifier alone is no key", Qt::Key_Control, Qt::ControlModifier, kCtrlA,
         QStringLiteral("Ctrl + A")},
        {"lock keys are no hot keys", Qt::Key_CapsLock, Qt::NoModifier, kCtrlA,
         QStringLiteral("Ctrl + A")},
    };
    for (const Case& c : cases) {
        HotKeyEdit edit;
        edit.setValue(kCtrlA);
        QSignalSpy edited(&edit, &HotKeyEdit::valueEdited);
        QTest::keyClick(&edit, c.key, c.modifiers);
        EXPECT_EQ(edit.value(), c.value) << c.name;
        EXPECT_EQ(edit.text(), c.text) << c.name;
        EXPECT_EQ(edited.count(), c.value == kCtrlA ? 0 : 1) << c.name;
    }
}

TEST(HotKeyEditTest, HeldModifiersShowUntilReleased) {
    HotKeyEdit edit;
    QTest::keyPress(&edit, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("Ctrl + "));
    QTest::keyRelease(&edit, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("无"));
    EXPECT_EQ(edit.value(), 0u);
}

TEST(X11HotKeyTest, WithoutAnX11DisplayEveryKeyIsGranted) {
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        GTEST_SKIP() << "an X11 display grabs for real (x11_hot_key_try tries it)";
    }
    X11HotKey hotKey;
    EXPECT_FALSE(hotKey.grabsKeys());
    EXPECT_TRUE(hotKey.registerHotKey(0x0641));
    hotKey.unregisterHotKey();
}

}  // namespace
}  // namespace chat
