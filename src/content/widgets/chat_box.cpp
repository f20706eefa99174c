#include "content/widgets/chat_box.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"
#include "content/widgets/rich_text_clipboard.h"

namespace chat {
namespace {

QString emoteFolderOrDefault(QString folder) {
    if (!folder.isEmpty()) {
        return folder;
    }
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("emote"));
}

// The link that holds the position: the run of neighbouring anchor fragments of one address.
struct LinkAt {
    int start = -1;
    int end = -1;
    QString text;
};

LinkAt linkRange(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    LinkAt link;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        const int fragmentEnd = fragment.position() + fragment.length();
        if (!format.isAnchor()) {
            link = {};
        } else if (link.end == fragment.position() && link.text == format.anchorHref()) {
            link.end = fragmentEnd;
        } else {
            link = {fragment.position(), fragmentEnd, format.anchorHref()};
        }
        if (link.start >= 0 && link.start <= position && position < link.end) {
            // Later fragments of the same address still belong to this link.
            for (++it; !it.atEnd(); ++it) {
                const QTextCharFormat next = it.fragment().charFormat();
                if (!next.isAnchor() || next.anchorHref() != link.text) {
                    break;
                }
                link.end = it.fragment().position() + it.fragment().length();
            }
            return link;
        }
    }
    return {};
}

QAction* addCommand(QMenu& menu, const QString& text, int command) {
    QAction* action = menu.addAction(text);
    action->setData(command);
    return action;
}

}  // namespace

ChatBox::ChatBox(QWidget* parent, QString emoteFolder)
    : QTextEdit(parent),
      renderer_(emoteFolderOrDefault(std::move(emoteFolder))),
      urlOpener_(systemUrlOpener()) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setCursorWidth(0);  // read-only: no blinking caret
    QTextCharFormat initial = charFormatOf(defaultTextStyle());
    initial.clearForeground();
    document()->setDefaultFont(initial.font());
    // Paragraphs run left to right, as in the rich edit control. Left to find out by itself, the
    // layout reads every paragraph's text for its direction each time a trim moves it up.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);

    trimTimer_.setSingleShot(true);
    connect(&trimTimer_, &QTimer::timeout, this, &ChatBox::applyPendingTrim);
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(0);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] {
        if (autoScroll_) {
            scrollToBottom();
        }
    });
    repeatTimer_.setInterval(RepeatedSystemLine::kPeriodMilliseconds);
    connect(&repeatTimer_, &QTimer::timeout, this, &ChatBox::nextRepetition);
}

ChatBox::~ChatBox() = default;

void ChatBox::setMaxChars(int32_t maxChars) {
    maxChars_ = std::max(maxChars, kSmallestMaxChars);
}

int ChatBox::endPosition() const {
    return document()->characterCount() - 1;
}

void ChatBox::appendRuns(const ChatBoxRuns& runs) {
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    renderer_.render(cursor, runs);
    cursor.endEditBlock();
}

void ChatBox::showChatMessage(int32_t speakerId, const ChatMessageLayout& layout) {
    const int start = endPosition();
    appendRuns(layout.runs);
    record(ChatBoxEntry{speakerId, start, endPosition(), layout.iconFlag});
}

void ChatBox::showSystemLine(std::u16string_view text) {
    const ChatBoxRuns runs = layoutSystemLine(text);
    if (runs.empty()) {
        return;
    }
    const int start = endPosition();
    appendRuns(runs);
    record(ChatBoxEntry{0, start, endPosition(), 0});
}

void ChatBox::record(const ChatBoxEntry& entry) {
    const TrimResult trim =
        ledger_.record(ChatBoxEntry{entry.speakerId, entry.start - pendingRemovedLength_,
                                    entry.end - pendingRemovedLength_, entry.iconFlag},
                       maxChars_);
    pendingRemovals_.insert(pendingRemovals_.end(), trim.removals.begin(), trim.removals.end());
    pendingRemovedLength_ += trim.removedLength;
    // Everything drawn in this turn scrolls into view once, when the event loop turns. The
    // deletions wait for the turn too, and follow one another at least kTrimSpacing apart, so
    // a busy room pays for one deletion per spacing however its messages arrive.
    if (autoScroll_ && !scrollTimer_.isActive()) {
        scrollTimer_.start();
    }
    if (!pendingRemovals_.empty() && !trimTimer_.isActive()) {
        const qint64 sinceLastTrim =
            lastTrim_.isValid() ? lastTrim_.elapsed() : kTrimSpacing.count();
        trimTimer_.start(
            std::chrono::milliseconds(std::max<qint64>(0, kTrimSpacing.count() - sinceLastTrim)));
    }
}

void ChatBox::applyPendingTrim() {
    trimTimer_.stop();
    if (!pendingRemovals_.empty()) {
        // Plain positions: a QTextCursor would follow the deletions by itself.
        const TextRange before{textCursor().anchor(), textCursor().position()};
        QTextCursor cursor(document());
        // One edit block: the document is laid out once for all the deletions.
        cursor.beginEditBlock();
        // Each removal is in the positions left by the one before; removals of the top messages
        // all start where the previous one did, so they join into one deletion.
        size_t i = 0;
        while (i < pendingRemovals_.size()) {
            const int start = pendingRemovals_[i].start;
            int length = 0;
            for (; i < pendingRemovals_.size() && pendingRemovals_[i].start == start; ++i) {
                length += pendingRemovals_[i].end - pendingRemovals_[i].start;
            }
            // The paragraph that now opens at `start` keeps its own indents.
            const QTextBlockFormat kept = document()->findBlock(start + length).blockFormat();
            cursor.setPosition(start);
            cursor.setPosition(start + length, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
            if (cursor.blockFormat() != kept) {
                cursor.setBlockFormat(kept);
            }
        }
        cursor.endEditBlock();
        TrimResult trim;
        trim.removedLength = pendingRemovedLength_;
        const TextRange moved = trim.shift(before);
        QTextCursor selection(document());
        selection.setPosition(moved.start);
        selection.setPosition(moved.end, QTextCursor::KeepAnchor);
        setTextCursor(selection);
        pendingRemovals_.clear();
        pendingRemovedLength_ = 0;
        lastTrim_.start();
    }
    if (autoScroll_) {
        scrollToBottom();
    }
}

const ChatBoxLedger& ChatBox::ledger() {
    applyPendingTrim();
    return ledger_;
}

void ChatBox::clearBox() {
    trimTimer_.stop();
    pendingRemovals_.clear();
    pendingRemovedLength_ = 0;
    clear();
    ledger_.clear();
}

void ChatBox::setAutoScroll(bool on) {
    if (autoScroll_ == on) {
        return;
    }
    autoScroll_ = on;
    if (on) {
        scrollToBottom();
    }
    emit autoScrollChanged(on);
}

void ChatBox::scrollToBottom() {
    // Lays the document out to its end first, so the scroll range is complete.
    document()->documentLayout()->blockBoundingRect(document()->lastBlock());
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ChatBox::showRepeatedSystemLine(std::u16string text) {
    repeatTimer_.stop();
    if (const auto line = repeated_.start(std::move(text))) {
        showSystemLine(*line);
        if (repeated_.running()) {
            repeatTimer_.start();
        }
    }
}

void ChatBox::nextRepetition() {
    const auto line = repeated_.tick();
    if (line) {
        showSystemLine(*line);
    }
    if (!repeated_.running()) {
        repeatTimer_.stop();
    }
}

std::unique_ptr<QMenu> ChatBox::makeContextMenu(QPoint viewportPoint) {
    auto menu = std::make_unique<QMenu>(this);
    QAction* copyAction = addCommand(*menu, QStringLiteral("复制(&C)\tCtrl+C"), kCopyCommand);
    copyAction->setEnabled(textCursor().hasSelection());
    connect(copyAction, &QAction::triggered, this, &QTextEdit::copy);
    connect(addCommand(*menu, QStringLiteral("全选(&A)\tCtrl+A"), kSelectAllCommand),
            &QAction::triggered, this, &QTextEdit::selectAll);
    menu->addSeparator();
    QAction* save = addCommand(*menu, QStringLiteral("图片另存为(&S)"), kSavePictureCommand);
    const QPointer<PictureObject> picture = pictureAt(*this, viewportPoint);
    save->setEnabled(picture != nullptr);
    connect(save, &QAction::triggered, this, [this, picture] {
        if (picture) {
            savePictureAs(this, *picture);
        }
    });
    menu->addSeparator();
    connect(addCommand(*menu, QStringLiteral("清屏"), kClearCommand), &QAction::triggered, this,
            [this] {
                clearBox();
                emit clearedByUser();
            });
    QAction* scroll = addCommand(*menu, QStringLiteral("是否自动滚屏"), kAutoScrollCommand);
    scroll->setCheckable(true);
    scroll->setChecked(autoScroll_);
    connect(scroll, &QAction::triggered, this, [this] { setAutoScroll(!autoScroll_); });
    return menu;
}

void ChatBox::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on a link is a link click (a nickname's chatter menu), not the box's menu.
    if (!contextMenuEnabled_ || linkPositionAt(event->pos()) >= 0) {
        return;
    }
    const std::unique_ptr<QMenu> menu = makeContextMenu(event->pos());
    menu->exec(event->globalPos());
}

int ChatBox::linkPositionAt(QPoint viewportPoint) const {
    if (anchorAt(viewportPoint).isEmpty()) {
        return -1;
    }
    const QPointF documentPoint =
        viewportPoint + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
}

void ChatBox::linkClicked(LinkClick click, int position) {
    applyPendingTrim();
    const LinkAt link = linkRange(*document(), position);
    if (link.start < 0) {
        return;
    }
    const auto message = ledger_.messageWithNicknameAt(link.start, link.end);
    if (message && message->speakerId != 0) {
        emit nicknameClicked(click, message->speakerId, link.text);
    } else if (click == LinkClick::LeftPress) {
        openLinkPrompt(link.text);
    }
}

void ChatBox::openLinkPrompt(const QString& address) {
    if (linkPrompt_) {
        linkPrompt_->close();
    }
    linkPrompt_ = new LinkPrompt(address, urlOpener_, this);
    linkPrompt_->move(QCursor::pos());
    linkPrompt_->show();
    linkPrompt_->activateWindow();
}

void ChatBox::mousePressEvent(QMouseEvent* event) {
    const int link = linkPositionAt(event->position().toPoint());
    if (link >= 0 && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        linkClicked(
            event->button() == Qt::LeftButton ? LinkClick::LeftPress : LinkClick::RightPress, link);
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void ChatBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const int link = linkPositionAt(event->position().toPoint());
    if (link >= 0 && event->button() == Qt::LeftButton) {
        linkClicked(LinkClick::LeftDoubleClick, link);
        event->accept();
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

void ChatBox::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || textCursor().hasSelection()) {
        return;
    }
    if (PictureObject* picture = pictureAt(*this, event->position().toPoint())) {
        showPicture(*this, *picture);
        viewport()->update();
    }
}

void ChatBox::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    const bool overLink = linkPositionAt(event->position().toPoint()) >= 0;
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

QMimeData* ChatBox::createMimeDataFromSelection() const {
    return richTextMimeData(textCursor());
}

}  // namespace chat
