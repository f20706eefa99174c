#include "content/text_style.h"

#include <cstdlib>

#include "admin/account_level.h"
#include "util/little_endian.h"
#include "util/wire_text.h"

namespace chat {

TextStyle TextStyle::read(const uint8_t* bytes) {
    TextStyle style;
    style.colour = loadLE<uint32_t>(bytes);
    style.face = getWide(bytes + 4, kFaceUnits);
    style.size = loadLE<int32_t>(bytes + 68);
    style.bold = bytes[72];
    style.italic = bytes[73];
    style.underline = bytes[74];
    style.strikeout = bytes[75];
    style.charset = bytes[76];
    return style;
}

void TextStyle::write(uint8_t* bytes) const {
    storeLE(bytes, colour);
    putWide(bytes + 4, kFaceUnits, face);
    storeLE(bytes + 68, size);
    bytes[72] = bold;
    bytes[73] = italic;
    bytes[74] = underline;
    bytes[75] = strikeout;
    bytes[76] = charset;
}

bool isReservedLook(int32_t points, uint32_t colour) {
    const int red = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    return points >= 8 && points <= 10 && std::abs(red - 128) <= 7 && std::abs(green - 128) <= 7;
}

int32_t pointsFromFontHeight(int32_t height, int32_t verticalDpi) {
    if (verticalDpi <= 0) {
        return 0;
    }
    const int64_t magnitude = height < 0 ? -int64_t{height} : int64_t{height};
    return static_cast<int32_t>(magnitude * 72 / verticalDpi);
}

bool mayUseReservedStyle(uint32_t accountLevel) {
    return (accountLevel & AccountLevel::kStaff) != 0;
}

TextStyle styleToStore(TextStyle style, uint32_t accountLevel) {
    if (isReservedStyle(style) && !mayUseReservedStyle(accountLevel)) {
        style.colour = 0;
    }
    return style;
}

}  // namespace chat
