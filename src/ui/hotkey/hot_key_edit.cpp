#include "ui/hotkey/hot_key_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

#include "client/ports/hot_key_port.h"
#include "ui/hotkey/virtual_keys.h"

namespace chat {

namespace {

uint8_t modifierFlags(Qt::KeyboardModifiers modifiers) {
    uint8_t flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= HotKeyFlag::kShift;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= HotKeyFlag::kControl;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= HotKeyFlag::kAlt;
    }
    return flags;
}

QString modifiersText(uint8_t flags) {
    QString text;
    if (flags & HotKeyFlag::kControl) {
        text += QStringLiteral("Ctrl + ");
    }
    if (flags & HotKeyFlag::kShift) {
        text += QStringLiteral("Shift + ");
    }
    if (flags & HotKeyFlag::kAlt) {
        text += QStringLiteral("Alt + ");
    }
    return text;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

// The flag of a modifier key itself: its press may come before the state says it is held.
uint8_t flagOfModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
            return HotKeyFlag::kShift;
        case Qt::Key_Control:
            return HotKeyFlag::kControl;
        case Qt::Key_Alt:
            return HotKeyFlag::kAlt;
        default:
            return 0;
    }
}

}  // namespace

HotKeyEdit::HotKeyEdit(QWidget* parent) : QLineEdit(parent) {
    setText(textOf(0));
    // Only key presses change the field: no typing, pasting or dropping of text.
    setReadOnly(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
}

QString HotKeyEdit::textOf(uint32_t value) {
    const HotKeyChord chord = HotKeyChord::fromValue(value);
    if (value == 0) {
        return QString::fromUtf8(kNoneText);
    }
    return modifiersText(chord.flags) + virtualKeyName(chord.virtualKey);
}

void HotKeyEdit::setValue(uint32_t value) {
    value_ = value & 0xFFFF;
    setText(textOf(value_));
}

void HotKeyEdit::takeValue(uint32_t value) {
    setValue(value);
    emit valueEdited();
}

bool HotKeyEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void HotKeyEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const uint8_t flags = modifierFlags(modifiers);
    if (isModifierKey(key)) {
        // While only modifiers are held the field shows them, as a combination in the making.
        setText(modifiersText(flags | flagOfModifierKey(key)));
        return;
    }
    if (flags == 0) {
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
            takeValue(0);
            return;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->ignore();
            return;
        }
    }
    const auto pressed = virtualKeyOfQtKey(key, modifiers.testFlag(Qt::KeypadModifier));
    if (!pressed) {
        return;
    }
    const uint8_t extended = pressed->extended ? HotKeyFlag::kExtended : 0;
    takeValue(HotKeyChord{pressed->virtualKey, static_cast<uint8_t>(flags | extended)}.value());
}

void HotKeyEdit::keyReleaseEvent(QKeyEvent* event) {
    if (isModifierKey(event->key())) {
        setText(textOf(value_));
    }
}

void HotKeyEdit::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

}  // namespace chat
