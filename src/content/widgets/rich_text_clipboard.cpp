#include "content/widgets/rich_text_clipboard.h"

#include <QDataStream>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <optional>
#include <vector>

#include "content/widgets/document_pictures.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"

namespace chat {
namespace {

// The data: a version byte, this process's key, then pieces in document order until the end, each
// a kind byte and its fields in the streams of QDataStream::Qt_6_0.
//
// Qt's streams of formats trust the lengths they read (a few bytes ask for gigabytes), so they
// must only ever read what this process wrote: data without the key, from another program or
// another run, is not read at all.
constexpr quint8 kFormatVersion = 1;
constexpr qsizetype kProcessKeySize = 16;

const QByteArray& processKey() {
    static const QByteArray key = [] {
        QByteArray bytes(kProcessKeySize, Qt::Uninitialized);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                              kProcessKeySize / sizeof(quint32));
        return bytes;
    }();
    return key;
}

// Compared without an early exit, so that the time taken tells nothing about the key.
bool carriesProcessKey(const QByteArray& bytes) {
    if (bytes.size() < 1 + kProcessKeySize) {
        return false;
    }
    unsigned difference = 0;
    for (qsizetype i = 0; i < kProcessKeySize; ++i) {
        difference |= static_cast<unsigned char>(bytes[1 + i] ^ processKey()[i]);
    }
    return difference == 0;
}
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;

enum class PieceKind : quint8 {
    Text = 0,       // text, character format
    Paragraph = 1,  // block format and character format of the paragraph that starts here
    Picture = 2,    // character format, picture bytes
};

struct Piece {
    PieceKind kind = PieceKind::Text;
    QString text;
    QTextCharFormat charFormat;
    QTextBlockFormat blockFormat;
    QByteArray pictureBytes;
};

void appendText(std::vector<Piece>& pieces, const QString& text, const QTextCharFormat& format) {
    if (!text.isEmpty()) {
        pieces.push_back({PieceKind::Text, text, format, {}, {}});
    }
}

void appendFragment(std::vector<Piece>& pieces, const QString& text, const QTextCharFormat& format,
                    const PictureObject* picture) {
    if (picture == nullptr) {
        appendText(pieces, text, format);
        return;
    }
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QChar::ObjectReplacementCharacter) {
            appendText(pieces, text.mid(runStart, i - runStart), format);
            pieces.push_back({PieceKind::Picture, {}, format, {}, picture->pictureBytes()});
            runStart = i + 1;
        }
    }
    appendText(pieces, text.mid(runStart), format);
}

std::vector<Piece> piecesOf(const QTextCursor& selection) {
    const QTextDocument& document = *selection.document();
    const DocumentPictures* pictures = DocumentPictures::find(document);
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    std::vector<Piece> pieces;
    for (QTextBlock block = document.findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        if (block.position() > start) {
            pieces.push_back(
                {PieceKind::Paragraph, {}, block.charFormat(), block.blockFormat(), {}});
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from >= to) {
                continue;
            }
            const QTextCharFormat format = fragment.charFormat();
            appendFragment(pieces, fragment.text().mid(from - fragment.position(), to - from),
                           format, pictures != nullptr ? pictures->pictureFor(format) : nullptr);
        }
    }
    return pieces;
}

QByteArray serialized(const std::vector<Piece>& pieces) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kFormatVersion;
    out.writeRawData(processKey().constData(), static_cast<int>(kProcessKeySize));
    for (const Piece& piece : pieces) {
        out << static_cast<quint8>(piece.kind);
        switch (piece.kind) {
            case PieceKind::Text:
                out << piece.text << QTextFormat(piece.charFormat);
                break;
            case PieceKind::Paragraph:
                out << QTextFormat(piece.blockFormat) << QTextFormat(piece.charFormat);
                break;
            case PieceKind::Picture:
                out << QTextFormat(piece.charFormat) << piece.pictureBytes;
                break;
        }
    }
    return bytes;
}

// Null when the data is not whole and well formed, or not written by this process.
std::optional<std::vector<Piece>> parsed(const QByteArray& bytes) {
    if (bytes.isEmpty() || static_cast<quint8>(bytes[0]) != kFormatVersion ||
        !carriesProcessKey(bytes)) {
        return std::nullopt;
    }
    QDataStream in(bytes);
    in.setVersion(kStreamVersion);
    in.skipRawData(static_cast<int>(1 + kProcessKeySize));
    std::vector<Piece> pieces;
    while (!in.atEnd()) {
        quint8 kind = 0;
        in >> kind;
        Piece piece;
        QTextFormat first;
        QTextFormat second;
        switch (static_cast<PieceKind>(kind)) {
            case PieceKind::Text:
                in >> piece.text >> first;
                break;
            case PieceKind::Paragraph:
                in >> second >> first;
                break;
            case PieceKind::Picture:
                in >> first >> piece.pictureBytes;
                if (piece.pictureBytes.size() >= kPictureFileSizeLimit) {
                    return std::nullopt;
                }
                break;
            default:
                return std::nullopt;
        }
        if (in.status() != QDataStream::Ok) {
            return std::nullopt;
        }
        piece.kind = static_cast<PieceKind>(kind);
        piece.charFormat = first.toCharFormat();
        piece.blockFormat = second.toBlockFormat();
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

}  // namespace

QMimeData* richTextMimeData(const QTextCursor& selection) {
    auto* data = new QMimeData;
    const QTextDocumentFragment fragment = selection.selection();
    // Qt's plain text keeps a U+FFFC for each embedded object, which means nothing elsewhere; with
    // pictures alone there is no text, so a control that prefers text takes the image.
    QString plain = fragment.toPlainText();
    plain.remove(QChar::ObjectReplacementCharacter);
    if (!plain.isEmpty()) {
        data->setText(plain);
    }
    data->setHtml(fragment.toHtml());
    const std::vector<Piece> pieces = piecesOf(selection);
    const auto isPicture = [](const Piece& piece) { return piece.kind == PieceKind::Picture; };
    if (std::none_of(pieces.begin(), pieces.end(), isPicture)) {
        return data;
    }
    data->setData(kRichTextMimeType, serialized(pieces));
    if (pieces.size() == 1) {
        if (const auto picture =
                PictureObject::load(pieces.front().pictureBytes, kPictureModeLocal)) {
            data->setImageData(picture->currentFrame());
        }
    }
    return data;
}

bool canInsertRichText(const QMimeData& source) {
    return source.hasFormat(kRichTextMimeType);
}

bool insertRichText(QTextCursor& cursor, const QMimeData& source) {
    if (!canInsertRichText(source)) {
        return false;
    }
    const std::optional<std::vector<Piece>> pieces = parsed(source.data(kRichTextMimeType));
    if (!pieces) {
        return false;
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (const Piece& piece : *pieces) {
        switch (piece.kind) {
            case PieceKind::Text:
                cursor.insertText(piece.text, piece.charFormat);
                break;
            case PieceKind::Paragraph:
                cursor.insertBlock(piece.blockFormat, piece.charFormat);
                break;
            case PieceKind::Picture:
                // The picture takes the format around it, as it had where it was copied.
                cursor.setCharFormat(piece.charFormat);
                embedPictureBytes(cursor, piece.pictureBytes, kPictureModeLocal);
                break;
        }
    }
    cursor.endEditBlock();
    return true;
}

}  // namespace chat
