#pragma once
// Small pictures written in the tests.
#include <QByteArray>
#include <QColor>
#include <QImage>

namespace chat::test {

// A 1 x 1 GIF of one colour.
QByteArray stillGif(QColor colour);
// A 1 x 1 GIF of two frames, red then blue, 50 ms each, looping.
QByteArray animatedGif();
// `image` encoded by Qt's writer of the format ("png", "jpeg", "bmp").
QByteArray encoded(const QImage& image, const char* format);
// A size x size image of one colour.
QImage filled(int width, int height, QColor colour);

}  // namespace chat::test
