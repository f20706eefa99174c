#include "media/verify_code.h"

#include <cstdlib>
#include <utility>

namespace chat {

namespace {

constexpr unsigned kLetterCount = 26;

// A letter from 'first' drawn again while it is one of the two easily mistaken ones.
char16_t letterAvoiding(const RandomSource& random, char16_t first, char16_t avoid1,
                        char16_t avoid2) {
    for (;;) {
        const auto letter = static_cast<char16_t>(first + random() % kLetterCount);
        if (letter != avoid1 && letter != avoid2) {
            return letter;
        }
    }
}

char16_t foldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

unsigned cLibraryRandom() {
    return static_cast<unsigned>(std::rand());
}

std::u16string makeVerifyCode(const RandomSource& random) {
    std::u16string code;
    code.reserve(kVerifyCodeLength);
    while (code.size() < kVerifyCodeLength) {
        switch (random() % 3) {
            case 0:
                code.push_back(static_cast<char16_t>(u'0' + random() % 10));
                break;
            case 1:
                code.push_back(letterAvoiding(random, u'a', u'l', u'o'));
                break;
            default:
                code.push_back(letterAvoiding(random, u'A', u'I', u'O'));
                break;
        }
    }
    return code;
}

bool verifyCodeMatches(std::u16string_view code, std::u16string_view typed) {
    typed = typed.substr(0, kVerifyCodeLength);
    if (typed.size() != code.size()) {
        return false;
    }
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (foldCase(code[i]) != foldCase(typed[i])) {
            return false;
        }
    }
    return true;
}

WarpQuad verifyCodeWarp(int x, int y, int width, int height, unsigned random) {
    WarpQuad quad{{x + width / 4, y},
                  {x + width - width / 4, y},
                  {x, y + height - 1},
                  {x + width, y + height}};
    if (random % 2 != 0) {
        std::swap(quad.topLeft.x, quad.bottomLeft.x);
        std::swap(quad.topRight.x, quad.bottomRight.x);
    }
    return quad;
}

}  // namespace chat
