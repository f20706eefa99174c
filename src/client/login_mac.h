#pragma once
// The adapter address sent at login: the smallest (byte by byte) hardware address of the
// computer's Ethernet adapters, six zero bytes when it has none.
#include <array>
#include <cstdint>
#include <vector>

namespace chat {

using MacAddress = std::array<uint8_t, 6>;

class EthernetAdapters {
  public:
    virtual ~EthernetAdapters() = default;
    // The hardware addresses of the Ethernet adapters (loopback excluded); empty when the listing
    // fails.
    virtual std::vector<MacAddress> addresses() const = 0;
};

// The system's interface list.
class SystemEthernetAdapters : public EthernetAdapters {
  public:
    std::vector<MacAddress> addresses() const override;
};

MacAddress chooseLoginMac(const std::vector<MacAddress>& addresses);

}  // namespace chat
