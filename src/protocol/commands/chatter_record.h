#pragma once
// ChatterRecord: the 132-byte description of one chatter, the same in memory and on the wire.
// Fields without a name are kept byte for byte as received.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/commands/layout.h"

namespace chat {

struct ChatterRecord {
    static constexpr size_t kSize = 132;
    static constexpr size_t kAccountBytes = 64;   // char[64]
    static constexpr size_t kNicknameUnits = 12;  // wchar[12]

    uint32_t chatterId = 0;
    std::string account;      // GBK
    std::u16string nickname;  // at most 11 units
    uint32_t reserved92 = 0;  // the user's own record holds 1 before login, 255 after
    uint8_t sex = 0;          // 'M', 'F' or 'U'
    uint8_t reserved97 = 0;
    std::array<uint8_t, 6> mac{};
    std::array<uint8_t, 20> reserved104{};
    uint32_t ip = 0;  // as on the wire, network byte order: the first octet is the lowest byte
    uint32_t roleFlags = 0;  // AccountLevel; in a room's record 0x20 owner, 0x40 administrator

    template <class Io, class Self>
    static void layout(Io& io, Self& r) {
        io.field(0, r.chatterId);
        io.narrow(4, kAccountBytes, r.account);
        io.wide(68, kNicknameUnits, r.nickname);
        io.field(92, r.reserved92);
        io.field(96, r.sex);
        io.field(97, r.reserved97);
        io.field(98, r.mac);
        io.field(104, r.reserved104);
        io.field(124, r.ip);
        io.field(128, r.roleFlags);
    }

    std::array<uint8_t, kSize> encode() const { return encodeBlock(*this); }
    static ChatterRecord decode(std::span<const uint8_t, kSize> bytes) {
        return decodeBlock<ChatterRecord>(bytes);
    }

    bool operator==(const ChatterRecord&) const = default;
};

}  // namespace chat
