#pragma once
// Pointer events sent straight to a widget, and a look at what a widget draws.
#include <QApplication>
#include <QColor>
#include <QEnterEvent>
#include <QImage>
#include <QWidget>

#include <cstdlib>
#include <functional>

namespace chat::test {

inline void sendEnter(QWidget* widget) {
    const QPointF inside(2, 2);
    QEnterEvent event(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &event);
}

inline void sendLeave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

inline QImage render(QWidget& widget) {
    return widget.grab().toImage();
}

inline bool anyPixel(const QImage& image, const std::function<bool(QColor)>& wanted) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (wanted(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

// A pixel close to `colour` (text edges are blended with the background).
inline bool hasColour(const QImage& image, QColor colour) {
    return anyPixel(image, [&](QColor pixel) {
        return std::abs(pixel.red() - colour.red()) < 40 &&
               std::abs(pixel.green() - colour.green()) < 40 &&
               std::abs(pixel.blue() - colour.blue()) < 40;
    });
}

}  // namespace chat::test
