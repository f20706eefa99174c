#include "content/widgets/chat_box_renderer.h"

#include <QDir>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCursor>

#include "content/widgets/chat_box_bitmaps.h"
#include "content/widgets/chat_box_picture_cache.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"

namespace chat {
namespace {

// Paragraph indents come in twips; the box draws at 96 dots per inch (15 twips a pixel).
constexpr double kTwipsPerPixel = 15.0;

QString paragraphText(const std::u16string& text) {
    QString converted = QString::fromStdU16String(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return converted;
}

QByteArray byteArrayOf(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QTextCharFormat charFormatOf(const TextStyle& style) {
    QTextCharFormat format;
    format.setForeground(QColor(static_cast<int>(style.colour & 0xFF),
                                static_cast<int>((style.colour >> 8) & 0xFF),
                                static_cast<int>((style.colour >> 16) & 0xFF)));
    format.setFontFamilies({QString::fromStdU16String(style.face)});
    format.setFontPointSize(style.size > 0 ? style.size : 9);
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.italic != 0);
    format.setFontUnderline(style.underline != 0);
    format.setFontStrikeOut(style.strikeout != 0);
    return format;
}

void ChatBoxRenderer::render(QTextCursor& cursor, const ChatBoxRuns& runs) const {
    cursor.movePosition(QTextCursor::End);
    for (const ChatBoxRun& run : runs) {
        renderRun(cursor, run);
    }
}

void ChatBoxRenderer::renderRun(QTextCursor& cursor, const ChatBoxRun& run) const {
    if (const auto* text = std::get_if<TextRun>(&run)) {
        QTextCharFormat format = charFormatOf(text->style);
        const QString shown = paragraphText(text->text);
        if (text->link) {
            format.setAnchor(true);
            format.setAnchorHref(shown);
            format.setFontUnderline(true);
        }
        cursor.insertText(shown, format);
    } else if (const auto* picture = std::get_if<PictureRun>(&run)) {
        if (picture->mode == kPictureModeReceived) {
            cacheReceivedPicture(picture->bytes);
        }
        embedPictureBytes(cursor, byteArrayOf(picture->bytes), picture->mode);
    } else if (const auto* bitmap = std::get_if<BitmapRun>(&run)) {
        const QByteArray bytes = chatBoxBitmapBytes(bitmap->resourceId);
        if (!bytes.isEmpty()) {
            embedPictureBytes(cursor, bytes, bitmap->mode);
        }
    } else if (const auto* emote = std::get_if<EmoteRun>(&run)) {
        if (emote->number > 0) {
            embedPictureFile(
                cursor, QDir(emoteFolder_)
                            .filePath(QString::fromStdString(emoticonFileName(emote->number))));
        }
    } else if (const auto* file = std::get_if<PictureFileRun>(&run)) {
        embedPictureFile(cursor, QString::fromStdU16String(file->path));
    } else if (const auto* paragraph = std::get_if<ParagraphRun>(&run)) {
        // The start indent places the first line; the hanging offset places the lines after it.
        QTextBlockFormat format = cursor.blockFormat();
        format.setLeftMargin((paragraph->startIndent + paragraph->hangingOffset) / kTwipsPerPixel);
        format.setTextIndent(-paragraph->hangingOffset / kTwipsPerPixel);
        cursor.setBlockFormat(format);
    }
}

}  // namespace chat
