// The walk over the entries of a room list body.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "protocol/commands/room_commands.h"
#include "protocol/commands/test_bytes.h"

namespace chat::cmd {
namespace {

using namespace chat::test;

void putIfInside(Bytes& entry, size_t offset, const Bytes& value) {
    if (offset + value.size() <= entry.size()) {
        std::copy(value.begin(), value.end(), entry.begin() + static_cast<ptrdiff_t>(offset));
    }
}

// An entry of `length` bytes whose every field that fits holds a recognisable value.
Bytes entry(uint32_t length, uint32_t roomId, std::u16string_view name = u"Hall") {
    Bytes e(length, 0);
    putIfInside(e, 0, le32(length));
    putIfInside(e, 4, le32(roomId));
    putIfInside(e, 8, le32(0x08));
    putIfInside(e, 12, utf16(name));
    putIfInside(e, 108, Bytes(1024, 0x5A));
    putIfInside(e, 1132, le32(0x1132));
    putIfInside(e, 1136, le32(0x1136));
    putIfInside(e, 1140, le32(0x1140));
    putIfInside(e, 1144, utf16(u"roll"));
    putIfInside(e, 1400, le32(60));
    putIfInside(e, 1404, le32(0x1404));
    return e;
}

struct LengthCase {
    uint32_t length;
    uint32_t at1132;
    uint32_t at1136;
    uint32_t at1140;
    std::u16string rolling;
    uint32_t interval;
    uint32_t at1404;
};

TEST(RoomListWalk, TakesTheOptionalFieldsThatTheEntryLengthCovers) {
    const std::vector<LengthCase> cases = {
        {1132, 0, 0, 0, u"", 0, 1},
        {1135, 0, 0, 0, u"", 0, 1},
        {1136, 0x1132, 0, 0, u"", 0, 1},
        {1403, 0x1132, 0, 0, u"", 0, 1},
        {1404, 0x1132, 0x1136, 0x1140, u"roll", 60, 1},
        {1407, 0x1132, 0x1136, 0x1140, u"roll", 60, 1},
        {1408, 0x1132, 0x1136, 0x1140, u"roll", 60, 0x1404},
        {1500, 0x1132, 0x1136, 0x1140, u"roll", 60, 0x1404},
    };
    for (const LengthCase& c : cases) {
        const auto rooms = RoomListEntries::read(entry(c.length, 7));
        ASSERT_EQ(rooms.size(), 1u) << c.length;
        const RoomRecord& room = rooms.at(7);
        EXPECT_EQ(room.entryLength, c.length);
        EXPECT_EQ(room.attributes, 0x08u);
        EXPECT_EQ(room.name, u"Hall");
        EXPECT_TRUE(std::ranges::all_of(room.roomData, [](uint8_t b) { return b == 0x5A; }));
        EXPECT_EQ(room.reserved1132, c.at1132) << c.length;
        EXPECT_EQ(room.reserved1136, c.at1136) << c.length;
        EXPECT_EQ(room.reserved1140, c.at1140) << c.length;
        EXPECT_EQ(room.rollingMessage, c.rolling) << c.length;
        EXPECT_EQ(room.rollingIntervalSeconds, c.interval) << c.length;
        EXPECT_EQ(room.reserved1404, c.at1404) << c.length;
    }
}

TEST(RoomListWalk, SkipsAnEntryWithAnEmptyNameAndReadsTheNextOnes) {
    const auto rooms = RoomListEntries::read(concat({entry(1132, 5, u""), entry(1408, 6)}));
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_TRUE(rooms.contains(6));
}

TEST(RoomListWalk, StopsAtTheFirstEntryThatIsTooShortOrLongerThanWhatIsLeft) {
    struct Case {
        const char* name;
        Bytes body;
        std::vector<uint32_t> roomIds;
    };
    Bytes overlong = entry(1132, 6);
    overlong[0] = 0x80;  // claims 0x480 = 1152 bytes, only 1132 follow
    overlong[1] = 0x04;
    Bytes understated = entry(1200, 6);
    understated[0] = 0x00;  // claims 0x400 = 1024 bytes
    understated[1] = 0x04;
    const std::vector<Case> cases = {
        {"all entries shorter than 1132", concat({entry(1000, 5), entry(1000, 6)}), {}},
        {"length beyond the body", concat({entry(1132, 5), overlong}), {5}},
        {"length below 1132 with bytes to spare", concat({entry(1132, 5), understated}), {5}},
        {"tail shorter than 1132 ignored", concat({entry(1132, 5), zeros(1131)}), {5}},
        {"zero length ends the walk", concat({zeros(1200), entry(1132, 5)}), {}},
        {"empty body", {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> ids;
        for (const auto& [id, room] : RoomListEntries::read(c.body)) {
            ids.push_back(id);
        }
        EXPECT_EQ(ids, c.roomIds) << c.name;
    }
}

TEST(RoomListWalk, KeepsATerminatorInTheNameAndTheRollingMessage) {
    Bytes e = entry(1408, 7, std::u16string(48, u'n'));
    putIfInside(e, 1144, utf16(std::u16string(128, u'r')));
    const RoomRecord room = RoomListEntries::read(e).at(7);
    EXPECT_EQ(room.name, std::u16string(47, u'n'));
    EXPECT_EQ(room.rollingMessage, std::u16string(127, u'r'));
    EXPECT_EQ(room.reserved1132, 0x1132u);  // forcing the terminators touched nothing else
    EXPECT_EQ(room.rollingIntervalSeconds, 60u);
}

TEST(RoomListWalk, ALaterEntryReplacesAnEarlierOneOfTheSameRoom) {
    const auto rooms =
        RoomListEntries::read(concat({entry(1132, 7, u"old"), entry(1132, 7, u"new")}));
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(rooms.at(7).name, u"new");
}

}  // namespace
}  // namespace chat::cmd
