#include "content/widgets/chat_box_bitmaps.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "content/chat_box_layout.h"
#include "content/widgets/hidden_picture_placeholder.h"

namespace chat {
namespace {

constexpr int kIconSize = 16;

// A round badge in the role's colour with one white letter.
QImage roleBadge(QColor colour, const QString& letter) {
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(130), 1));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, kIconSize - 1, kIconSize - 1));
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kIconSize, kIconSize), Qt::AlignCenter, letter);
    return image;
}

// A grey speech bubble with an exclamation mark.
QImage systemLineIcon() {
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1, 1, 14, 11), 3, 3);
    bubble.moveTo(4, 11);
    bubble.lineTo(4, 15);
    bubble.lineTo(8, 11);
    painter.setPen(QPen(QColor(112, 112, 112), 1));
    painter.setBrush(QColor(150, 150, 150));
    painter.drawPath(bubble.simplified());
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(8, 3.5), QPointF(8, 7.5));
    painter.drawPoint(QPointF(8, 10));
    return image;
}

QImage bitmapImage(int32_t resourceId) {
    switch (resourceId) {
        case kCustomerServiceIconBitmap:
            return roleBadge(QColor(255, 128, 0), QStringLiteral("客"));
        case kInstructorIconBitmap:
            return roleBadge(QColor(128, 0, 128), QStringLiteral("导"));
        case kRoomManagerIconBitmap:
            return roleBadge(QColor(0, 128, 0), QStringLiteral("管"));
        case kSystemLineBitmap:
            return systemLineIcon();
        case kHiddenPictureBitmap:
            return hiddenPicturePlaceholder();
        default:
            return {};
    }
}

}  // namespace

QByteArray chatBoxBitmapBytes(int32_t resourceId) {
    static QHash<int32_t, QByteArray> encoded;
    const auto found = encoded.constFind(resourceId);
    if (found != encoded.constEnd()) {
        return *found;
    }
    QByteArray bytes;
    const QImage image = bitmapImage(resourceId);
    if (!image.isNull()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    encoded.insert(resourceId, bytes);
    return bytes;
}

}  // namespace chat
