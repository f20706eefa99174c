#pragma once
// The first-speech verification code: four characters drawn from a pseudo-random source, the
// case-insensitive check of what the user typed, and the corners the drawn code is warped onto.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace chat {

inline constexpr std::size_t kVerifyCodeLength = 4;

// A pseudo-random number generator in the manner of the C library's rand().
using RandomSource = std::function<unsigned()>;

// The C library's generator.
unsigned cLibraryRandom();

// Each character takes one number r: r mod 3 = 0 a digit, 1 a small letter, 2 a capital letter,
// the next number choosing which; the letters 'l', 'o', 'I' and 'O' are drawn again because
// they are easily mistaken for 1 and 0.
std::u16string makeVerifyCode(const RandomSource& random);

// True when the first four characters of `typed` equal `code`, ignoring the case of letters.
bool verifyCodeMatches(std::u16string_view code, std::u16string_view typed);

struct WarpPoint {
    int x = 0;
    int y = 0;
    bool operator==(const WarpPoint&) const = default;
};

struct WarpQuad {
    WarpPoint topLeft;
    WarpPoint topRight;
    WarpPoint bottomLeft;
    WarpPoint bottomRight;
    bool operator==(const WarpQuad&) const = default;
};

// The corners the rectangle (x, y, width, height) of the picture is warped onto: the top edge
// narrowed by a quarter of the width on each side; an odd `random` mirrors the shape so that it
// narrows toward the bottom instead.
WarpQuad verifyCodeWarp(int x, int y, int width, int height, unsigned random);

}  // namespace chat
