#pragma once
// The picture button's pick: an open-file dialog with a preview of the selected picture, then the
// pick flow (media/picture_pick.h) that embeds the file, or its JPEG re-encoding, into the input
// box, or tells the user why not.
#include <QByteArray>
#include <QLabel>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "media/picture_pick.h"

class QFileDialog;
class QTextEdit;
class QWidget;

namespace chat {

// Beside the file list: the selected picture fitted to the preview's height and centred; nothing
// for folders and for files that are not pictures.
class PicturePreview : public QLabel {
    Q_OBJECT

  public:
    static constexpr int kPreviewHeight = 83;

    explicit PicturePreview(QWidget* parent = nullptr);
    void showFile(const QString& path);
};

// The dialog "选择图像文件..." with its four filters (the first selected), existing files only
// and the preview under the file list. Not the desktop's native dialog, which cannot show it.
std::unique_ptr<QFileDialog> makePicturePickDialog(QWidget* owner);

// Runs that dialog; the chosen path, or empty when cancelled.
QString choosePictureFile(QWidget* owner);

// Loads the picture file (the first frame of an animation) and encodes it as JPEG. The file is not
// changed.
std::optional<QByteArray> encodeFileAsJpeg(const QString& path);

// Message boxes over `owner`: errors with the error icon and the application's caption, the
// question with the warning icon and Yes and No.
class QtPicturePickPrompts final : public PicturePickPrompts {
  public:
    explicit QtPicturePickPrompts(QWidget* owner) : owner_(owner) {}
    void showError(std::string_view text) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;

  private:
    QWidget* owner_;
};

using PictureFileChooser = std::function<QString(QWidget* owner)>;

// The whole pick for `target` (an input box): choose a file, check its size, offer the JPEG
// re-encoding, embed the result at the caret and redraw. True when a picture was embedded.
bool pickPicture(QWidget* owner, QTextEdit& target, PicturePickPrompts& prompts,
                 const PictureFileChooser& choose = choosePictureFile);

}  // namespace chat
