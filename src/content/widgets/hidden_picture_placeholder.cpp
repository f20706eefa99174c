#include "content/widgets/hidden_picture_placeholder.h"

#include <QPainter>
#include <QPainterPath>

namespace chat {

QImage hiddenPicturePlaceholder() {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 160, 160), 1));
    painter.drawRect(QRectF(0.5, 0.5, 63, 47));

    // A landscape: sun and two hills.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 200, 80));
    painter.drawEllipse(QPointF(44, 15), 5, 5);
    QPainterPath hills;
    hills.moveTo(8, 38);
    hills.lineTo(22, 20);
    hills.lineTo(32, 31);
    hills.lineTo(38, 25);
    hills.lineTo(56, 38);
    hills.closeSubpath();
    painter.setBrush(QColor(150, 175, 200));
    painter.drawPath(hills);

    // Crossed out.
    painter.setPen(QPen(QColor(200, 60, 60), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 42), QPointF(52, 6));
    return image;
}

}  // namespace chat
