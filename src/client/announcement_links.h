#pragma once
// A room's announcement as its pane shows it: anchor elements of the server's text become links
// whose shown text stays in place and whose tags disappear; everything else is shown unchanged.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace chat {

// The shown text [begin, end) (UTF-16 units of AnnouncementContent::text) opens `target`.
struct AnnouncementLink {
    size_t begin = 0;
    size_t end = 0;
    std::u16string target;

    bool operator==(const AnnouncementLink&) const = default;
};

struct AnnouncementContent {
    std::u16string text;
    std::vector<AnnouncementLink> links;  // in text order
};

// Every match of kAnnouncementLinkPattern turns into its group 2 (shown) linking to its group 1.
// When the links cannot be worked out, the text is shown unchanged, tags included.
AnnouncementContent parseAnnouncement(std::u16string_view announcement);

// The link that covers `position`, nullptr when there is none.
const AnnouncementLink* linkAt(const AnnouncementContent& content, size_t position);

}  // namespace chat
