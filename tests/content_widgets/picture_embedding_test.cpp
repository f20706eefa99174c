#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include "content/widgets/document_pictures.h"
#include "content/widgets/hidden_picture_placeholder.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"
#include "content/widgets/picture_viewer.h"
#include "picture_fixtures.h"

namespace chat {
namespace {

// A shown editor with "ab|c": the caret between "b" and "c".
class EmbeddingTest : public testing::Test {
  protected:
    void SetUp() override {
        edit.resize(400, 300);
        edit.setPlainText("abc");
        QTextCursor caret = edit.textCursor();
        caret.setPosition(2);
        edit.setTextCursor(caret);
        edit.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    }

    std::vector<EmbeddedObject> objects() const { return embeddedObjects(*edit.document()); }
    QString text() const { return edit.document()->toPlainText(); }

    QTextEdit edit;
};

const QString kObject = QString(QChar::ObjectReplacementCharacter);

TEST_F(EmbeddingTest, EmbedsDecodablePicturesAsOneTaggedObjectCharacterAtTheCaret) {
    const struct {
        const char* name;
        QByteArray bytes;
        int mode;
    } cases[] = {
        {"jpeg", test::encoded(test::filled(8, 6, Qt::red), "jpeg"), kPictureModeReceived},
        {"bmp", test::encoded(test::filled(8, 6, Qt::red), "bmp"), kPictureModeLocal},
        {"gif", test::animatedGif(), kPictureModeLocal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit.setPlainText("abc");
        QTextCursor caret = edit.textCursor();
        caret.setPosition(2);
        edit.setTextCursor(caret);

        ASSERT_TRUE(embedPictureBytes(edit, c.bytes, c.mode));
        EXPECT_EQ(text(), "ab" + kObject + "c");
        EXPECT_EQ(edit.textCursor().position(), 3);
        const auto found = objects();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].position, 2);
        EXPECT_EQ(found[0].userTag, kPictureObjectTag);
        ASSERT_NE(found[0].picture, nullptr);
        EXPECT_EQ(found[0].picture->pictureBytes(), c.bytes);
        EXPECT_EQ(found[0].picture->mode(), c.mode);
        EXPECT_EQ(DocumentPictures::of(*edit.document()).pictureAt(2), found[0].picture);
    }
}

TEST_F(EmbeddingTest, BytesThatAreNoPictureEmbedNothing) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("GIF89a but no more")}) {
        EXPECT_FALSE(embedPictureBytes(edit, bytes, kPictureModeLocal));
    }
    EXPECT_EQ(text(), "abc");
    EXPECT_TRUE(objects().empty());
    EXPECT_EQ(edit.textCursor().position(), 2);
}

TEST_F(EmbeddingTest, TextTypedAfterAPictureIsPlainText) {
    ASSERT_TRUE(embedPictureBytes(edit, test::stillGif(Qt::red), kPictureModeLocal));
    QTest::keyClicks(&edit, "xy");
    ASSERT_TRUE(embedPictureBytes(edit, test::stillGif(Qt::blue), kPictureModeLocal));
    EXPECT_EQ(text(), "ab" + kObject + "xy" + kObject + "c");
    const auto found = objects();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].position, 2);
    EXPECT_EQ(found[1].position, 5);
    EXPECT_NE(found[0].picture, found[1].picture);

    QTextCursor typed(edit.document());
    typed.setPosition(4);  // after "x"
    EXPECT_EQ(typed.charFormat().objectType(), QTextFormat::NoObject);
    EXPECT_FALSE(typed.charFormat().hasProperty(kPictureIdProperty));
}

TEST_F(EmbeddingTest, ObjectsWithoutOurTagCountAsUntaggedObjectsAndTypedObjectCharactersAsText) {
    QTextCursor cursor(edit.document());
    cursor.setPosition(1);
    QTextImageFormat image;
    image.setName("elsewhere.png");
    cursor.insertImage(image);
    cursor.insertText(kObject);  // typed, so text
    const auto found = objects();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].position, 1);
    EXPECT_EQ(found[0].userTag, 0u);
    EXPECT_EQ(found[0].picture, nullptr);
}

TEST_F(EmbeddingTest, EmbedsWholePictureFilesOfAllowedSizeInTheLocalMode) {
    QTemporaryDir folder;
    const QByteArray png = test::encoded(test::filled(5, 5, Qt::blue), "png");
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // PNG readers stop at the picture's end, so zeros after it keep the file a picture.
    const auto padded = [&](const QString& name, qint64 size) {
        const QString path = write(name, png);
        EXPECT_TRUE(QFile::resize(path, size));
        return path;
    };
    const struct {
        const char* name;
        QString path;
        bool embeds;
    } cases[] = {
        {"picture", write("p.png", png), true},
        {"just below 64 MiB", padded("below.png", kPictureFileSizeLimit - 1), true},
        {"64 MiB", padded("limit.png", kPictureFileSizeLimit), false},
        {"empty file", write("empty.gif", {}), false},
        {"not a picture", write("text.gif", "hello"), false},
        {"missing file", folder.filePath("missing.gif"), false},
        {"folder", folder.path(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = objects().size();
        EXPECT_EQ(embedPictureFile(edit, c.path), c.embeds);
        const auto found = objects();
        ASSERT_EQ(found.size(), before + (c.embeds ? 1 : 0));
        if (c.embeds) {
            const PictureObject* picture = found.back().picture;
            EXPECT_EQ(picture->pictureBytes().size(), QFileInfo(c.path).size());
            EXPECT_TRUE(picture->pictureBytes().startsWith(png));
            EXPECT_EQ(picture->mode(), kPictureModeLocal);
        }
    }
}

TEST_F(EmbeddingTest, EmbedsBitmapsAsJpegWithTransparencyTurnedWhite) {
    QImage bitmap(10, 10, QImage::Format_ARGB32);
    bitmap.fill(Qt::transparent);
    ASSERT_TRUE(embedBitmap(edit, bitmap, kPictureModeLocal));
    const auto found = objects();
    ASSERT_EQ(found.size(), 1u);
    const QByteArray& bytes = found[0].picture->pictureBytes();
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8")) << "JPEG start of image";
    EXPECT_GT(QColor(found[0].picture->currentFrame().pixel(5, 5)).lightness(), 240);

    EXPECT_FALSE(embedBitmap(edit, QImage(), kPictureModeLocal));
    EXPECT_EQ(objects().size(), 1u);
}

TEST_F(EmbeddingTest, EmbedsTheHiddenPicturePlaceholderAsAReceivedPicture) {
    ASSERT_TRUE(embedBitmap(edit, hiddenPicturePlaceholder(), kPictureModeReceived));
    const PictureObject* picture = objects().at(0).picture;
    EXPECT_EQ(picture->size(), QSize(64, 48));
    EXPECT_EQ(picture->mode(), kPictureModeReceived);
}

TEST_F(EmbeddingTest, FindsThePictureUnderAPointOfTheViewport) {
    ASSERT_TRUE(embedBitmap(edit, test::filled(40, 30, Qt::red), kPictureModeReceived));
    PictureObject* picture = objects().at(0).picture;
    const QRectF area = DocumentPictures::of(*edit.document()).objectRect(2);
    ASSERT_GE(area.width(), 40);
    const QPoint centre = area.center().toPoint();

    EXPECT_EQ(pictureAt(edit, centre), picture);
    EXPECT_EQ(pictureAt(edit, QPoint(int(area.left()) + 1, centre.y())), picture);
    EXPECT_EQ(pictureAt(edit, QPoint(int(area.right()) - 1, centre.y())), picture);
    EXPECT_EQ(pictureAt(edit, QPoint(int(area.left()) - 3, centre.y())), nullptr) << "over \"b\"";
    EXPECT_EQ(pictureAt(edit, QPoint(int(area.right()) + 3, centre.y())), nullptr) << "over \"c\"";
    EXPECT_EQ(pictureAt(edit, QPoint(centre.x(), int(area.bottom()) + 40)), nullptr);
}

TEST_F(EmbeddingTest, AnimatesShownPicturesAndStopsThoseThatLeaveTheDocument) {
    edit.document()->setUndoRedoEnabled(false);
    ASSERT_TRUE(embedPictureBytes(edit, test::animatedGif(), kPictureModeLocal));
    PictureObject* picture = objects().at(0).picture;
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture->isAnimationRunning(); }, 2000))
        << "drawing the picture starts its animation";
    const QRectF area = DocumentPictures::of(*edit.document()).objectRect(2);
    QSignalSpy repaints(edit.document()->documentLayout(), &QAbstractTextDocumentLayout::update);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(repaints.begin(), repaints.end(), [&](const QList<QVariant>& args) {
                return args[0].toRectF() == area;
            });
        },
        2000))
        << "each new frame repaints the picture's area";

    QTextCursor cursor(edit.document());
    cursor.setPosition(2);
    cursor.deleteChar();
    QCoreApplication::processEvents();
    EXPECT_EQ(DocumentPictures::of(*edit.document()).pictureCount(), 0u)
        << "without undo nothing can bring the picture back";
}

TEST_F(EmbeddingTest, KeepsRemovedPicturesForUndoWithoutAnimatingThem) {
    ASSERT_TRUE(embedPictureBytes(edit, test::animatedGif(), kPictureModeLocal));
    PictureObject* picture = objects().at(0).picture;
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture->isAnimationRunning(); }, 2000));
    DocumentPictures& pictures = DocumentPictures::of(*edit.document());

    QTextCursor cursor(edit.document());
    cursor.setPosition(2);
    cursor.deleteChar();
    QCoreApplication::processEvents();
    EXPECT_FALSE(picture->isAnimationRunning());
    EXPECT_EQ(pictures.pictureCount(), 1u);

    edit.document()->undo();
    ASSERT_EQ(objects().size(), 1u);
    EXPECT_EQ(objects()[0].picture, picture);
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture->isAnimationRunning(); }, 2000))
        << "the returned picture plays again";

    edit.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(pictures.pictureCount(), 0u) << "clearing empties the undo stack";
}

// The registry follows its pictures through edits anywhere in the document: a picture goes when
// its last character goes, and stays through moves, format changes and copies.
TEST_F(EmbeddingTest, LetsGoOfExactlyThePicturesWhoseCharactersLeftTheDocument) {
    const auto remove = [](QTextCursor& cursor, int from, int to) {
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    };
    const struct {
        const char* name;
        std::function<void(QTextCursor&)> edit;  // on "ab", picture 0, "c", picture 1
        std::vector<int> kept;
    } cases[] = {
        {"text typed before both, then the second removed at its new place",
         [&](QTextCursor& c) {
             c.setPosition(0);
             c.insertText("xyz");
             remove(c, 7, 8);
         },
         {0}},
        {"text removed before both, then the second removed at its new place",
         [&](QTextCursor& c) {
             remove(c, 0, 2);
             remove(c, 2, 3);
         },
         {0}},
        {"a format change over both, then the first removed",
         [&](QTextCursor& c) {
             c.select(QTextCursor::Document);
             QTextCharFormat bold;
             bold.setFontWeight(QFont::Bold);
             c.mergeCharFormat(bold);
             remove(c, 2, 3);
         },
         {1}},
        {"the first replaced by one character of text",
         [&](QTextCursor& c) {
             c.setPosition(2);
             c.setPosition(3, QTextCursor::KeepAnchor);
             c.insertText("x");
         },
         {1}},
        {"an edit block that inserts around a removal",
         [&](QTextCursor& c) {
             c.beginEditBlock();
             c.setPosition(0);
             c.insertText("zz");
             remove(c, 6, 7);
             c.setPosition(1);
             c.insertText("q");
             c.endEditBlock();
         },
         {0}},
        {"the first copied to the start, then its original removed",
         [&](QTextCursor& c) {
             c.setPosition(2);
             c.setPosition(3, QTextCursor::KeepAnchor);
             const QTextDocumentFragment copy = c.selection();
             c.setPosition(0);
             c.insertFragment(copy);
             remove(c, 3, 4);
         },
         {0, 1}},
        {"the whole text replaced", [](QTextCursor& c) { c.document()->setPlainText("new"); }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTextEdit box;
        box.document()->setUndoRedoEnabled(false);
        box.setPlainText("abc");
        QTextCursor cursor(box.document());
        cursor.setPosition(2);
        ASSERT_TRUE(embedPictureBytes(cursor, test::stillGif(Qt::red), kPictureModeLocal));
        cursor.movePosition(QTextCursor::End);
        ASSERT_TRUE(embedPictureBytes(cursor, test::stillGif(Qt::blue), kPictureModeLocal));
        const std::vector<EmbeddedObject> before = embeddedObjects(*box.document());
        ASSERT_EQ(before.size(), 2u);

        c.edit(cursor);
        QCoreApplication::processEvents();
        std::set<const PictureObject*> shown;
        for (const EmbeddedObject& object : embeddedObjects(*box.document())) {
            ASSERT_NE(object.picture, nullptr) << "at " << object.position;
            shown.insert(object.picture);
        }
        std::set<const PictureObject*> expected;
        for (const int index : c.kept) {
            expected.insert(before[static_cast<size_t>(index)].picture);
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(DocumentPictures::of(*box.document()).pictureCount(), c.kept.size());
    }
}

TEST_F(EmbeddingTest, ShowsAPictureAtFullSizeInAViewerOfTheControl) {
    ASSERT_TRUE(embedPictureBytes(edit, test::animatedGif(), kPictureModeReceived));
    PictureObject* picture = objects().at(0).picture;
    QWidget* viewer = showPicture(edit, *picture);
    EXPECT_EQ(picture->mode(), kPictureModeBeforeShow);
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->parentWidget(), &edit);
    EXPECT_TRUE(static_cast<PictureViewer*>(viewer)->isAnimating());
    viewer->close();
}

TEST(SavePictureDialog, OffersJpgBmpAndGifUnderTheChatTitleAndAsksBeforeOverwriting) {
    const auto dialog = makeSavePictureDialog(nullptr);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("选择文件名..."));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(),
              QStringList({"jpg files (.jpg) (*.jpg)", "bmp files (.bmp) (*.bmp)",
                           "gif files (.gif) (*.gif)"}));
    EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->defaultSuffix(), "jpg");
}

}  // namespace
}  // namespace chat
