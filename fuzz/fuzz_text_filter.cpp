// Words and text from the input, checked against a plain word-by-word search; the text also goes
// through the announcement link pattern. Byte 0xFF ends a word (the words come first, at most 64,
// the last piece is the text); 0xFE takes the next two bytes as one raw UTF-16 unit; any other byte
// picks a unit from a small alphabet, so that words overlap in the text often.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/regex_pattern.h"
#include "client/text_filter.h"

namespace {

std::u16string folded(std::u16string text) {
    for (auto& unit : text) {
        unit = chat::TextFilter::fold(unit);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kMaxWords = 64;  // keeps the plain search that checks the result quick
    static const std::u16string alphabet = u"aAbB!ａＢ！中文\xD83D\xDE00<>\"=/ href";
    std::vector<std::u16string> pieces(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && pieces.size() <= kMaxWords) {
            pieces.emplace_back();
        } else if (data[i] == 0xFE && i + 2 < size) {
            pieces.back() += static_cast<char16_t>(data[i + 1] | data[i + 2] << 8);
            i += 2;
        } else {
            pieces.back() += alphabet[data[i] % alphabet.size()];
        }
    }
    const std::u16string text = pieces.back();
    pieces.pop_back();

    static chat::TextFilter filter;  // reused: refilling must leave nothing of the last words
    filter.replaceKeywords(pieces);
    bool expected = false;
    for (const auto& word : pieces) {
        expected =
            expected || (!word.empty() && folded(text).find(folded(word)) != std::u16string::npos);
    }
    if (filter.isRestricted(text) != expected) {
        std::abort();
    }

    static const chat::RegexPattern pattern(chat::kAnnouncementLinkPattern);
    for (const auto& item : pattern.matchAll(text)) {
        if (item.begin > item.end || item.end > text.size()) {
            std::abort();
        }
    }
    return 0;
}
