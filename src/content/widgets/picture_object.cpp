#include "content/widgets/picture_object.h"

#include <QBuffer>
#include <QImageReader>
#include <QMovie>
#include <QSaveFile>

namespace chat {

std::unique_ptr<PictureObject> PictureObject::load(const QByteArray& bytes, int mode,
                                                   const QString& sourceFileName) {
    QBuffer input;
    input.setData(bytes);
    if (!input.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    QImageReader reader(&input);
    const bool animated = reader.supportsAnimation() && reader.imageCount() > 1;
    QImage firstFrame = reader.read();
    if (firstFrame.isNull()) {
        return nullptr;
    }
    return std::unique_ptr<PictureObject>(
        new PictureObject(bytes, std::move(firstFrame), animated, mode, sourceFileName));
}

PictureObject::PictureObject(QByteArray bytes, QImage firstFrame, bool animated, int mode,
                             QString sourceFileName)
    : bytes_(std::move(bytes)),
      firstFrame_(std::move(firstFrame)),
      animated_(animated),
      mode_(mode),
      sourceFileName_(std::move(sourceFileName)) {}

PictureObject::~PictureObject() = default;

bool PictureObject::saveToFile(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes_) != bytes_.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QSize PictureObject::drawnSize() const {
    const QSize own = size();
    if (own.width() <= kLargestDrawnSize.width() && own.height() <= kLargestDrawnSize.height()) {
        return own;
    }
    return own.scaled(kLargestDrawnSize, Qt::KeepAspectRatio);
}

QImage PictureObject::currentFrame() const {
    if (movie_ != nullptr) {
        QImage frame = movie_->currentImage();
        if (!frame.isNull()) {
            return frame;
        }
    }
    return firstFrame_;
}

void PictureObject::startAnimation() {
    if (!animated_ || movie_ != nullptr) {
        return;
    }
    movieInput_ = std::make_unique<QBuffer>();
    movieInput_->setData(bytes_);
    movie_ = std::make_unique<QMovie>(movieInput_.get());
    movie_->setCacheMode(QMovie::CacheNone);
    connect(movie_.get(), &QMovie::frameChanged, this, &PictureObject::frameChanged);
    movie_->start();
}

void PictureObject::stopAnimation() {
    movie_.reset();
    movieInput_.reset();
}

}  // namespace chat
