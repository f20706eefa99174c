#pragma once
// InputBox: the rich text box of the input bar in which the user writes a message, mixing text
// with pictures and emoticons (embedded picture objects, one character each). It sends on the
// keys the "send_key" setting names, pastes text without its formatting (or a bitmap as a
// picture), keeps to its character limit, and describes its content in document order for the
// send step.
#include <QTextEdit>
#include <cstdint>
#include <functional>
#include <memory>

#include "client/speaking_rules.h"
#include "content/message_composer.h"
#include "content/text_style.h"
#include "storage/user_config.h"

class QMenu;
class QMimeData;

namespace chat {

// What a key press in the box does.
enum class InputKeyAction { Default, Send, LineBreak, Paste };

// Bits of the "send_key" setting.
inline constexpr uint32_t kSendKeyEnter = 0x1;  // Enter sends (else Ctrl+Enter sends)
inline constexpr uint32_t kSendKeyAltS = 0x4;   // left Alt+S also sends

// Enter and Ctrl+Enter send or break the line as the setting says; S with Alt (and without Ctrl,
// which marks AltGr, the right Alt key) sends when the setting allows it; Ctrl+V pastes.
InputKeyAction inputKeyAction(int key, Qt::KeyboardModifiers modifiers, uint32_t sendKey);

class InputBox : public QTextEdit {
    Q_OBJECT

  public:
    static constexpr int kBoxLimit = 4096;

    // Context menu commands; the font entry asks the bar (fontRequested).
    static constexpr int kCutCommand = 40030;
    static constexpr int kCopyCommand = 40029;
    static constexpr int kDeleteCommand = 40027;
    static constexpr int kPasteCommand = 40028;
    static constexpr int kSelectAllCommand = 40033;
    static constexpr int kFontCommand = 1014;

    explicit InputBox(QWidget* parent = nullptr);

    // Where the box reads the "send_key" setting on each key; the default is 6 (Ctrl+Enter and
    // Alt+S send).
    void setSendKeySource(std::function<uint32_t()> source) { sendKey_ = std::move(source); }

    // The format of new text, applied to what the box already holds as well.
    void setDefaultStyle(const TextStyle& style);

    // Characters the box accepts; typing and pasting stop there. Objects and line breaks count
    // one character each.
    int characterLimit() const { return limit_; }
    void setCharacterLimit(int limit) { limit_ = limit; }
    // Characters in the box.
    int length() const;
    // Embedded objects: pictures and emoticons alike.
    size_t pictureCount() const;
    MessageShape shape() const;
    // Text runs (line breaks as "\r") and objects in document order.
    InputBoxContent content() const;

    // Selects everything and replaces it with nothing.
    void clearBox();
    // Inserts at the caret as much of the text as the limit leaves room for; "\r\n", "\r" and
    // "\n" break the line.
    void insertLimited(const QString& text);
    // The clipboard's text without its formatting, else its bitmap as a picture.
    void pasteFromClipboard();
    bool clipboardHasContent() const;
    void runCommand(int command);

    // Menu 113 as it opens now, with its entries greyed as the selection and clipboard say.
    std::unique_ptr<QMenu> makeContextMenu();

  signals:
    // A send key was pressed; the bar sends at once.
    void sendRequested();
    void fontRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    // Characters that may still be added in place of the selection.
    int room() const;

    std::function<uint32_t()> sendKey_ = [] { return UserConfig::kDefaultSendKey; };
    int limit_ = kBoxLimit;
};

}  // namespace chat
