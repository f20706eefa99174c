#pragma once
// The administration dialogs that wait for a server reply. The chat client keeps at most one
// object of each kind; opening a dialog of a kind replaces (and so destroys) the previous one, and
// a reply whose slot is empty is dropped.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "admin/rights_list.h"
#include "admin/room_limit.h"
#include "protocol/commands/admin_blocks.h"

namespace chat {

class RoomLimitsDialog {
  public:
    virtual ~RoomLimitsDialog() = default;
    virtual void showRoomLimits(const RoomLimitList& limits) = 0;
};

class RoomAdminsDialog {
  public:
    virtual ~RoomAdminsDialog() = default;
    // Account (GBK) -> AccountLevel.
    virtual void showRoomAdmins(const std::map<std::string, uint32_t>& admins) = 0;
};

class RoomOwnersDialog {
  public:
    virtual ~RoomOwnersDialog() = default;
    virtual void showRoomOwners(const RoomOwnerBlock& room,
                                const std::vector<std::string>& owners) = 0;
};

class RightsGrantDialog {
  public:
    virtual ~RightsGrantDialog() = default;
    // The account (GBK) whose rights the dialog shows; replies for other accounts are not its.
    virtual const std::string& account() const = 0;
    virtual void showUserRights(const UserRightsBlock& block, const RightsList& rights) = 0;
};

class AllowedRolesDialog {
  public:
    virtual ~AllowedRolesDialog() = default;
    virtual void showAllowedRoles(uint32_t allowLevel) = 0;
};

struct AdminDialogSlots {
    std::unique_ptr<RoomLimitsDialog> roomLimits;
    std::unique_ptr<RoomAdminsDialog> roomAdmins;
    std::unique_ptr<RoomOwnersDialog> roomOwners;
    std::unique_ptr<RightsGrantDialog> rightsGrant;
    std::unique_ptr<AllowedRolesDialog> allowedRoles;
};

}  // namespace chat
