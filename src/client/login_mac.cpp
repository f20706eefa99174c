#include "client/login_mac.h"

#include <algorithm>

#ifdef __linux__
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <netpacket/packet.h>

#include <cstring>
#endif

namespace chat {

std::vector<MacAddress> SystemEthernetAdapters::addresses() const {
    std::vector<MacAddress> found;
#ifdef __linux__
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return found;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET ||
            (entry->ifa_flags & IFF_LOOPBACK) != 0) {
            continue;
        }
        sockaddr_ll link{};
        std::memcpy(&link, entry->ifa_addr, sizeof link);
        if (link.sll_hatype != ARPHRD_ETHER || link.sll_halen != 6) {
            continue;
        }
        MacAddress mac{};
        std::memcpy(mac.data(), link.sll_addr, mac.size());
        found.push_back(mac);
    }
    ::freeifaddrs(list);
#endif
    return found;
}

MacAddress chooseLoginMac(const std::vector<MacAddress>& addresses) {
    if (addresses.empty()) {
        return MacAddress{};
    }
    return *std::min_element(addresses.begin(), addresses.end());
}

}  // namespace chat
