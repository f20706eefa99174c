#pragma once
// The rules of the two administration menus (the chatter list's context menu and the room
// settings menu) and the checks each command repeats when it runs. Pure functions: the windows
// gather the facts, these decide which items exist, which are greyed and what they say.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "admin/rights_list.h"

namespace chat {

namespace MenuCommand {
// Chatter context menu.
inline constexpr int kPrivateChat = 40007;
inline constexpr int kFilterChatter = 40005;
inline constexpr int kChatterHistory = 40023;
inline constexpr int kRoomHistory = 40024;
inline constexpr int kKick = 40006;
inline constexpr int kMute = 40066;
inline constexpr int kDetails = 40016;
inline constexpr int kRightsManagement = 40053;
inline constexpr int kResetNickName = 40055;
inline constexpr int kVipGift = 40058;
inline constexpr int kRandomVip = 40059;
// Room settings menu.
inline constexpr int kRoomProperties = 40064;
inline constexpr int kRoomLimits = 40068;
inline constexpr int kAccessRoles = 40076;
inline constexpr int kAffiche = 1028;
inline constexpr int kPeriodInfo = 40010;
inline constexpr int kRoomAdmins = 40070;
inline constexpr int kRoomOwners = 40072;
inline constexpr int kSystemMessage = 40020;
inline constexpr int kNotifyRoomList = 40014;
inline constexpr int kNotifyKeywords = 40025;
inline constexpr int kNotifyNickNames = 40026;
}  // namespace MenuCommand

inline constexpr std::string_view kFilterChatterText = "屏蔽此人聊天内容(&D)";
inline constexpr std::string_view kUnfilterChatterText = "允许此人聊天内容(&D)";
inline constexpr std::string_view kNoRoomRightsMessage = "抱歉，您没有设置本房间的任何权限。";

struct MenuItem {
    int id = 0;  // 0: a separator
    std::string_view text;
    bool greyed = false;

    bool isSeparator() const { return id == 0; }
};

// The local user in one room.
struct RoomRoleFacts {
    bool mySys = false;        // own account level has 0x04
    bool myCS = false;         // own account level has 0x02
    bool myOwner = false;      // own record in this room has 0x20
    bool myAdmin = false;      // own record in this room has 0x40
    std::set<int32_t> rights;  // the right codes granted for this room

    static RoomRoleFacts of(uint32_t accountLevel, uint32_t ownRoomFlags, const RightsList& rights,
                            int32_t roomId);
    bool has(RoomRight right) const { return rights.contains(static_cast<int32_t>(right)); }
    // Staff, the room's owner, or right 10007 in this room.
    bool canViewAddresses() const;
};

// The chatter that was right-clicked.
struct ClickedChatter {
    uint32_t flags = 0;  // role flags of its record in this room
    bool isSelf = false;
    bool blackListed = false;  // its account is on the user's black list
    std::string account;       // GBK, as in its record
    std::u16string nickname;
};

// Items in menu order; removed items are absent. Empty: show nothing.
std::vector<MenuItem> chatterMenu(const RoomRoleFacts& me, const ClickedChatter& chatter,
                                  bool isPrivateRoom);

struct RoomSettingsMenu {
    enum class Outcome {
        Hidden,    // the user is neither system administrator, owner nor administrator here
        NoRights,  // nothing left: show kNoRoomRightsMessage (error icon, no caption)
        Shown,
    };
    Outcome outcome = Outcome::Hidden;
    std::vector<MenuItem> items;
};

RoomSettingsMenu roomSettingsMenu(const RoomRoleFacts& me);

// The selected chatter when a chatter menu command runs.
struct SelectedChatter {
    bool isSelf = false;
    uint32_t flags = 0;
};

// Checks a chatter menu command repeats before it acts; every command needs a selection.
bool mayRunChatterCommand(int command, const RoomRoleFacts& me,
                          const std::optional<SelectedChatter>& selected);
// Checks a room settings command repeats before it acts. `liveAccountLevel` is the account level
// at this moment (the notify commands test it rather than the facts taken earlier).
bool mayRunRoomCommand(int command, const RoomRoleFacts& me, uint32_t liveAccountLevel);

}  // namespace chat
