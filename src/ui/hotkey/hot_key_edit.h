#pragma once
// The hot-key field: shows a key combination ("Ctrl + Alt + A", "无" for none) and takes the next
// one the user presses. Its value is the 16-bit hot-key control value: the low byte the virtual
// key code, the next byte the HotKeyFlag bits. Backspace or Delete alone clears it; Tab, Enter and
// Esc keep their usual meaning in the dialog.
#include <QLineEdit>

#include <cstdint>

namespace chat {

class HotKeyEdit : public QLineEdit {
    Q_OBJECT

  public:
    static constexpr const char* kNoneText = "无";

    explicit HotKeyEdit(QWidget* parent = nullptr);

    // Keeps the low 16 bits, as the control does.
    void setValue(uint32_t value);
    uint32_t value() const { return value_; }

    // "Ctrl + Shift + Alt + key" of a value; "无" for 0.
    static QString textOf(uint32_t value);

  signals:
    // The user pressed a new combination or cleared the field.
    void valueEdited();

  protected:
    // Every combination comes to the field, also those that are shortcuts of the dialog.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void takeValue(uint32_t value);

    uint32_t value_ = 0;
};

}  // namespace chat
