#include "admin/account_level.h"

#include <array>

namespace chat {

namespace {

struct Role {
    uint32_t bit;
    std::string_view name;
    RoleColour colour;
};

constexpr std::array<Role, 6> kRoleTable{{
    {AccountLevel::kCustomerService, "客服", {255, 128, 0}},
    {AccountLevel::kInstructor, "Morvex指导员", {128, 0, 128}},
    {AccountLevel::kRoomOwner, "房主", {0, 128, 0}},
    {AccountLevel::kRoomAdmin, "房间管理员", {0, 128, 0}},
    {AccountLevel::kSystemAdmin, "系统管理员", {0, 128, 128}},
    {AccountLevel::kVip, "VIP", {255, 0, 0}},
}};

constexpr std::array<uint32_t, 6> kRoleSortOrder{
    AccountLevel::kRoomOwner,   AccountLevel::kCustomerService, AccountLevel::kRoomAdmin,
    AccountLevel::kSystemAdmin, AccountLevel::kInstructor,      AccountLevel::kVip,
};

const Role* firstRole(uint32_t flags) {
    for (const Role& role : kRoleTable) {
        if (flags & role.bit) {
            return &role;
        }
    }
    return nullptr;
}

}  // namespace

std::string_view roleName(uint32_t flags) {
    const Role* role = firstRole(flags);
    return role ? role->name : std::string_view{};
}

RoleColour roleColour(uint32_t flags) {
    const Role* role = firstRole(flags);
    return role ? role->colour : RoleColour{};
}

int compareRoles(uint32_t a, uint32_t b) {
    for (const uint32_t bit : kRoleSortOrder) {
        const bool aHas = (a & bit) != 0;
        const bool bHas = (b & bit) != 0;
        if (aHas != bHas) {
            return aHas ? -1 : 1;
        }
        if (aHas) {
            return 0;
        }
    }
    return 0;
}

}  // namespace chat
