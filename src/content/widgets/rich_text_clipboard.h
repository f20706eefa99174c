#pragma once
// Copying and pasting rich text with embedded pictures between the program's rich text controls
// (the chat box, the input box). Qt's own copy writes HTML, in which our picture objects have no
// form, so a picture pasted from it arrives as nothing. The clipboard data made here carries,
// besides plain text and HTML for other programs, a format of our own with the selection's texts,
// their character and paragraph formats and the bytes of its pictures, which a control reads back
// with the pictures embedded anew. Its plain text leaves the pictures out; a selection that is one
// picture alone carries no text but that picture as an image, for other programs.
//
// A control uses them from its overrides of createMimeDataFromSelection(), canInsertFromMimeData()
// and insertFromMimeData().
#include <QString>

class QMimeData;
class QTextCursor;

namespace chat {

inline const QString kRichTextMimeType = QStringLiteral("application/x-chat-rich-text");

// The clipboard data of the cursor's selection; the caller owns it.
QMimeData* richTextMimeData(const QTextCursor& selection);
// The data carries our format.
bool canInsertRichText(const QMimeData& source);
// Puts the rich text of the data at the cursor, replacing its selection, in one edit; pictures are
// embedded in the local mode (0), as pictures of the input box are. False, and nothing changed,
// when the data does not carry our format, was not written by this process (another program's
// bytes are never read) or cannot be read.
bool insertRichText(QTextCursor& cursor, const QMimeData& source);

}  // namespace chat
