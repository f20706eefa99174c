#pragma once
// Fixed records carried by the administration commands.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/commands/system_time.h"

namespace chat {

// A room's rules (commands 67 and 68).
struct RoomSettingBlock {
    static constexpr size_t kSize = 27;

    uint32_t blockSize = kSize;
    uint32_t roomId = 0;
    uint32_t maxPeople = 0;
    uint32_t speechIntervalMs = 0;  // between two messages of one chatter
    uint32_t maxCharacters = 0;
    uint32_t maxPictures = 0;  // per message
    bool allowCustomTextStyle = false;
    bool allowPictures = false;
    bool firstSpeechVerification = false;

    template <class Io, class Self>
    static void layout(Io& io, Self& b) {
        io.field(0, b.blockSize);
        io.field(4, b.roomId);
        io.field(8, b.maxPeople);
        io.field(12, b.speechIntervalMs);
        io.field(16, b.maxCharacters);
        io.field(20, b.maxPictures);
        io.field(24, b.allowCustomTextStyle);
        io.field(25, b.allowPictures);
        io.field(26, b.firstSpeechVerification);
    }

    bool operator==(const RoomSettingBlock&) const = default;
};

// Whose rights a grant concerns (commands 76 and 77). A and B have no meaning for the client: it
// returns them in command 76 as the last command 77 carried them.
struct UserRightsBlock {
    static constexpr size_t kSize = 136;

    uint32_t valueA = 0;
    uint32_t valueB = 0;
    std::string account;  // GBK, char[64]
    uint32_t roomId = 0;

    template <class Io, class Self>
    static void layout(Io& io, Self& b) {
        io.field(0, b.valueA);
        io.field(4, b.valueB);
        io.narrow(8, 64, b.account);
        io.field(72, b.roomId);
    }

    bool operator==(const UserRightsBlock&) const = default;
};

// A room as its owners see it (commands 82 and 83).
struct RoomOwnerBlock {
    static constexpr size_t kSize = 168;

    uint32_t roomId = 0;
    uint32_t maxPeople = 0;
    std::u16string roomName;  // wchar[48]

    template <class Io, class Self>
    static void layout(Io& io, Self& b) {
        io.field(0, b.roomId);
        io.field(4, b.maxPeople);
        io.wide(8, 48, b.roomName);
    }

    bool operator==(const RoomOwnerBlock&) const = default;
};

// A gift of temporary VIP (commands 59 and 60).
struct VipGiftBlock {
    static constexpr size_t kSize = 88;

    uint32_t hours = 0;
    uint32_t roomId = 0;
    std::array<uint8_t, 16> passwordDigest{};  // MD5 of the operation password's GBK bytes

    template <class Io, class Self>
    static void layout(Io& io, Self& b) {
        io.field(0, b.hours);
        io.field(4, b.roomId);
        io.field(8, b.passwordDigest);
    }

    bool operator==(const VipGiftBlock&) const = default;
};

// The random VIP draw of a room (command 62 at offset 24, command 63 at offset 40).
struct RandomVipDraw {
    static constexpr size_t kSize = 48;

    uint32_t roomId = 0;
    uint32_t drawIntervalMs = 0;
    uint32_t winners = 0;
    uint32_t vipHours = 0;
    SystemTime start;  // local time
    SystemTime end;

    template <class Io, class Self>
    static void layout(Io& io, Self& d) {
        io.field(0, d.roomId);
        io.field(4, d.drawIntervalMs);
        io.field(8, d.winners);
        io.field(12, d.vipHours);
        io.field(16, d.start);
        io.field(32, d.end);
    }

    bool operator==(const RandomVipDraw&) const = default;
};

}  // namespace chat
