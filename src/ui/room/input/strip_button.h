#pragma once
// A button of the input bar drawn from a bitmap strip: images of equal width side by side, image 0
// normal (and disabled), image 1 while the pointer is over the button, image 2 pressed. The
// caption is drawn over the image, right of the strip's glyph.
#include <QAbstractButton>
#include <QPixmap>

namespace chat {

class StripButton : public QAbstractButton {
    Q_OBJECT

  public:
    enum class Image { Normal = 0, Hot = 1, Pressed = 2 };

    // `textInset` keeps the caption clear of the glyph at the left of each image.
    StripButton(const QString& caption, const QString& strip, int imageWidth, int textInset,
                QWidget* parent = nullptr);

    Image currentImage() const;
    bool isHot() const { return hot_; }
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap strip_;
    int imageWidth_;
    int textInset_;
    bool hot_ = false;
};

}  // namespace chat
