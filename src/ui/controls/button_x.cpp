#include "ui/controls/button_x.h"

#include <algorithm>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "ui/ui_look.h"

namespace vexa {

namespace {

constexpr int kTextPointSize = 11;

QPixmap defaultSkin() {
    chat::ui::ensureUiResources();
    return QPixmap(QString::fromLatin1(CButtonX::kDefaultSkin));
}

}  // namespace

CButtonX::CButtonX(const QString& text, QWidget* parent) : CButtonX(text, defaultSkin(), parent) {}

CButtonX::CButtonX(const QString& text, const QPixmap& skin, QWidget* parent)
    : QPushButton(text, parent) {
    if (skin.width() == kSkinWidth && skin.height() == kSkinHeight) {
        skin_ = skin;
        const QImage image = skin.toImage();
        for (int index = 0; index < 3; ++index) {
            fills_[index] = image.pixelColor(index * kImageSize + 10, 10);
        }
        setFont(chat::ui::songFont(kTextPointSize));
        setAttribute(Qt::WA_Hover);
    }
}

CButtonX::SkinImage CButtonX::currentImage() const {
    if (pressed_ || isDefault()) {
        return SkinImage::Pressed;
    }
    return hot_ ? SkinImage::Hot : SkinImage::Normal;
}

QColor CButtonX::textColour() const {
    return QColor::fromRgb(isEnabled() ? kTextColour : kDisabledTextColour);
}

void CButtonX::setStates(bool hot, bool pressed) {
    if (hot_ != hot || pressed_ != pressed) {
        hot_ = hot;
        pressed_ = pressed;
        update();
    }
}

void CButtonX::paintEvent(QPaintEvent* event) {
    if (!isSkinValid()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int image = static_cast<int>(currentImage());
    const int origin = image * kImageSize;
    const int w = width();
    const int h = height();
    const int c = kCellSize;
    const auto cell = [&](int column, int row) {
        return QRect(origin + column * c, row * c, c, c);
    };
    painter.fillRect(rect(), fills_[image]);
    for (int x = c; x < w - c; x += c) {
        const int span = std::min(c, w - c - x);
        painter.drawPixmap(QRect(x, 0, span, c), skin_, cell(1, 0).adjusted(0, 0, span - c, 0));
        painter.drawPixmap(QRect(x, h - c, span, c), skin_, cell(1, 2).adjusted(0, 0, span - c, 0));
    }
    for (int y = c; y < h - c; y += c) {
        const int span = std::min(c, h - c - y);
        painter.drawPixmap(QRect(0, y, c, span), skin_, cell(0, 1).adjusted(0, 0, 0, span - c));
        painter.drawPixmap(QRect(w - c, y, c, span), skin_, cell(2, 1).adjusted(0, 0, 0, span - c));
    }
    painter.drawPixmap(QPoint(0, 0), skin_, cell(0, 0));
    painter.drawPixmap(QPoint(w - c, 0), skin_, cell(2, 0));
    painter.drawPixmap(QPoint(0, h - c), skin_, cell(0, 2));
    painter.drawPixmap(QPoint(w - c, h - c), skin_, cell(2, 2));

    painter.setPen(textColour());
    const int shift = pressed_ ? 1 : 0;
    const QRect textArea = rect().translated(shift, shift);
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textArea.width()));
}

void CButtonX::enterEvent(QEnterEvent* event) {
    if (isEnabled()) {
        setStates(true, pressed_);
    }
    QPushButton::enterEvent(event);
}

void CButtonX::leaveEvent(QEvent* event) {
    setStates(false, false);
    QPushButton::leaveEvent(event);
}

void CButtonX::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setStates(hot_, true);
    }
    QPushButton::mousePressEvent(event);
}

void CButtonX::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        setStates(hot_, false);
    }
    QPushButton::mouseReleaseEvent(event);
}

void CButtonX::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            setStates(false, false);
        }
        update();
    }
    QPushButton::changeEvent(event);
}

}  // namespace vexa
