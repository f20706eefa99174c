#pragma once
// What all windows share in look: the embedded skin images and the "宋体" font of the skins.
#include <QColor>
#include <QFont>

class QWidget;

namespace chat::ui {

// Makes the skin images of resources/ui reachable under ":/ui/" (needed once per process because
// chat_ui is a static library).
void ensureUiResources();

// "宋体" at the given point size, falling back to the CJK fonts of the system where it is missing.
QFont songFont(int pointSize);
// "宋体" with the given character height in pixels (the room panes' 12-pixel font).
QFont songPixelFont(int pixelHeight, bool bold = false);

// The colours of the room pages: the page, the panels on it, and their frames.
inline constexpr QRgb kPageBackground = qRgb(242, 246, 251);
inline constexpr QRgb kPanelBackground = qRgb(232, 240, 248);
inline constexpr QRgb kFrameColour = qRgb(133, 166, 221);

// Lets the widget paint its background in one plain colour.
void fillBackground(QWidget& widget, QRgb colour);

}  // namespace chat::ui
