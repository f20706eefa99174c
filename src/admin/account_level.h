#pragma once
// The role flag word of an account and of every chatter record, and the role tables that turn it
// into a name, a colour and a place in the chatter list. Bits 0x20 and 0x40 have meaning only in
// a chatter record of a given room (the user's own record there or another chatter's).
#include <cstdint>
#include <string_view>

namespace chat {

namespace AccountLevel {
inline constexpr uint32_t kVip = 0x01;
inline constexpr uint32_t kCustomerService = 0x02;
inline constexpr uint32_t kSystemAdmin = 0x04;
inline constexpr uint32_t kCompanyStaff = 0x08;
inline constexpr uint32_t kInstructor = 0x10;
inline constexpr uint32_t kRoomOwner = 0x20;
inline constexpr uint32_t kRoomAdmin = 0x40;
// Customer service or system administrator: sees every chatter's addresses, may ask anybody for a
// private chat.
inline constexpr uint32_t kStaff = kCustomerService | kSystemAdmin;
// The bits the account-level dialog edits.
inline constexpr uint32_t kAccountScope =
    kCustomerService | kSystemAdmin | kCompanyStaff | kInstructor;
}  // namespace AccountLevel

struct RoleColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const RoleColour&, const RoleColour&) = default;
};

// The name of the first role (in table order 0x02, 0x10, 0x20, 0x40, 0x04, 0x01) set in `flags`;
// empty when none is. UTF-8.
std::string_view roleName(uint32_t flags);
// The colour of the same role; black when none is set.
RoleColour roleColour(uint32_t flags);
// Chatter list order by role: for each bit of 0x20, 0x02, 0x40, 0x04, 0x10, 0x01 in turn, the
// record that has it goes first. Negative: a first; positive: b first; 0: same roles for this
// order (the nicknames decide).
int compareRoles(uint32_t a, uint32_t b);

}  // namespace chat
