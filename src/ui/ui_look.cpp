#include "ui/ui_look.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>

// Resource initialisers live in the global namespace.
static void initUiQrc() {
    Q_INIT_RESOURCE(ui);
}

namespace chat::ui {

void ensureUiResources() {
    static const bool done = (initUiQrc(), true);
    (void)done;
}

namespace {

QFont songFamily() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

}  // namespace

QFont songFont(int pointSize) {
    QFont font = songFamily();
    font.setPointSize(pointSize);
    return font;
}

QFont songPixelFont(int pixelHeight, bool bold) {
    QFont font = songFamily();
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void fillBackground(QWidget& widget, QRgb colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(colour));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace chat::ui
