#pragma once
// The trim of nicknames, message texts and settings values: characters with the codes 1 to 32
// go at both ends.
#include <string_view>

namespace chat {

constexpr std::u16string_view trimmedBlanks(std::u16string_view text) {
    const auto blank = [](char16_t unit) { return unit >= 1 && unit <= 32; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace chat
