#pragma once
// A window that shows one picture at full size (animated GIFs play), with scroll bars when the
// picture is larger than the screen allows. It deletes itself when closed.
#include <QScrollArea>
#include <memory>

class QBuffer;
class QLabel;
class QMovie;

namespace chat {

class PictureObject;

class PictureViewer : public QScrollArea {
    Q_OBJECT

  public:
    // The viewer copies what it needs: it may outlive the picture.
    PictureViewer(const PictureObject& picture, QWidget* owner);
    ~PictureViewer() override;

    bool isAnimating() const { return movie_ != nullptr; }

  private:
    QLabel* picture_;
    std::unique_ptr<QBuffer> movieInput_;
    std::unique_ptr<QMovie> movie_;
};

}  // namespace chat
