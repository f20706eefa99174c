#include "ui/room/input/strip_button.h"

#include <QPainter>

#include "ui/ui_look.h"

namespace chat {

namespace {
constexpr QRgb kDisabledText = 0xFF808080;
}

StripButton::StripButton(const QString& caption, const QString& strip, int imageWidth,
                         int textInset, QWidget* parent)
    : QAbstractButton(parent), imageWidth_(imageWidth), textInset_(textInset) {
    ui::ensureUiResources();
    strip_.load(strip);
    setText(caption);
    setFont(ui::songFont(9));
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

StripButton::Image StripButton::currentImage() const {
    if (isDown()) {
        return Image::Pressed;
    }
    return hot_ && isEnabled() ? Image::Hot : Image::Normal;
}

QSize StripButton::sizeHint() const {
    return {imageWidth_, strip_.isNull() ? 22 : strip_.height()};
}

void StripButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int index = static_cast<int>(currentImage());
    painter.drawPixmap(rect(), strip_, QRect(index * imageWidth_, 0, imageWidth_, strip_.height()));
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor::fromRgb(kDisabledText));
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    painter.drawText(rect().adjusted(textInset_, 0, 0, 0).translated(shift), Qt::AlignCenter,
                     text());
}

void StripButton::enterEvent(QEnterEvent* event) {
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void StripButton::leaveEvent(QEvent* event) {
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace chat
