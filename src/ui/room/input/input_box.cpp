#include "ui/room/input/input_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "content/widgets/chat_box_renderer.h"
#include "content/widgets/document_pictures.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"

namespace chat {

namespace {

// The line breaks of a text as the document takes them: one paragraph break each.
QString withParagraphBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// The text of a document range with its line breaks as the edit control reports them ("\r").
std::u16string rangeText(QTextDocument& document, int from, int to) {
    QTextCursor cursor(&document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\r'));
    text.replace(QChar::LineSeparator, QLatin1Char('\r'));
    return text.toStdU16String();
}

std::vector<uint8_t> bytesOf(const QByteArray& bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace

InputKeyAction inputKeyAction(int key, Qt::KeyboardModifiers modifiers, uint32_t sendKey) {
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const bool enterSends = (sendKey & kSendKeyEnter) != 0;
        return ctrl != enterSends ? InputKeyAction::Send : InputKeyAction::LineBreak;
    }
    if (key == Qt::Key_S && alt && !ctrl && (sendKey & kSendKeyAltS) != 0) {
        return InputKeyAction::Send;
    }
    if (key == Qt::Key_V && ctrl && !alt) {
        return InputKeyAction::Paste;
    }
    return InputKeyAction::Default;
}

InputBox::InputBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    // The control's own default: "宋体" 9 points in the system's text colour.
    QTextCharFormat initial = charFormatOf(defaultTextStyle());
    initial.clearForeground();
    document()->setDefaultFont(initial.font());
    setCurrentCharFormat(initial);
}

void InputBox::setDefaultStyle(const TextStyle& style) {
    const QTextCharFormat format = charFormatOf(style);
    document()->setDefaultFont(format.font());
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    setCurrentCharFormat(format);
}

int InputBox::length() const {
    return document()->characterCount() - 1;
}

size_t InputBox::pictureCount() const {
    return embeddedObjects(*document()).size();
}

MessageShape InputBox::shape() const {
    const size_t objects = pictureCount();
    return {static_cast<size_t>(length()) > objects, objects};
}

InputBoxContent InputBox::content() const {
    QTextDocument& doc = *document();
    InputBoxContent pieces;
    int position = 0;
    for (const EmbeddedObject& object : embeddedObjects(doc)) {
        if (object.position > position) {
            pieces.emplace_back(rangeText(doc, position, object.position));
        }
        position = object.position + 1;
        InputObject described{object.userTag, {}, {}};
        if (object.picture != nullptr) {
            described.sourceFile = object.picture->sourceFileName().toStdU16String();
            described.pictureBytes = bytesOf(object.picture->pictureBytes());
        }
        pieces.emplace_back(std::move(described));
    }
    if (length() > position) {
        pieces.emplace_back(rangeText(doc, position, length()));
    }
    return pieces;
}

void InputBox::clearBox() {
    const QTextCharFormat format = currentCharFormat();
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    setCurrentCharFormat(format);
}

int InputBox::room() const {
    const QTextCursor cursor = textCursor();
    return limit_ - (length() - (cursor.selectionEnd() - cursor.selectionStart()));
}

void InputBox::insertLimited(const QString& text) {
    const QString paragraphs = withParagraphBreaks(text);
    const int fits = std::max(0, room());
    if (fits == 0 && !paragraphs.isEmpty()) {
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(paragraphs.left(fits), currentCharFormat());
    setTextCursor(cursor);
}

bool InputBox::clipboardHasContent() const {
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    return clipboard != nullptr && canInsertFromMimeData(clipboard);
}

void InputBox::pasteFromClipboard() {
    if (const QMimeData* clipboard = QApplication::clipboard()->mimeData()) {
        insertFromMimeData(clipboard);
    }
}

bool InputBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText() || source->hasImage();
}

void InputBox::insertFromMimeData(const QMimeData* source) {
    if (source->hasText()) {
        insertLimited(source->text());
    } else if (source->hasImage() && room() > 0) {
        embedBitmap(*this, qvariant_cast<QImage>(source->imageData()), kPictureModeLocal);
    }
    ensureCursorVisible();
}

void InputBox::runCommand(int command) {
    switch (command) {
        case kCutCommand:
            cut();
            break;
        case kCopyCommand:
            copy();
            break;
        case kDeleteCommand:
            textCursor().removeSelectedText();
            break;
        case kPasteCommand:
            pasteFromClipboard();
            break;
        case kSelectAllCommand:
            selectAll();
            break;
        case kFontCommand:
            emit fontRequested();
            break;
        default:
            break;
    }
}

std::unique_ptr<QMenu> InputBox::makeContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool selection = textCursor().hasSelection();
    const auto add = [&](const char* text, int command, bool enabled) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setData(command);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    };
    add("剪切(&T)\tCtrl+X", kCutCommand, selection);
    add("复制(&C)\tCtrl+C", kCopyCommand, selection);
    add("粘贴(&P)\tCtrl+V", kPasteCommand, clipboardHasContent());
    add("删除(&D)\tDelete", kDeleteCommand, selection);
    menu->addSeparator();
    add("全选(&A)\tCtrl+A", kSelectAllCommand, length() > 0);
    menu->addSeparator();
    add("字体(&F)...", kFontCommand, true);
    return menu;
}

void InputBox::contextMenuEvent(QContextMenuEvent* event) {
    makeContextMenu()->exec(event->globalPos());
}

void InputBox::keyPressEvent(QKeyEvent* event) {
    switch (inputKeyAction(event->key(), event->modifiers(), sendKey_())) {
        case InputKeyAction::Send:
            emit sendRequested();
            return;
        case InputKeyAction::LineBreak:
            insertLimited(QStringLiteral("\n"));
            ensureCursorVisible();
            return;
        case InputKeyAction::Paste:
            pasteFromClipboard();
            return;
        case InputKeyAction::Default:
            break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && room() < typed.size()) {
        event->accept();  // the box is full
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void InputBox::inputMethodEvent(QInputMethodEvent* event) {
    const int fits = std::max(0, room());
    if (event->commitString().size() <= fits) {
        QTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(event->commitString().left(fits), event->replacementStart(),
                        event->replacementLength());
    QTextEdit::inputMethodEvent(&cut);
}

}  // namespace chat
