#pragma once
// The text style of a chat message and of the user's own writing: 77 packed bytes on the wire and
// in the record files (colour 4, face 64 = 32 UTF-16 units, size 4, bold, italic, underline,
// strikeout, character set: one byte each).
#include <cstddef>
#include <cstdint>
#include <string>

namespace chat {

struct TextStyle {
    static constexpr size_t kSize = 77;
    static constexpr size_t kFaceUnits = 32;  // at most 31 characters and a terminating zero

    uint32_t colour = 0;  // Windows colour value 0x00BBGGRR
    std::u16string face = u"宋体";
    int32_t size = 9;  // points
    uint8_t bold = 0;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeout = 0;
    uint8_t charset = 134;

    // `bytes` must hold kSize bytes. The face is read up to its terminator or the field end.
    static TextStyle read(const uint8_t* bytes);
    // Writes the face cut to 31 characters.
    void write(uint8_t* bytes) const;

    bool operator==(const TextStyle&) const = default;
};

// Black, "宋体", 9 points, no effects, character set 134.
inline TextStyle defaultTextStyle() {
    return TextStyle{};
}

constexpr uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) {
    return red | (uint32_t{green} << 8) | (uint32_t{blue} << 16);
}

// The look kept for the system's own lines: 8 to 10 points, red and green within 7 of 128 (blue
// is not examined).
bool isReservedLook(int32_t points, uint32_t colour);
inline bool isReservedStyle(const TextStyle& style) {
    return isReservedLook(style.size, style.colour);
}

// Points of a font given by its height in device units: |height| × 72 ÷ vertical dots per inch.
int32_t pointsFromFontHeight(int32_t height, int32_t verticalDpi);


bool mayUseReservedStyle(uint32_t accountLevel);

// The style as it is stored for a user of `accountLevel`: a reserved style turns black unless the
// user is customer service or a system administrator.
TextStyle styleToStore(TextStyle style, uint32_t accountLevel);

}  // namespace chat
