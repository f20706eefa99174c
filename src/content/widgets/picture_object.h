#pragma once
// The picture object that the rich text controls embed: the picture's bytes as they were given
// (JPEG, GIF, BMP, PNG, anything Qt's image readers know), decoded once to check them and to learn
// the size; animated pictures play through a QMovie that exists only while the animation runs.
#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>

class QBuffer;
class QMovie;

namespace chat {

// Modes of a picture object as its callers set them.
enum PictureMode : int {
    kPictureModeBeforeShow = -1,  // just before the picture opens in its viewer
    kPictureModeLocal = 0,        // emoticons, role icons and pictures of the input box
    kPictureModeReceived = 1,     // received pictures and the hidden-picture placeholder
};

class PictureObject : public QObject {
    Q_OBJECT

  public:
    // Pictures wider or taller than this are drawn scaled down in a document (the viewer shows
    // them at full size).
    static constexpr QSize kLargestDrawnSize{480, 360};

    // Loads the picture from memory; null when the bytes are not a picture that Qt can decode.
    // `sourceFileName` names the file the bytes came from when the caller wants it remembered.
    static std::unique_ptr<PictureObject> load(const QByteArray& bytes, int mode,
                                               const QString& sourceFileName = {});
    ~PictureObject() override;

    const QByteArray& pictureBytes() const { return bytes_; }
    const QString& sourceFileName() const { return sourceFileName_; }

    // The mode is kept for the callers; it does not change how the picture is drawn.
    int mode() const { return mode_; }
    void setMode(int mode) { mode_ = mode; }

    // Writes the original bytes unchanged, whatever the file's extension says, so an animated
    // GIF stays animated and a JPEG is not encoded a second time. False when the file cannot be
    // written completely.
    bool saveToFile(const QString& path) const;

    QSize size() const { return firstFrame_.size(); }
    // The size in a document: the picture's own size, scaled down to fit kLargestDrawnSize.
    QSize drawnSize() const;
    bool isAnimated() const { return animated_; }

    // The frame to draw now: the animation's current frame while it runs, else the first frame.
    QImage currentFrame() const;

    // Animated pictures only; starting a running animation or stopping a stopped one does nothing.
    // Stopping frees the decoder of the animation.
    void startAnimation();
    void stopAnimation();
    bool isAnimationRunning() const { return movie_ != nullptr; }

  signals:
    // A new frame of the animation is ready.
    void frameChanged();

  private:
    PictureObject(QByteArray bytes, QImage firstFrame, bool animated, int mode,
                  QString sourceFileName);

    QByteArray bytes_;
    QImage firstFrame_;
    bool animated_;
    int mode_;
    QString sourceFileName_;
    std::unique_ptr<QBuffer> movieInput_;
    std::unique_ptr<QMovie> movie_;
};

}  // namespace chat
