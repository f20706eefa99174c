#pragma once
// What all windows share in look: the embedded skin images and the "宋体" font of the skins.
#include <QFont>

namespace chat::ui {

// Makes the skin images of resources/ui reachable under ":/ui/" (needed once per process because
// chat_ui is a static library).
void ensureUiResources();

// "宋体" at the given point size, falling back to the CJK fonts of the system where it is missing.
QFont songFont(int pointSize);

}  // namespace chat::ui
