#pragma once
// What the chatter list of a room shows for each chatter and in which order: the row comparison,
// the column texts, the sex icon and the notices of hiding and showing a chatter's messages.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/commands/chatter_record.h"

namespace chat {

// Pixel widths of the columns nickname, account (or role), IP and MAC.
inline constexpr std::array<int, 4> kChatterColumnWidths{160, 96, 96, 96};
// Columns shown to a user who may not see addresses: nickname and role.
inline constexpr size_t kChatterColumnsWithoutAddresses = 2;

// Order of two rows of the chatter list, by chatter id: negative puts `a` first, positive `b`.
// The local user first; then chatters the list knows before unknown ids; then by role (owner,
// customer service, administrator, system administrator, instructor, VIP: the first of these
// bits that tells the two apart decides, and a shared bit hands over to the nicknames); then by
// nickname, unit by unit as unsigned 16-bit values.
int compareChatters(uint32_t a, uint32_t b, uint32_t localChatterId,
                    const std::map<uint32_t, ChatterRecord>& chatters);

// The IPv4 address of a record (network byte order) in dotted form: "192.168.0.1".
std::string dottedIp(uint32_t ip);
// A MAC address as 12 upper-case hexadecimal digits without separators.
std::string hexMac(const std::array<uint8_t, 6>& mac);

// The texts of a chatter's row, one per shown column: nickname, account, IP, MAC when the user may
// see addresses; otherwise nickname and role name (empty without a named role).
std::vector<std::u16string> chatterColumnTexts(const ChatterRecord& chatter, bool canViewAddresses);

// Index of the sex icon: 'M' 0, 'F' 1, anything else 2.
int sexImageIndex(uint8_t sex);

// The system lines after the user hides or shows again a chatter's messages.
std::u16string hiddenChatterNotice(std::u16string_view nickname);
std::u16string shownChatterNotice(std::u16string_view nickname);

}  // namespace chat
