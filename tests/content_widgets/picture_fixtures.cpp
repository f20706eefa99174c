#include "picture_fixtures.h"

#include <QBuffer>
#include <QImageWriter>

namespace chat::test {

namespace {

const QByteArray kGifHead = QByteArray::fromHex(
    "474946383961"
    "01000100"
    "800000");
// Image descriptor of a 1 x 1 image at (0, 0).
const QByteArray kImage = QByteArray::fromHex("2C000000000100010000");
// LZW data (code size 2) of one pixel of colour index 0, and of index 1.
const QByteArray kPixelIndex0 = QByteArray::fromHex("0202440100");
const QByteArray kPixelIndex1 = QByteArray::fromHex("02024C0100");
const QByteArray kFrameDelay50ms = QByteArray::fromHex("21F9040005000000");
const QByteArray kTrailer = QByteArray::fromHex("3B");

QByteArray rgb(QColor colour) {
    return QByteArray{}
        .append(static_cast<char>(colour.red()))
        .append(static_cast<char>(colour.green()))
        .append(static_cast<char>(colour.blue()));
}

}  // namespace

QByteArray stillGif(QColor colour) {
    return kGifHead + rgb(colour) + rgb(Qt::black) + kImage + kPixelIndex0 + kTrailer;
}

QByteArray animatedGif() {
    const QByteArray loop =
        QByteArray::fromHex("21FF0B") + "NETSCAPE2.0" + QByteArray::fromHex("0301000000");
    return kGifHead + rgb(Qt::red) + rgb(Qt::blue) + loop + kFrameDelay50ms + kImage +
           kPixelIndex0 + kFrameDelay50ms + kImage + kPixelIndex1 + kTrailer;
}

QByteArray encoded(const QImage& image, const char* format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return buffer.data();
}

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace chat::test
