#include "client/regex_pattern.h"

#include <pcre2.h>

#include <memory>
#include <stdexcept>

#include "util/text_codec.h"

namespace chat {

namespace {

struct MatchDataDeleter {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

std::string compileErrorText(int error, PCRE2_SIZE offset) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(error, buffer, sizeof buffer / sizeof buffer[0]);
    std::u16string message(reinterpret_cast<const char16_t*>(buffer),
                           length > 0 ? static_cast<size_t>(length) : 0);
    return "pattern error at " + std::to_string(offset) + ": " + utf16ToUtf8(message);
}

}  // namespace

RegexPattern::RegexPattern(std::u16string_view pattern) {
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                          PCRE2_CASELESS | PCRE2_DOTALL | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF,
                          &error, &errorOffset, nullptr);
    if (code_ == nullptr) {
        throw std::invalid_argument(compileErrorText(error, errorOffset));
    }
    uint32_t captures = 0;
    pcre2_pattern_info(code_, PCRE2_INFO_CAPTURECOUNT, &captures);
    groupCount_ = captures;
}

RegexPattern::~RegexPattern() {
    pcre2_code_free(code_);
}

std::vector<MatchItem> RegexPattern::matchAll(std::u16string_view text) const {
    std::vector<MatchItem> items;
    const std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
        pcre2_match_data_create_from_pattern(code_, nullptr));
    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    size_t start = 0;
    while (start <= text.size()) {
        const int rc = pcre2_match(code_, subject, text.size(), start, 0, data.get(), nullptr);
        if (rc < 0) {
            break;  // no further match, or the match limit was reached
        }
        const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(data.get());
        const size_t matchBegin = offsets[0];
        const size_t matchEnd = offsets[1];
        for (size_t item = 0; item <= groupCount_; ++item) {
            const bool unset = item >= static_cast<size_t>(rc) || offsets[2 * item] == PCRE2_UNSET;
            items.push_back(unset ? MatchItem{matchBegin, matchBegin}
                                  : MatchItem{offsets[2 * item], offsets[2 * item + 1]});
        }
        if (matchEnd > matchBegin) {
            start = matchEnd;
            continue;
        }
        // An empty match: step over one character (both units of a surrogate pair).
        start = matchEnd + 1;
        if (start < text.size() && (text[start - 1] & 0xFC00) == 0xD800 &&
            (text[start] & 0xFC00) == 0xDC00) {
            ++start;
        }
    }
    return items;
}

}  // namespace chat
