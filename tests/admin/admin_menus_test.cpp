#include "admin/admin_menus.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "admin/account_level.h"

namespace {

using namespace chat;
using namespace chat::AccountLevel;

// "40007* | 40005 40023": ids in order, "*" for a greyed item, "|" for a separator.
std::string render(const std::vector<MenuItem>& items) {
    std::string text;
    for (const MenuItem& item : items) {
        if (!text.empty()) {
            text += ' ';
        }
        text += item.isSeparator() ? "|" : std::to_string(item.id) + (item.greyed ? "*" : "");
    }
    return text;
}

std::string render(const RoomSettingsMenu& menu) {
    switch (menu.outcome) {
        case RoomSettingsMenu::Outcome::Hidden:
            return "hidden";
        case RoomSettingsMenu::Outcome::NoRights:
            return "no rights";
        case RoomSettingsMenu::Outcome::Shown:
            break;
    }
    return render(menu.items);
}

constexpr int32_t kRoom = 5;

RoomRoleFacts me(uint32_t accountLevel, uint32_t ownRoomFlags,
                 std::vector<int32_t> rightsInRoom5 = {}, int32_t factsRoom = kRoom) {
    RightsList rights;
    for (const int32_t code : rightsInRoom5) {
        rights.grant(code, kRoom);
    }
    return RoomRoleFacts::of(accountLevel, ownRoomFlags, rights, factsRoom);
}

ClickedChatter chatter(uint32_t flags, bool isSelf = false) {
    return {flags, isSelf, false, "acc", u"nick"};
}

enum class Menu { Chatter, RoomSettings };

struct MenuCase {
    const char* name;
    Menu menu;
    RoomRoleFacts me;
    ClickedChatter clicked;  // chatter menu only
    bool isPrivate;          // chatter menu only
    std::string expected;
};

void PrintTo(const MenuCase& c, std::ostream* out) {
    *out << c.name;
}

class AdminMenuCases : public ::testing::TestWithParam<MenuCase> {};

TEST_P(AdminMenuCases, BuildsTheMenu) {
    const MenuCase& c = GetParam();
    const std::string built = c.menu == Menu::Chatter
                                  ? render(chatterMenu(c.me, c.clicked, c.isPrivate))
                                  : render(roomSettingsMenu(c.me));
    EXPECT_EQ(built, c.expected);
}

const ClickedChatter kNobody{};

INSTANTIATE_TEST_SUITE_P(
    Rights, AdminMenuCases,
    ::testing::Values(
        // Chatter context menu.
        MenuCase{"UserOnUser", Menu::Chatter, me(0, 0), chatter(0), false,
                 "40007* | 40005 40023 40024"},
        MenuCase{"UserMayAskStaffForPrivateChat", Menu::Chatter, me(0, 0),
                 chatter(kCustomerService), false, "40007 | 40005 40023 40024"},
        MenuCase{"NoPrivateChatInPrivateRoom", Menu::Chatter, me(kCustomerService, 0), chatter(0),
                 true, "40007* | 40005* 40023 40024 | 40016"},
        MenuCase{"UserOnSelf", Menu::Chatter, me(0, 0), chatter(0, true), false,
                 "40007* | 40005* 40023 40024 | 40016"},
        MenuCase{"KickRightOnAdminIsGreyed", Menu::Chatter, me(0, 0, {10003}), chatter(kRoomAdmin),
                 false, "40007 | 40005 40023 40024 | 40006*"},
        MenuCase{"KickRightOnUserIsEnabled", Menu::Chatter, me(0, 0, {10003}), chatter(0), false,
                 "40007* | 40005 40023 40024 | 40006"},
        MenuCase{"KickRightOfAnotherRoomIsAbsent", Menu::Chatter, me(0, 0, {10003}, 6), chatter(0),
                 false, "40007* | 40005 40023 40024"},
        MenuCase{"OwnerOnAdmin", Menu::Chatter, me(0, kRoomOwner), chatter(kRoomAdmin), false,
                 "40007 | 40005 40023 40024 | 40006 40066 40016 40055"},
        MenuCase{"OwnerOnOwner", Menu::Chatter, me(0, kRoomOwner), chatter(kRoomOwner), false,
                 "40007 | 40005 40023 40024 | 40006* 40066 40016 40055*"},
        MenuCase{"OwnerOnStaff", Menu::Chatter, me(0, kRoomOwner), chatter(kSystemAdmin), false,
                 "40007 | 40005 40023 40024 | 40006* 40066 40016 40055*"},
        MenuCase{"NickNameEqualToAccountCannotBeReset", Menu::Chatter, me(0, kRoomOwner),
                 ClickedChatter{0, false, false, "same", u"same"}, false,
                 "40007 | 40005 40023 40024 | 40006 40066 40016 40055*"},
        MenuCase{"RightsGiveTheirItems", Menu::Chatter, me(0, kRoomAdmin, {10001, 10006, 10007}),
                 chatter(0), false, "40007 | 40005 40023 40024 | 40066 40016 40055"},
        MenuCase{"SystemAdminOnUser", Menu::Chatter, me(kSystemAdmin, 0), chatter(0), false,
                 "40007 | 40005 40023 40024 | 40016 40053 | 40058 40059"},
        MenuCase{"SystemAdminOnSelf", Menu::Chatter, me(kSystemAdmin, 0), chatter(0, true), false,
                 "40007* | 40005* 40023 40024 | 40016 40053 | 40058 40059"},
        MenuCase{"CustomerServiceSeesDetails", Menu::Chatter, me(kCustomerService, 0), chatter(0),
                 false, "40007 | 40005 40023 40024 | 40016"},
        // Room settings menu.
        MenuCase{"UserHasNoRoomMenu", Menu::RoomSettings, me(kCustomerService, 0), kNobody, false,
                 "hidden"},
        MenuCase{"SystemAdminWithoutRoomRole", Menu::RoomSettings, me(kSystemAdmin, 0), kNobody,
                 false, "40072 | 40020 | 40014 40025 40026"},
        MenuCase{"Owner", Menu::RoomSettings, me(0, kRoomOwner), kNobody, false,
                 "40064 40068 40076 1028 40010 | 40070"},
        MenuCase{"SystemAdminAndOwner", Menu::RoomSettings, me(kSystemAdmin, kRoomOwner), kNobody,
                 false, "40064 40068 40076 1028 40010 | 40070 40072 | 40020 | 40014 40025 40026"},
        MenuCase{"AdminWithAfficheRight", Menu::RoomSettings, me(0, kRoomAdmin, {10004}), kNobody,
                 false, "1028"},
        MenuCase{"AdminWithAllRoomRights", Menu::RoomSettings,
                 me(0, kRoomAdmin, {10000, 10001, 10002, 10004, 10005}), kNobody, false,
                 "40064 40068 40076 1028 40010"},
        MenuCase{"AdminWithoutRights", Menu::RoomSettings, me(0, kRoomAdmin), kNobody, false,
                 "no rights"},
        MenuCase{"AdminWithRightsOfAnotherRoom", Menu::RoomSettings, me(0, kRoomAdmin, {10004}, 6),
                 kNobody, false, "no rights"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(AdminMenus, FilterItemSaysWhetherTheChatterIsHidden) {
    ClickedChatter hidden = chatter(0);
    hidden.blackListed = true;
    const auto items = chatterMenu(me(0, 0), hidden, false);
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[2].id, MenuCommand::kFilterChatter);
    EXPECT_EQ(items[2].text, "允许此人聊天内容(&D)");
    EXPECT_EQ(chatterMenu(me(0, 0), chatter(0), false)[2].text, "屏蔽此人聊天内容(&D)");
}

TEST(AdminMenus, CanViewAddresses) {
    EXPECT_FALSE(me(0, kRoomAdmin).canViewAddresses());
    EXPECT_TRUE(me(kCustomerService, 0).canViewAddresses());
    EXPECT_TRUE(me(kSystemAdmin, 0).canViewAddresses());
    EXPECT_TRUE(me(0, kRoomOwner).canViewAddresses());
    EXPECT_TRUE(me(0, 0, {10007}).canViewAddresses());
    EXPECT_FALSE(me(0, 0, {10007}, 6).canViewAddresses());
}

struct RecheckCase {
    const char* name;
    Menu menu;
    int command;
    RoomRoleFacts me;
    std::optional<SelectedChatter> selected;
    uint32_t liveLevel;
    bool allowed;
};

void PrintTo(const RecheckCase& c, std::ostream* out) {
    *out << c.name;
}

class RecheckCases : public ::testing::TestWithParam<RecheckCase> {};

TEST_P(RecheckCases, RepeatsTheCheckWhenTheCommandRuns) {
    const RecheckCase& c = GetParam();
    const bool allowed = c.menu == Menu::Chatter ? mayRunChatterCommand(c.command, c.me, c.selected)
                                                 : mayRunRoomCommand(c.command, c.me, c.liveLevel);
    EXPECT_EQ(allowed, c.allowed);
}

const SelectedChatter kOther{false, 0};
const SelectedChatter kSelf{true, 0};
const SelectedChatter kStaffChatter{false, kCustomerService};

INSTANTIATE_TEST_SUITE_P(
    Rights, RecheckCases,
    ::testing::Values(
        RecheckCase{"KickNeedsSelection", Menu::Chatter, 40006, me(0, kRoomOwner), std::nullopt, 0,
                    false},
        RecheckCase{"KickByOwner", Menu::Chatter, 40006, me(0, kRoomOwner), kOther, 0, true},
        RecheckCase{"KickByRight", Menu::Chatter, 40006, me(0, 0, {10003}), kOther, 0, true},
        RecheckCase{"KickWithoutRight", Menu::Chatter, 40006, me(0, kRoomAdmin), kOther, 0, false},
        RecheckCase{"PrivateChatWithSelf", Menu::Chatter, 40007, me(kSystemAdmin, 0), kSelf, 0,
                    false},
        RecheckCase{"PrivateChatUserToUser", Menu::Chatter, 40007, me(0, 0), kOther, 0, false},
        RecheckCase{"PrivateChatUserToStaff", Menu::Chatter, 40007, me(0, 0), kStaffChatter, 0,
                    true},
        RecheckCase{"MuteSelf", Menu::Chatter, 40066, me(0, kRoomOwner), kSelf, 0, false},
        RecheckCase{"VipGiftToRoleHolder", Menu::Chatter, 40058, me(kSystemAdmin, 0), kStaffChatter,
                    0, false},
        RecheckCase{"VipGiftToUser", Menu::Chatter, 40058, me(kSystemAdmin, 0), kOther, 0, true},
        RecheckCase{"AfficheByAdminWithRight",
                    Menu::RoomSettings,
                    1028,
                    me(0, kRoomAdmin, {10004}),
                    {},
                    0,
                    true},
        RecheckCase{
            "AfficheBySystemAdmin", Menu::RoomSettings, 1028, me(kSystemAdmin, 0), {}, 0, false},
        RecheckCase{"PeriodInfoByAdminWithoutRight",
                    Menu::RoomSettings,
                    40010,
                    me(0, kRoomAdmin, {10004}),
                    {},
                    0,
                    false},
        RecheckCase{"RoomLimitsByAdminWithRight",
                    Menu::RoomSettings,
                    40068,
                    me(0, kRoomAdmin, {10001}),
                    {},
                    0,
                    true},
        RecheckCase{
            "AccessRolesByOwner", Menu::RoomSettings, 40076, me(0, kRoomOwner), {}, 0, true},
        RecheckCase{
            "RoomAdminsByAdmin", Menu::RoomSettings, 40070, me(0, kRoomAdmin), {}, 0, false},
        RecheckCase{
            "RoomOwnersBySystemAdmin", Menu::RoomSettings, 40072, me(kSystemAdmin, 0), {}, 0, true},
        RecheckCase{
            "SystemMessageByOwner", Menu::RoomSettings, 40020, me(0, kRoomOwner), {}, 0, false},
        RecheckCase{
            "NotifyUsesTheLiveLevel", Menu::RoomSettings, 40014, me(kSystemAdmin, 0), {}, 0, false},
        RecheckCase{"NotifyWithLiveSystemAdmin",
                    Menu::RoomSettings,
                    40026,
                    me(0, 0),
                    {},
                    kSystemAdmin,
                    true}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
