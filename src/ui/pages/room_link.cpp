#include "ui/pages/room_link.h"

#include <limits>

namespace chat {

RoomLinkDecision decideRoomLink(std::u16string_view address) {
    constexpr std::u16string_view kRoomMark = u"?room=";
    const size_t mark = address.find(kRoomMark);
    if (mark == std::u16string_view::npos) {
        return {};
    }
    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    int64_t room = 0;
    for (size_t i = mark + kRoomMark.size(); i < address.size(); ++i) {
        const char16_t c = address[i];
        if (c < u'0' || c > u'9') {
            break;
        }
        room = std::min(room * 10 + (c - u'0'), kLargest);
    }
    return {false, static_cast<int32_t>(room)};
}

}  // namespace chat
