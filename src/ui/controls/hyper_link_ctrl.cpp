#include "ui/controls/hyper_link_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tekna {

HyperLinkCtrl::HyperLinkCtrl(const QString& text, int commandId, QWidget* parent)
    : QLabel(text, parent), commandId_(commandId) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void HyperLinkCtrl::setNormalColour(const QColor& colour) {
    normalColour_ = colour;
    update();
}

void HyperLinkCtrl::setHoverColour(const QColor& colour) {
    hoverColour_ = colour;
    update();
}

QFont HyperLinkCtrl::linkFont() const {
    QFont underlined = font();
    underlined.setUnderline(true);
    return underlined;
}

QSize HyperLinkCtrl::sizeHint() const {
    const QFontMetrics metrics(linkFont());
    return {metrics.horizontalAdvance(shownText()), metrics.height()};
}

void HyperLinkCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    painter.setFont(linkFont());
    painter.setPen(textColour());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}

void HyperLinkCtrl::setHovered(bool hovered) {
    if (hovered_ != hovered) {
        hovered_ = hovered;
        update();
    }
}

void HyperLinkCtrl::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QLabel::enterEvent(event);
}

void HyperLinkCtrl::leaveEvent(QEvent* event) {
    setHovered(false);
    QLabel::leaveEvent(event);
}

void HyperLinkCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked(commandId_);
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void HyperLinkCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        emit clicked(commandId_);
        return;
    }
    QLabel::keyPressEvent(event);
}

}  // namespace tekna
