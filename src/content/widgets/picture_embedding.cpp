#include "content/widgets/picture_embedding.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <exception>

#include "content/widgets/dialog_name_filters.h"
#include "content/widgets/document_pictures.h"
#include "content/widgets/picture_object.h"
#include "content/widgets/picture_viewer.h"

namespace chat {

namespace {

// The caret-based variants: embed at the control's caret and leave the caret after the picture.
template <typename Embed>
bool embedAtCaret(QTextEdit& edit, Embed embed) {
    QTextCursor cursor = edit.textCursor();
    const bool embedded = embed(cursor);
    if (embedded) {
        edit.setTextCursor(cursor);
    }
    return embedded;
}

constexpr DialogFilter kSaveFilters[] = {
    {"jpg files (.jpg)", "*.jpg;"},
    {"bmp files (.bmp)", "*.bmp;"},
    {"gif files (.gif)", "*.gif;"},
};

}  // namespace

bool embedPictureBytes(QTextCursor& cursor, const QByteArray& bytes, int mode) {
    try {
        std::unique_ptr<PictureObject> picture = PictureObject::load(bytes, mode);
        if (picture == nullptr) {
            return false;
        }
        DocumentPictures::of(*cursor.document()).insert(cursor, std::move(picture));
        return true;
    } catch (const std::exception&) {
        QMessageBox::critical(QApplication::activeWindow(), QString(),
                              QStringLiteral("在添加图片的过程中出现一个错误"));
        return true;
    }
}

bool embedPictureBytes(QTextEdit& edit, const QByteArray& bytes, int mode) {
    return embedAtCaret(
        edit, [&](QTextCursor& cursor) { return embedPictureBytes(cursor, bytes, mode); });
}

bool embedPictureFile(QTextCursor& cursor, const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const qint64 size = file.size();
    if (size <= 0 || size >= kPictureFileSizeLimit) {
        return false;
    }
    const QByteArray bytes = file.read(size);
    if (bytes.size() != size) {
        return false;
    }
    return embedPictureBytes(cursor, bytes, kPictureModeLocal);
}

bool embedPictureFile(QTextEdit& edit, const QString& path) {
    return embedAtCaret(edit, [&](QTextCursor& cursor) { return embedPictureFile(cursor, path); });
}

std::optional<QByteArray> encodeImageAsJpeg(const QImage& image) {
    if (image.isNull()) {
        return std::nullopt;
    }
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    QBuffer encoded;
    if (!encoded.open(QIODevice::WriteOnly)) {
        return std::nullopt;
    }
    QImageWriter writer(&encoded, "jpeg");
    if (!writer.write(opaque)) {
        return std::nullopt;
    }
    return encoded.data();
}

bool embedBitmap(QTextCursor& cursor, const QImage& bitmap, int mode) {
    const std::optional<QByteArray> encoded = encodeImageAsJpeg(bitmap);
    return encoded.has_value() && embedPictureBytes(cursor, *encoded, mode);
}

bool embedBitmap(QTextEdit& edit, const QImage& bitmap, int mode) {
    return embedAtCaret(edit,
                        [&](QTextCursor& cursor) { return embedBitmap(cursor, bitmap, mode); });
}

PictureObject* pictureAt(const QTextEdit& edit, QPoint viewportPoint) {
    const DocumentPictures* pictures = DocumentPictures::find(*edit.document());
    if (pictures == nullptr) {
        return nullptr;
    }
    const QPointF documentPoint =
        QPointF(viewportPoint) +
        QPointF(edit.horizontalScrollBar()->value(), edit.verticalScrollBar()->value());
    // The nearest caret position lies before or after the character under the point.
    const int caret = edit.cursorForPosition(viewportPoint).position();
    for (const int position : {caret, caret - 1}) {
        PictureObject* picture = pictures->pictureAt(position);
        if (picture != nullptr && pictures->objectRect(position).contains(documentPoint)) {
            return picture;
        }
    }
    return nullptr;
}

PictureObject* pictureUnderCursor(const QTextEdit& edit) {
    return pictureAt(edit, edit.viewport()->mapFromGlobal(QCursor::pos()));
}

QWidget* showPicture(QTextEdit& edit, PictureObject& picture) {
    picture.setMode(kPictureModeBeforeShow);
    auto* viewer = new PictureViewer(picture, &edit);
    viewer->show();
    edit.viewport()->update();
    return viewer;
}

std::unique_ptr<QFileDialog> makeSavePictureDialog(QWidget* owner) {
    auto dialog = std::make_unique<QFileDialog>(owner, QStringLiteral("选择文件名..."));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    setDialogNameFilters(*dialog, kSaveFilters, PatternCase::AsWritten);
    dialog->setDefaultSuffix(QStringLiteral("jpg"));
    return dialog;
}

bool savePictureAs(QWidget* owner, const PictureObject& picture) {
    const std::unique_ptr<QFileDialog> dialog = makeSavePictureDialog(owner);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return false;
    }
    const QString path = dialog->selectedFiles().constFirst();
    if (!picture.saveToFile(path)) {
        QMessageBox::critical(owner, QString(), QStringLiteral("图片保存失败：") + path);
        return false;
    }
    return true;
}

}  // namespace chat
