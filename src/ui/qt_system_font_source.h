#pragma once
// The system's fonts for the settings: the application's default font stands for the icon-title
// font.
#include "storage/system_font.h"

namespace chat {

class QtSystemFontSource final : public SystemFontSource {
  public:
    std::optional<SystemFont> iconTitleFont() const override;
    SystemFont stockSystemFont() const override;
    int32_t verticalDpi() const override;
};

}  // namespace chat
