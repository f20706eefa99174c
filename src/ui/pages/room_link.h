#pragma once
// What the room selection page does with an address it is about to open: a room link
// ("...?room=N") is never followed, and enters room N when N is above 0.
#include <cstdint>
#include <string_view>

namespace chat {

struct RoomLinkDecision {
    bool navigate = true;
    int32_t roomToEnter = 0;  // 0: none
    bool operator==(const RoomLinkDecision&) const = default;
};

// The number after the first "?room=" is its leading decimal digits (0 when there are none,
// clamped to the largest room id).
RoomLinkDecision decideRoomLink(std::u16string_view address);

}  // namespace chat
