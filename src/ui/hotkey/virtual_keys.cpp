#include "ui/hotkey/virtual_keys.h"

#include <QKeySequence>

#include <X11/keysym.h>

#include <array>

namespace chat {

namespace {

struct KeyRow {
    uint8_t virtualKey;
    int qtKey;
    bool keypad;  // the row matches only a key of the numeric keypad
    uint32_t keysym;
    bool extended;
};

// Letters, digits, keypad digits and function keys follow from ranges (see rowOf); this table
// holds the rest. Rows after the first one of a virtual key only translate Qt keys (shifted
// characters).
constexpr std::array kRows = std::to_array<KeyRow>({
    {0x08, Qt::Key_Backspace, false, XK_BackSpace, false},
    {0x09, Qt::Key_Tab, false, XK_Tab, false},
    {0x0D, Qt::Key_Return, false, XK_Return, false},
    {0x13, Qt::Key_Pause, false, XK_Pause, false},
    {0x1B, Qt::Key_Escape, false, XK_Escape, false},
    {0x20, Qt::Key_Space, false, XK_space, false},
    {0x21, Qt::Key_PageUp, false, XK_Prior, true},
    {0x22, Qt::Key_PageDown, false, XK_Next, true},
    {0x23, Qt::Key_End, false, XK_End, true},
    {0x24, Qt::Key_Home, false, XK_Home, true},
    {0x25, Qt::Key_Left, false, XK_Left, true},
    {0x26, Qt::Key_Up, false, XK_Up, true},
    {0x27, Qt::Key_Right, false, XK_Right, true},
    {0x28, Qt::Key_Down, false, XK_Down, true},
    {0x2C, Qt::Key_Print, false, XK_Print, true},
    {0x2D, Qt::Key_Insert, false, XK_Insert, true},
    {0x2E, Qt::Key_Delete, false, XK_Delete, true},
    {0x5D, Qt::Key_Menu, false, XK_Menu, true},
    {0x6A, Qt::Key_Asterisk, true, XK_KP_Multiply, false},
    {0x6B, Qt::Key_Plus, true, XK_KP_Add, false},
    {0x6D, Qt::Key_Minus, true, XK_KP_Subtract, false},
    {0x6E, Qt::Key_Period, true, XK_KP_Decimal, false},
    {0x6F, Qt::Key_Slash, true, XK_KP_Divide, true},
    {0x91, Qt::Key_ScrollLock, false, XK_Scroll_Lock, false},
    {0xBA, Qt::Key_Semicolon, false, XK_semicolon, false},
    {0xBA, Qt::Key_Colon, false, XK_semicolon, false},
    {0xBB, Qt::Key_Equal, false, XK_equal, false},
    {0xBB, Qt::Key_Plus, false, XK_equal, false},
    {0xBC, Qt::Key_Comma, false, XK_comma, false},
    {0xBC, Qt::Key_Less, false, XK_comma, false},
    {0xBD, Qt::Key_Minus, false, XK_minus, false},
    {0xBD, Qt::Key_Underscore, false, XK_minus, false},
    {0xBE, Qt::Key_Period, false, XK_period, false},
    {0xBE, Qt::Key_Greater, false, XK_period, false},
    {0xBF, Qt::Key_Slash, false, XK_slash, false},
    {0xBF, Qt::Key_Question, false, XK_slash, false},
    {0xC0, Qt::Key_QuoteLeft, false, XK_grave, false},
    {0xC0, Qt::Key_AsciiTilde, false, XK_grave, false},
    {0xDB, Qt::Key_BracketLeft, false, XK_bracketleft, false},
    {0xDB, Qt::Key_BraceLeft, false, XK_bracketleft, false},
    {0xDC, Qt::Key_Backslash, false, XK_backslash, false},
    {0xDC, Qt::Key_Bar, false, XK_backslash, false},
    {0xDD, Qt::Key_BracketRight, false, XK_bracketright, false},
    {0xDD, Qt::Key_BraceRight, false, XK_bracketright, false},
    {0xDE, Qt::Key_Apostrophe, false, XK_apostrophe, false},
    {0xDE, Qt::Key_QuoteDbl, false, XK_apostrophe, false},
    // Shifted digits of the US layout.
    {0x31, Qt::Key_Exclam, false, XK_1, false},
    {0x32, Qt::Key_At, false, XK_2, false},
    {0x33, Qt::Key_NumberSign, false, XK_3, false},
    {0x34, Qt::Key_Dollar, false, XK_4, false},
    {0x35, Qt::Key_Percent, false, XK_5, false},
    {0x36, Qt::Key_AsciiCircum, false, XK_6, false},
    {0x37, Qt::Key_Ampersand, false, XK_7, false},
    {0x38, Qt::Key_Asterisk, false, XK_8, false},
    {0x39, Qt::Key_ParenLeft, false, XK_9, false},
    {0x30, Qt::Key_ParenRight, false, XK_0, false},
});

constexpr uint8_t kFirstLetter = 0x41;  // 'A'..'Z'
constexpr uint8_t kFirstDigit = 0x30;   // '0'..'9'
constexpr uint8_t kFirstKeypadDigit = 0x60;
constexpr uint8_t kFirstFunctionKey = 0x70;  // F1..F24
constexpr int kLetters = 26;
constexpr int kDigits = 10;
constexpr int kFunctionKeys = 24;

bool inRange(int value, int first, int count) {
    return value >= first && value < first + count;
}

// The row of a virtual key: the ranges first, then the first table row of the key.
std::optional<KeyRow> rowOf(uint8_t virtualKey) {
    if (inRange(virtualKey, kFirstLetter, kLetters)) {
        return KeyRow{virtualKey, virtualKey, false, XK_a + uint32_t(virtualKey - kFirstLetter),
                      false};
    }
    if (inRange(virtualKey, kFirstDigit, kDigits)) {
        return KeyRow{virtualKey, virtualKey, false, virtualKey, false};
    }
    if (inRange(virtualKey, kFirstKeypadDigit, kDigits)) {
        const int digit = virtualKey - kFirstKeypadDigit;
        return KeyRow{virtualKey, Qt::Key_0 + digit, true, XK_KP_0 + uint32_t(digit), false};
    }
    if (inRange(virtualKey, kFirstFunctionKey, kFunctionKeys)) {
        const int index = virtualKey - kFirstFunctionKey;
        return KeyRow{virtualKey, Qt::Key_F1 + index, false, XK_F1 + uint32_t(index), false};
    }
    for (const KeyRow& row : kRows) {
        if (row.virtualKey == virtualKey) {
            return row;
        }
    }
    return std::nullopt;
}

std::optional<PressedVirtualKey> tableKeyOfQtKey(int qtKey, bool keypad) {
    for (const KeyRow& row : kRows) {
        if (row.qtKey == qtKey && row.keypad == keypad) {
            return PressedVirtualKey{row.virtualKey, row.extended};
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<PressedVirtualKey> virtualKeyOfQtKey(int qtKey, bool keypad) {
    if (inRange(qtKey, Qt::Key_A, kLetters)) {
        return PressedVirtualKey{static_cast<uint8_t>(kFirstLetter + (qtKey - Qt::Key_A)), false};
    }
    if (inRange(qtKey, Qt::Key_0, kDigits)) {
        const uint8_t first = keypad ? kFirstKeypadDigit : kFirstDigit;
        return PressedVirtualKey{static_cast<uint8_t>(first + (qtKey - Qt::Key_0)), false};
    }
    if (inRange(qtKey, Qt::Key_F1, kFunctionKeys)) {
        return PressedVirtualKey{static_cast<uint8_t>(kFirstFunctionKey + (qtKey - Qt::Key_F1)),
                                 false};
    }
    if (const auto key = tableKeyOfQtKey(qtKey, keypad)) {
        return key;
    }
    // The navigation keys of the keypad (Num Lock off) are the same keys, not extended.
    if (keypad) {
        if (auto key = tableKeyOfQtKey(qtKey, false)) {
            key->extended = false;
            return key;
        }
    }
    return std::nullopt;
}

QString virtualKeyName(uint8_t virtualKey) {
    const auto row = rowOf(virtualKey);
    if (!row) {
        return QStringLiteral("0x%1").arg(virtualKey, 2, 16, QLatin1Char('0'));
    }
    const QKeyCombination key(row->keypad ? Qt::KeypadModifier : Qt::NoModifier,
                              static_cast<Qt::Key>(row->qtKey));
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

uint32_t x11KeysymOfVirtualKey(uint8_t virtualKey) {
    const auto row = rowOf(virtualKey);
    return row ? row->keysym : 0;
}

}  // namespace chat
