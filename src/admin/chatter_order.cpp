#include "admin/chatter_order.h"

#include "admin/account_level.h"
#include "util/text_codec.h"

namespace chat {

int compareChatters(uint32_t a, uint32_t b, uint32_t localChatterId,
                    const std::map<uint32_t, ChatterRecord>& chatters) {
    // Every row compares equal to itself, so the order stays a strict weak order for sorting.
    if (a == b) {
        return 0;
    }
    if (a == localChatterId) {
        return -1;
    }
    if (b == localChatterId) {
        return 1;
    }
    const auto first = chatters.find(a);
    const auto second = chatters.find(b);
    if (first == chatters.end() || second == chatters.end()) {
        return (first == chatters.end()) - (second == chatters.end());
    }
    if (const int byRole = compareRoles(first->second.roleFlags, second->second.roleFlags)) {
        return byRole;
    }
    // char16_t is unsigned: the standard comparison is the ordinal one.
    const int byName = first->second.nickname.compare(second->second.nickname);
    return (byName > 0) - (byName < 0);
}

std::string dottedIp(uint32_t ip) {
    return std::to_string(ip & 0xFF) + "." + std::to_string((ip >> 8) & 0xFF) + "." +
           std::to_string((ip >> 16) & 0xFF) + "." + std::to_string(ip >> 24);
}

std::string hexMac(const std::array<uint8_t, 6>& mac) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const uint8_t byte : mac) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::vector<std::u16string> chatterColumnTexts(const ChatterRecord& chatter,
                                               bool canViewAddresses) {
    if (!canViewAddresses) {
        return {chatter.nickname, utf8ToUtf16(roleName(chatter.roleFlags))};
    }
    return {chatter.nickname, gbkToUtf16(chatter.account), utf8ToUtf16(dottedIp(chatter.ip)),
            utf8ToUtf16(hexMac(chatter.mac))};
}

int sexImageIndex(uint8_t sex) {
    switch (sex) {
        case 'M':
            return 0;
        case 'F':
            return 1;
        default:
            return 2;
    }
}

std::u16string hiddenChatterNotice(std::u16string_view nickname) {
    return u"您已将 " + std::u16string(nickname) + u" 的聊天信息过滤。";
}

std::u16string shownChatterNotice(std::u16string_view nickname) {
    return u"您已取消对 " + std::u16string(nickname) + u" 聊天信息的过滤。";
}

}  // namespace chat
