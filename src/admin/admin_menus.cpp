#include "admin/admin_menus.h"

#include <algorithm>
#include <array>
#include <utility>

#include "admin/account_level.h"
#include "util/text_codec.h"

namespace chat {

namespace {

using namespace MenuCommand;

constexpr MenuItem kSeparator{};

const std::vector<MenuItem>& chatterMenuTemplate() {
    static const std::vector<MenuItem> items{
        {kPrivateChat, "请求私聊(&P)"},
        kSeparator,
        {kFilterChatter, kFilterChatterText},
        {kChatterHistory, "查看此人历史消息(&H)"},
        {kRoomHistory, "查看全部历史消息(&A)"},
        kSeparator,
        {kKick, "踢出此人(&K)..."},
        {kMute, "对用户禁言(&S)"},
        {kDetails, "查看详细信息(&I)"},
        {kRightsManagement, "权限管理(&M)..."},
        {kResetNickName, "重置此人昵称(&N)"},
        kSeparator,
        {kVipGift, "赠与临时VIP(&V)"},
        {kRandomVip, "服务端随机抽取VIP"},
    };
    return items;
}

const std::vector<MenuItem>& roomSettingsMenuTemplate() {
    static const std::vector<MenuItem> items{
        {kRoomProperties, "房间基本属性设置(&S)..."},
        {kRoomLimits, "房间黑名单限制(&L)..."},
        {kAccessRoles, "房间角色设置(&R)..."},
        {kAffiche, "房间公告(&A)..."},
        {kPeriodInfo, "房间滚动消息(&P)..."},
        kSeparator,
        {kRoomAdmins, "房间管理员(&M)..."},
        {kRoomOwners, "房主管理(&O)..."},
        kSeparator,
        {kSystemMessage, "全服系统消息(&F)..."},
        kSeparator,
        {kNotifyRoomList, "通知服务器：房间列表已更新(&N)"},
        {kNotifyKeywords, "通知服务器：聊天过滤关键词已更新(&C)"},
        {kNotifyNickNames, "通知服务器：非法昵称关键词已更新(&K)"},
    };
    return items;
}

// The five room items and the right an administrator needs for each.
constexpr std::array<std::pair<int, RoomRight>, 5> kRoomItemRights{{
    {kRoomProperties, RoomRight::RoomProperties},
    {kRoomLimits, RoomRight::RoomBlackList},
    {kAccessRoles, RoomRight::RoomAccessRoles},
    {kAffiche, RoomRight::RoomAffiche},
    {kPeriodInfo, RoomRight::RoomPeriodInfo},
}};

void remove(std::vector<MenuItem>& items, int id) {
    std::erase_if(items, [id](const MenuItem& item) { return item.id == id; });
}

MenuItem* find(std::vector<MenuItem>& items, int id) {
    const auto at = std::find_if(items.begin(), items.end(),
                                 [id](const MenuItem& item) { return item.id == id; });
    return at == items.end() ? nullptr : &*at;
}

void grey(std::vector<MenuItem>& items, int id, bool greyed = true) {
    if (MenuItem* item = find(items, id)) {
        item->greyed = greyed;
    }
}

void removeTrailingSeparators(std::vector<MenuItem>& items) {
    while (!items.empty() && items.back().isSeparator()) {
        items.pop_back();
    }
}

// No separator first, last or after another one.
void tidySeparators(std::vector<MenuItem>& items) {
    std::vector<MenuItem> tidy;
    for (const MenuItem& item : items) {
        if (item.isSeparator() && (tidy.empty() || tidy.back().isSeparator())) {
            continue;
        }
        tidy.push_back(item);
    }
    removeTrailingSeparators(tidy);
    items = std::move(tidy);
}

bool anyRole(const RoomRoleFacts& me, uint32_t targetFlags) {
    using namespace AccountLevel;
    return me.mySys || me.myCS || me.myOwner || me.myAdmin ||
           (targetFlags & (kSystemAdmin | kCustomerService | kRoomOwner | kRoomAdmin)) != 0;
}

bool mayKick(const RoomRoleFacts& me, uint32_t targetFlags) {
    using namespace AccountLevel;
    const bool protectedTarget =
        (targetFlags & (kSystemAdmin | kCustomerService | kRoomOwner | kRoomAdmin)) != 0;
    return !protectedTarget || (me.myOwner && (targetFlags & kRoomAdmin) != 0);
}

bool ownerOrAdminWith(const RoomRoleFacts& me, RoomRight right) {
    return me.myOwner || (me.myAdmin && me.has(right));
}

}  // namespace

RoomRoleFacts RoomRoleFacts::of(uint32_t accountLevel, uint32_t ownRoomFlags,
                                const RightsList& rights, int32_t roomId) {
    RoomRoleFacts facts;
    facts.mySys = (accountLevel & AccountLevel::kSystemAdmin) != 0;
    facts.myCS = (accountLevel & AccountLevel::kCustomerService) != 0;
    facts.myOwner = (ownRoomFlags & AccountLevel::kRoomOwner) != 0;
    facts.myAdmin = (ownRoomFlags & AccountLevel::kRoomAdmin) != 0;
    if (const auto room = rights.rooms().find(roomId); room != rights.rooms().end()) {
        facts.rights = room->second;
    }
    return facts;
}

bool RoomRoleFacts::canViewAddresses() const {
    return mySys || myCS || myOwner || has(RoomRight::ViewChatterAddress);
}

std::vector<MenuItem> chatterMenu(const RoomRoleFacts& me, const ClickedChatter& chatter,
                                  bool isPrivateRoom) {
    std::vector<MenuItem> items = chatterMenuTemplate();
    if (!me.mySys) {
        remove(items, kRightsManagement);
        remove(items, kVipGift);
        remove(items, kRandomVip);
    }
    if (!me.myOwner) {
        if (!me.has(RoomRight::KickChatter)) {
            remove(items, kKick);
        }
        if (!me.has(RoomRight::ResetNickName)) {
            remove(items, kResetNickName);
        }
        if (!me.has(RoomRight::RoomBlackList)) {
            remove(items, kMute);
        }
        if (!me.mySys && !me.myCS && !chatter.isSelf && !me.has(RoomRight::ViewChatterAddress)) {
            remove(items, kDetails);
        }
    }
    if (chatter.isSelf) {
        for (const int id : {kKick, kFilterChatter, kPrivateChat, kResetNickName, kMute}) {
            grey(items, id);
        }
    } else {
        grey(items, kPrivateChat, isPrivateRoom || !anyRole(me, chatter.flags));
        const bool kick = mayKick(me, chatter.flags);
        grey(items, kKick, !kick);
        grey(items, kResetNickName, !kick || chatter.account == utf16ToGbk(chatter.nickname));
        if (MenuItem* filter = find(items, kFilterChatter)) {
            filter->text = chatter.blackListed ? kUnfilterChatterText : kFilterChatterText;
            filter->greyed = isPrivateRoom;
        }
    }
    removeTrailingSeparators(items);
    return items;
}

RoomSettingsMenu roomSettingsMenu(const RoomRoleFacts& me) {
    if (!me.mySys && !me.myOwner && !me.myAdmin) {
        return {};
    }
    std::vector<MenuItem> items = roomSettingsMenuTemplate();
    if (!me.mySys) {
        for (const int id :
             {kSystemMessage, kRoomOwners, kNotifyRoomList, kNotifyKeywords, kNotifyNickNames}) {
            remove(items, id);
        }
    }
    if (!me.myOwner) {
        remove(items, kRoomAdmins);
    }
    for (const auto& [id, right] : kRoomItemRights) {
        if (!ownerOrAdminWith(me, right)) {
            remove(items, id);
        }
    }
    tidySeparators(items);
    if (items.empty()) {
        return {RoomSettingsMenu::Outcome::NoRights, {}};
    }
    return {RoomSettingsMenu::Outcome::Shown, std::move(items)};
}

bool mayRunChatterCommand(int command, const RoomRoleFacts& me,
                          const std::optional<SelectedChatter>& selected) {
    if (!selected) {
        return false;
    }
    switch (command) {
        case kKick:
            return me.myOwner || me.has(RoomRight::KickChatter);
        case kPrivateChat:
            return !selected->isSelf && anyRole(me, selected->flags);
        case kMute:
            return !selected->isSelf;
        case kVipGift:
            return selected->flags == 0;
        default:
            return true;
    }
}

bool mayRunRoomCommand(int command, const RoomRoleFacts& me, uint32_t liveAccountLevel) {
    for (const auto& [id, right] : kRoomItemRights) {
        if (id == command && id != kRoomProperties) {
            return ownerOrAdminWith(me, right);
        }
    }
    switch (command) {
        case kRoomAdmins:
            return me.myOwner;
        case kRoomOwners:
        case kSystemMessage:
            return me.mySys;
        case kNotifyRoomList:
        case kNotifyKeywords:
        case kNotifyNickNames:
            return (liveAccountLevel & AccountLevel::kSystemAdmin) != 0;
        default:
            return true;
    }
}

}  // namespace chat
