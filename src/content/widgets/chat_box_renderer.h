#pragma once
// Draws the runs that the chat box layout produces at the end of a QTextDocument: texts in their
// style (links as anchors whose address is their text, underlined), line breaks as paragraph
// breaks (one character, as the rich edit control keeps "\r\n"), pictures, emoticons and bitmaps
// as embedded picture objects with the user tag 0xFFFF, and paragraph indents.
#include <QString>
#include <QTextCharFormat>

#include "content/chat_box_layout.h"

class QTextCursor;

namespace chat {

// The character format of a text style: colour, face, size in points, bold, italic, underline
// and strikeout.
QTextCharFormat charFormatOf(const TextStyle& style);

class ChatBoxRenderer {
  public:
    // Emoticons are read from `emoteFolder` (the "emote" folder beside the program).
    explicit ChatBoxRenderer(QString emoteFolder) : emoteFolder_(std::move(emoteFolder)) {}

    // Appends the runs at the end of the cursor's document; the cursor ends at the end.
    // Received pictures (mode 1) are written to the picture cache first.
    void render(QTextCursor& cursor, const ChatBoxRuns& runs) const;

  private:
    void renderRun(QTextCursor& cursor, const ChatBoxRun& run) const;

    QString emoteFolder_;
};

}  // namespace chat
