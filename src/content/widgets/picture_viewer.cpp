#include "content/widgets/picture_viewer.h"

#include <QBuffer>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QScreen>

#include "content/widgets/picture_object.h"

namespace chat {

PictureViewer::PictureViewer(const PictureObject& picture, QWidget* owner)
    : QScrollArea(owner), picture_(new QLabel) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("查看图片"));
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    picture_->setAlignment(Qt::AlignCenter);
    if (picture.isAnimated()) {
        movieInput_ = std::make_unique<QBuffer>();
        movieInput_->setData(picture.pictureBytes());
        movie_ = std::make_unique<QMovie>(movieInput_.get());
        picture_->setMovie(movie_.get());
        movie_->start();
    } else {
        picture_->setPixmap(QPixmap::fromImage(picture.currentFrame()));
    }
    picture_->resize(picture.size());
    setWidget(picture_);

    const QSize frame(2 * frameWidth(), 2 * frameWidth());
    QSize wanted = picture.size() + frame;
    if (const QScreen* screen = owner != nullptr ? owner->screen() : nullptr) {
        wanted = wanted.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(wanted.expandedTo(QSize(120, 80)));
}

PictureViewer::~PictureViewer() {
    // The label must not draw a movie that is already gone.
    picture_->setMovie(nullptr);
}

}  // namespace chat
