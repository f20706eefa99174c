#include "client/announcement_links.h"

#include <exception>

#include "client/regex_pattern.h"

namespace chat {
namespace {

const RegexPattern& linkPattern() {
    static const RegexPattern pattern(kAnnouncementLinkPattern);
    return pattern;
}

std::u16string_view itemText(std::u16string_view text, const MatchItem& item) {
    return text.substr(item.begin, item.end - item.begin);
}

}  // namespace

AnnouncementContent parseAnnouncement(std::u16string_view announcement) try {
    const RegexPattern& pattern = linkPattern();
    const size_t perMatch = 1 + pattern.groupCount();
    const std::vector<MatchItem> items = pattern.matchAll(announcement);

    AnnouncementContent content;
    size_t copied = 0;
    for (size_t first = 0; first + perMatch <= items.size(); first += perMatch) {
        const MatchItem& whole = items[first];
        const MatchItem& target = items[first + 1];
        const MatchItem& shown = items[first + 2];
        content.text.append(announcement.substr(copied, whole.begin - copied));
        AnnouncementLink link;
        link.begin = content.text.size();
        content.text.append(itemText(announcement, shown));
        link.end = content.text.size();
        link.target = std::u16string(itemText(announcement, target));
        content.links.push_back(std::move(link));
        copied = whole.end;
    }
    content.text.append(announcement.substr(copied));
    return content;
} catch (const std::exception&) {
    return AnnouncementContent{std::u16string(announcement), {}};
}

const AnnouncementLink* linkAt(const AnnouncementContent& content, size_t position) {
    for (const AnnouncementLink& link : content.links) {
        if (position >= link.begin && position < link.end) {
            return &link;
        }
    }
    return nullptr;
}

}  // namespace chat
