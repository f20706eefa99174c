#include "content/link_detection.h"

#include <algorithm>
#include <array>

namespace chat {
namespace {

constexpr std::array<std::u16string_view, 5> kLinkPrefixes = {u"http://", u"https://", u"ftp://",
                                                              u"www.", u"mailto://"};

bool isLinkCharacter(char16_t c) {
    return c > 32 && c < 128;
}

}  // namespace

std::vector<LinkedText> splitLinks(std::u16string_view text) {
    std::vector<LinkedText> pieces;
    while (!text.empty()) {
        size_t start = std::u16string_view::npos;
        for (const auto prefix : kLinkPrefixes) {
            start = std::min(start, text.find(prefix));
        }
        if (start == std::u16string_view::npos) {
            pieces.push_back({std::u16string(text), false});
            break;
        }
        if (start > 0) {
            pieces.push_back({std::u16string(text.substr(0, start)), false});
        }
        size_t end = start;
        while (end < text.size() && isLinkCharacter(text[end])) {
            ++end;
        }
        pieces.push_back({std::u16string(text.substr(start, end - start)), true});
        text.remove_prefix(end);
    }
    return pieces;
}

}  // namespace chat
