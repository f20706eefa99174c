#pragma once
// A compiled pattern (PCRE2, Perl syntax, UTF-16) and the search for all its matches. The
// announcement pane turns each match of `kAnnouncementLinkPattern` into a link whose target is
// group 1 and whose visible text is group 2.
//
// Patterns are compiled case-insensitive (an announcement may write <A HREF=...>), with "." also
// matching line breaks (a link text may span lines), in UTF mode; texts that are not valid UTF-16
// (lone surrogates) are still searched, the invalid units simply never match.
#include <cstddef>
#include <string_view>
#include <vector>

struct pcre2_real_code_16;

namespace chat {

inline constexpr std::u16string_view kAnnouncementLinkPattern =
    u"<a\\s+href\\s*=\\s*\"(.+?)\".*?>(.+?)</a>";

// One item of a match: the units [begin, end) of the searched text.
struct MatchItem {
    size_t begin = 0;
    size_t end = 0;
};

class RegexPattern {
  public:
    // Throws std::invalid_argument with PCRE2's message when the pattern does not compile.
    explicit RegexPattern(std::u16string_view pattern);
    ~RegexPattern();
    RegexPattern(const RegexPattern&) = delete;
    RegexPattern& operator=(const RegexPattern&) = delete;

    // All non-overlapping matches, left to right. Each match gives 1 + groupCount() items: the
    // whole match, then each group in order (a group that took no part is an empty item at the
    // start of its match). Empty when nothing matches. A search that exceeds PCRE2's match limit
    // ends with the matches found so far.
    std::vector<MatchItem> matchAll(std::u16string_view text) const;
    size_t groupCount() const { return groupCount_; }

  private:
    pcre2_real_code_16* code_ = nullptr;
    size_t groupCount_ = 0;
};

}  // namespace chat
