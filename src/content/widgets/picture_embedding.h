#pragma once
// Putting pictures into rich text controls, finding the picture under a point, showing a picture
// in its viewer and saving it under a name the user picks.
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QFileDialog;
class QImage;
class QTextCursor;
class QTextEdit;
class QWidget;

namespace chat {

class PictureObject;

// Picture files of this size or larger are not embedded.
inline constexpr qint64 kPictureFileSizeLimit = 0x4000000;  // 64 MiB

// Embeds the picture at the cursor with the user tag 0xFFFF. False, and nothing embedded, when the
// bytes are not a picture. An exception while embedding shows "在添加图片的过程中出现一个错误"
// in an error box and counts as done.
bool embedPictureBytes(QTextCursor& cursor, const QByteArray& bytes, int mode);
// At the control's caret, which ends after the picture.
bool embedPictureBytes(QTextEdit& edit, const QByteArray& bytes, int mode);

// Reads the whole file (it must exist, not be empty and be smaller than kPictureFileSizeLimit)
// and embeds its bytes in the local mode (0). False, and nothing embedded, otherwise.
bool embedPictureFile(QTextCursor& cursor, const QString& path);
bool embedPictureFile(QTextEdit& edit, const QString& path);

// The image in JPEG at the encoder's default quality; transparent parts turn white. nullopt when
// the image is null or the encoder fails.
std::optional<QByteArray> encodeImageAsJpeg(const QImage& image);

// Encodes the image as JPEG in memory and embeds those bytes.
bool embedBitmap(QTextCursor& cursor, const QImage& bitmap, int mode);
bool embedBitmap(QTextEdit& edit, const QImage& bitmap, int mode);

// The picture drawn at the point of the control's viewport, or null.
PictureObject* pictureAt(const QTextEdit& edit, QPoint viewportPoint);
// The picture under the mouse pointer, or null.
PictureObject* pictureUnderCursor(const QTextEdit& edit);

// Opens the picture at full size in a viewer window of the control (closed with it) and returns
// the viewer. The picture's mode becomes kPictureModeBeforeShow.
QWidget* showPicture(QTextEdit& edit, PictureObject& picture);

// The save dialog of "save picture as": title "选择文件名...", the jpg, bmp and gif filters,
// default suffix "jpg", asking before it overwrites a file.
std::unique_ptr<QFileDialog> makeSavePictureDialog(QWidget* owner);
// Runs the save dialog and writes the picture's bytes to the chosen file; a failed write is
// reported in an error box. False when the user cancels or the write fails.
bool savePictureAs(QWidget* owner, const PictureObject& picture);

}  // namespace chat
