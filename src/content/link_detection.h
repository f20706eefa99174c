#pragma once
// Addresses inside message text. A link starts at the earliest of the prefixes "http://",
// "https://", "ftp://", "www." and "mailto://" and runs over every following character above 32
// and below 128; the first other character ends it.
#include <string>
#include <string_view>
#include <vector>

namespace chat {

struct LinkedText {
    std::u16string text;
    bool link = false;
    bool operator==(const LinkedText&) const = default;
};

// The text cut into plain and link pieces, in order; no piece is empty.
std::vector<LinkedText> splitLinks(std::u16string_view text);

}  // namespace chat
