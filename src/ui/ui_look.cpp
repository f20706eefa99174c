#include "ui/ui_look.h"

#include <QStringList>

// Resource initialisers live in the global namespace.
static void initUiQrc() {
    Q_INIT_RESOURCE(ui);
}

namespace chat::ui {

void ensureUiResources() {
    static const bool done = (initUiQrc(), true);
    (void)done;
}

QFont songFont(int pointSize) {
    QFont font;
    font.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(pointSize);
    return font;
}

}  // namespace chat::ui
