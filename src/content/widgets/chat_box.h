#pragma once
// The chat box of a room page: a read-only rich text view that shows chat messages and grey
// system lines, keeps the ledger of the messages it shows, drops whole oldest messages once the
// configured number of characters is reached, traces clicks on nicknames to their speakers, asks
// before it opens an address, and offers copy, select all, clear, save picture as and the
// auto-scroll switch in its context menu.
//
// The rich edit subclass wrapper of the Windows program (`RichCtrl`) has no counterpart: QTextEdit
// already lets us override the events that the wrapper hooked.
//
// Keeping the cost flat: every message is appended at once and the ledger is always current, but
// deleting the oldest messages from the top of the document waits until the event loop turns,
// and successive deletions are at least kTrimSpacing apart. A QTextDocument re-positions every
// block after a deletion near its start (milliseconds for a full box), so a burst of messages (a
// paused room resuming) or a busy room pays that once per turn or spacing instead of once per
// message. The messages that wait for deletion lie above the oldest ones shown once the box is
// full, out of view while the box follows new messages (when it does not, the room holds new
// messages back); anything that works with positions (link clicks, the ledger) deletes them
// first.
#include <QElapsedTimer>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <chrono>
#include <vector>

#include "content/chat_box_layout.h"
#include "content/chat_box_ledger.h"
#include "content/repeated_system_line.h"
#include "content/widgets/chat_box_renderer.h"
#include "content/widgets/link_prompt.h"

class QMenu;
class QMimeData;

namespace chat {

// How a link in the box was clicked.
enum class LinkClick { LeftPress, LeftDoubleClick, RightPress };

class ChatBox : public QTextEdit {
    Q_OBJECT

  public:
    static constexpr int32_t kDefaultMaxChars = 131072;
    static constexpr int32_t kSmallestMaxChars = 1024;
    static constexpr std::chrono::milliseconds kTrimSpacing{100};

    // Context menu commands.
    static constexpr int kCopyCommand = 40029;
    static constexpr int kSelectAllCommand = 40033;
    static constexpr int kClearCommand = 40061;
    static constexpr int kSavePictureCommand = 40049;
    static constexpr int kAutoScrollCommand = 40018;

    // Emoticons come from `emoteFolder`; empty means the "emote" folder beside the program.
    explicit ChatBox(QWidget* parent = nullptr, QString emoteFolder = {});
    ~ChatBox() override;

    // The setting "max_chat_box_chars"; values below 1024 count as 1024.
    void setMaxChars(int32_t maxChars);
    int32_t maxChars() const { return maxChars_; }
    // The room's chat box has a context menu; other boxes (the history view) do not.
    void setContextMenuEnabled(bool enabled) { contextMenuEnabled_ = enabled; }
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }

    // Draws a laid-out chat message and records it (speaker id, its range, its icon flag).
    void showChatMessage(int32_t speakerId, const ChatMessageLayout& layout);
    // "系统消息：" + text; an empty text shows nothing.
    void showSystemLine(std::u16string_view text);
    // The system line now and twice more, 5000 ms apart; an empty text only stops a repetition.
    void showRepeatedSystemLine(std::u16string text);
    bool repeatingSystemLine() const { return repeatTimer_.isActive(); }
    // The repetition timer's tick: the next showing of the repeated line.
    void nextRepetition();
    // Draws runs without recording them as a message (the history view).
    void appendRuns(const ChatBoxRuns& runs);
    // Empties the box and the ledger; the count starts again from 0.
    void clearBox();

    // The room's auto-scroll switch ("是否自动滚屏"); while it is off the client keeps arriving
    // messages back and the box stays where it is. It starts on. This is what the chat dialog
    // answers when asked with message 2033.
    bool autoScroll() const { return autoScroll_; }
    void setAutoScroll(bool on);
    void scrollToBottom();

    // The ledger with every deletion it asked for carried out.
    const ChatBoxLedger& ledger();
    // Carries out the deletions of oldest messages that wait for the event loop.
    void applyPendingTrim();
    bool trimPending() const { return !pendingRemovals_.empty(); }

    // The context menu as it opens at the point of the viewport.
    std::unique_ptr<QMenu> makeContextMenu(QPoint viewportPoint);
    // A click on the link at the document position, as the mouse handlers report it.
    void linkClicked(LinkClick click, int position);
    // The open link prompt, if any.
    LinkPrompt* linkPrompt() const { return linkPrompt_; }

  signals:
    // A nickname at the head of a message was clicked.
    void nicknameClicked(chat::LinkClick click, int32_t speakerId, const QString& nickname);
    // "清屏" was chosen: the room moves the keyboard focus to its input box.
    void clearedByUser();
    void autoScrollChanged(bool on);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Copies and drags carry the pictures of the selection.
    QMimeData* createMimeDataFromSelection() const override;

  private:
    int endPosition() const;
    void record(const ChatBoxEntry& entry);
    void openLinkPrompt(const QString& address);
    // The document position of the link under the viewport point, or -1.
    int linkPositionAt(QPoint viewportPoint) const;

    ChatBoxRenderer renderer_;
    ChatBoxLedger ledger_;
    int32_t maxChars_ = kDefaultMaxChars;
    bool contextMenuEnabled_ = true;
    bool autoScroll_ = true;
    UrlOpener urlOpener_;
    QPointer<LinkPrompt> linkPrompt_;

    // Deletions the ledger asked for that the document has not seen yet, in order, and their
    // total length (the document's positions run ahead of the ledger's by that much).
    std::vector<TextRange> pendingRemovals_;
    int32_t pendingRemovedLength_ = 0;
    QTimer trimTimer_;
    QElapsedTimer lastTrim_;
    QTimer scrollTimer_;

    RepeatedSystemLine repeated_;
    QTimer repeatTimer_;
};

}  // namespace chat

Q_DECLARE_METATYPE(chat::LinkClick)
