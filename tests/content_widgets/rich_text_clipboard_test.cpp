#include "content/widgets/rich_text_clipboard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDataStream>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

#include "content/widgets/document_pictures.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"
#include "picture_fixtures.h"

namespace chat {
namespace {

const QString kObject = QString(QChar::ObjectReplacementCharacter);

// A rich text control that copies and pastes through the helpers, as the input box does.
class PastingEdit : public QTextEdit {
  protected:
    QMimeData* createMimeDataFromSelection() const override {
        return richTextMimeData(textCursor());
    }
    bool canInsertFromMimeData(const QMimeData* source) const override {
        return canInsertRichText(*source) || QTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData* source) override {
        QTextCursor cursor = textCursor();
        if (insertRichText(cursor, *source)) {
            setTextCursor(cursor);
        } else {
            QTextEdit::insertFromMimeData(source);
        }
    }
};

QTextCharFormat formatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

// "ab" in bold red, a GIF, a paragraph indented by 12 pixels with "cd" and a PNG:
// "ab" P "\n" "cd" Q.
class ClipboardTest : public testing::Test {
  protected:
    void SetUp() override {
        QTextCursor cursor(source.document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setForeground(Qt::red);
        cursor.insertText("ab", bold);
        ASSERT_TRUE(embedPictureBytes(cursor, gif, kPictureModeReceived));
        QTextBlockFormat indented;
        indented.setLeftMargin(12);
        cursor.insertBlock(indented, QTextCharFormat());
        cursor.insertText("cd");
        ASSERT_TRUE(embedPictureBytes(cursor, png, kPictureModeReceived));
        ASSERT_EQ(source.toPlainText(), "ab" + kObject + "\ncd" + kObject);
    }

    void select(int from, int to) {
        QTextCursor selection(source.document());
        selection.setPosition(from);
        selection.setPosition(to, QTextCursor::KeepAnchor);
        source.setTextCursor(selection);
    }

    const QByteArray gif = test::animatedGif();
    const QByteArray png = test::encoded(test::filled(6, 4, Qt::green), "png");
    PastingEdit source;
    PastingEdit target;
};

TEST_F(ClipboardTest, PastedSelectionsKeepTheirPicturesTextAndFormats) {
    const struct {
        const char* name;
        int from;
        int to;
        QString text;
        std::vector<QByteArray> pictures;
        bool asImage;  // one picture alone travels as an image instead of text
    } cases[] = {
        {"everything", 0, 7, "ab" + kObject + "\ncd" + kObject, {gif, png}, false},
        {"a picture alone", 2, 3, kObject, {gif}, true},
        {"across the paragraph break", 1, 5, "b" + kObject + "\nc", {gif}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.from, c.to);
        source.copy();
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        ASSERT_NE(copied, nullptr);
        EXPECT_TRUE(canInsertRichText(*copied));
        EXPECT_EQ(copied->hasImage(), c.asImage);
        EXPECT_EQ(copied->hasText(), !c.asImage);
        EXPECT_EQ(copied->text(), QString(c.text).remove(kObject)) << "pictures are no text";

        target.setPlainText("[]");
        QTextCursor caret = target.textCursor();
        caret.setPosition(1);
        target.setTextCursor(caret);
        target.paste();

        EXPECT_EQ(target.toPlainText(), "[" + c.text + "]");
        const std::vector<EmbeddedObject> objects = embeddedObjects(*target.document());
        ASSERT_EQ(objects.size(), c.pictures.size());
        for (size_t i = 0; i < objects.size(); ++i) {
            ASSERT_NE(objects[i].picture, nullptr);
            EXPECT_EQ(objects[i].userTag, kPictureObjectTag);
            EXPECT_EQ(objects[i].picture->pictureBytes(), c.pictures[i]);
            EXPECT_EQ(objects[i].picture->mode(), kPictureModeLocal) << "pasted into an input box";
        }
        EXPECT_EQ(target.textCursor().position(), 1 + c.text.size()) << "after the pasted text";
    }

    // The formats of the last case: "b" stays bold and red, "c" opens an indented paragraph.
    EXPECT_EQ(formatAt(*target.document(), 1).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(*target.document(), 1).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(target.document()->lastBlock().blockFormat().leftMargin(), 12);
    EXPECT_NE(formatAt(*target.document(), 4).fontWeight(), QFont::Bold);
}

TEST_F(ClipboardTest, TextWithoutPicturesIsCopiedAsQtCopiesIt) {
    select(3, 6);
    source.copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    EXPECT_FALSE(canInsertRichText(*copied));
    EXPECT_EQ(copied->text(), "\ncd");
    EXPECT_TRUE(copied->hasHtml());
    target.paste();
    EXPECT_EQ(target.toPlainText(), "\ncd");
}

TEST_F(ClipboardTest, DataThatIsNotWholeOrWellFormedChangesNothing) {
    select(0, 7);
    const std::unique_ptr<QMimeData> copied(richTextMimeData(source.textCursor()));
    const QByteArray whole = copied->data(kRichTextMimeType);
    // The version byte and this process's key.
    const QByteArray head = whole.left(17);
    const auto piece = [&head](quint8 kind) { return head + QByteArray(1, char(kind)); };
    // A text piece whose text claims 2 GB, as another program could write it.
    QByteArray greedy = QByteArray(1, '\x01') + QByteArray(16, '\x5A') + QByteArray(1, '\0');
    greedy += QByteArray::fromHex("7ffffff0") + QByteArray(8, 'x');
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"another version", QByteArray(1, '\x02') + whole.mid(1)},
        {"another process's key", QByteArray(1, '\x01') + QByteArray(16, '\0') + whole.mid(17)},
        {"another program's greedy lengths", greedy},
        {"cut short", whole.left(whole.size() - 3)},
        {"an unknown piece", piece(7)},
        {"a piece without its fields", piece(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        data.setData(kRichTextMimeType, c.data);
        target.setPlainText("keep");
        QTextCursor cursor(target.document());
        cursor.select(QTextCursor::Document);
        EXPECT_FALSE(insertRichText(cursor, data));
        EXPECT_EQ(target.toPlainText(), "keep");
    }
}

}  // namespace
}  // namespace chat
