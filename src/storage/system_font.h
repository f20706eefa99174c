#pragma once
// What the settings need to know about the system's fonts: the icon-title font, or the stock
// system font when that is not available, and the screen's vertical resolution. The UI implements
// it; tests fake it.
#include <cstdint>
#include <optional>
#include <string>

#include "content/text_style.h"

namespace chat {

struct SystemFont {
    int32_t height = 0;  // device units, negative for a character height
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    uint8_t charset = 134;
    std::u16string face;
};

class SystemFontSource {
  public:
    virtual ~SystemFontSource() = default;
    virtual std::optional<SystemFont> iconTitleFont() const = 0;
    virtual SystemFont stockSystemFont() const = 0;
    virtual int32_t verticalDpi() const = 0;
};

// The icon-title font (or the stock font) as a text style: points from the height, bold for
// weight 700, the face cut to 31 characters, colour black.
TextStyle systemTextStyle(const SystemFontSource& fonts);

}  // namespace chat
