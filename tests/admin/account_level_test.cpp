#include "admin/account_level.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace chat;

struct RoleCase {
    uint32_t flags;
    std::string_view name;
    RoleColour colour;
};

class RoleTableCases : public ::testing::TestWithParam<RoleCase> {};

TEST_P(RoleTableCases, FirstRoleInTableOrderWins) {
    const RoleCase& c = GetParam();
    EXPECT_EQ(roleName(c.flags), c.name);
    EXPECT_EQ(roleColour(c.flags), c.colour);
}

INSTANTIATE_TEST_SUITE_P(AccountLevel, RoleTableCases,
                         ::testing::Values(RoleCase{0x00, "", {0, 0, 0}},
                                           RoleCase{0x08, "", {0, 0, 0}},
                                           RoleCase{0x01, "VIP", {255, 0, 0}},
                                           RoleCase{0x04 | 0x01, "系统管理员", {0, 128, 128}},
                                           RoleCase{0x40 | 0x04, "房间管理员", {0, 128, 0}},
                                           RoleCase{0x20 | 0x40, "房主", {0, 128, 0}},
                                           RoleCase{0x10 | 0x20, "Morvex指导员", {128, 0, 128}},
                                           RoleCase{0x02 | 0x10 | 0x7D, "客服", {255, 128, 0}}));

TEST(AccountLevel, RolesSortOwnerFirstThenServiceAdminSystemInstructorVip) {
    EXPECT_LT(compareRoles(0x20, 0x02), 0);
    EXPECT_LT(compareRoles(0x02, 0x40), 0);
    EXPECT_LT(compareRoles(0x40, 0x04), 0);
    EXPECT_LT(compareRoles(0x04, 0x10), 0);
    EXPECT_LT(compareRoles(0x10, 0x01), 0);
    EXPECT_LT(compareRoles(0x01, 0x00), 0);
    EXPECT_EQ(compareRoles(0x00, 0x08), 0);         // bit 0x08 has no rank
    EXPECT_EQ(compareRoles(0x20 | 0x01, 0x20), 0);  // both owners: the nicknames decide
    EXPECT_GT(compareRoles(0x02, 0x20 | 0x01), 0);
}

}  // namespace
