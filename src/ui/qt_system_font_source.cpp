#include "ui/qt_system_font_source.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace chat {
namespace {

constexpr int32_t kDefaultDpi = 96;

SystemFont fromQFont(const QFont& font, int32_t dpi) {
    SystemFont result;
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    result.height = -static_cast<int32_t>(std::lround(points * dpi / 72.0));
    result.weight = font.bold() ? 700 : 400;
    result.italic = font.italic();
    result.underline = font.underline();
    result.strikeout = font.strikeOut();
    result.face = font.family().toStdU16String();
    return result;
}

}  // namespace

std::optional<SystemFont> QtSystemFontSource::iconTitleFont() const {
    return fromQFont(QGuiApplication::font(), verticalDpi());
}

SystemFont QtSystemFontSource::stockSystemFont() const {
    return fromQFont(QGuiApplication::font(), verticalDpi());
}

int32_t QtSystemFontSource::verticalDpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int32_t>(std::lround(screen->logicalDotsPerInchY()))
                             : kDefaultDpi;
}

}  // namespace chat
