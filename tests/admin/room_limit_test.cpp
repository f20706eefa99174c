#include "admin/room_limit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using chat::IpRange;
using chat::MacAddress;
using chat::RoomLimit;
using chat::RoomLimitList;

// Builds stream fixtures value by value.
struct Bytes {
    tekna::OutputByteStream out;
    Bytes& i32(int32_t v) {
        out.writeI32(v);
        return *this;
    }
    Bytes& u32(uint32_t v) {
        out.writeU32(v);
        return *this;
    }
    Bytes& f64(double v) {
        out.writeF64(v);
        return *this;
    }
    Bytes& raw(std::string_view text) {
        out.writeBytes(text.data(), text.size());
        return *this;
    }
    Bytes& account(std::string_view name, double time) {
        return i32(1).i32(static_cast<int32_t>(name.size())).raw(name).f64(time);
    }
    std::vector<uint8_t> take() { return out.take(); }
};

const MacAddress kMac{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

std::vector<int32_t> roomIds(const RoomLimitList& list) {
    std::vector<int32_t> ids;
    for (const auto& [id, limit] : list.entries()) {
        ids.push_back(id);
    }
    return ids;
}

TEST(RoomLimit, WritesAccountsThenMacsThenRanges) {
    auto limit = tekna::makeRef<RoomLimit>(7);
    limit->setIpRange(IpRange(0x0100A8C0, 0x00FFFFFF), 3.0);
    limit->setMac(kMac, 2.0);
    limit->setAccount("ab", 1.5);
    tekna::OutputByteStream out;
    limit->write(out);
    const auto expected = Bytes{}
                              .i32(7)
                              .account("ab", 1.5)
                              .i32(2)
                              .raw(std::string_view("\x00\x1A\x2B\x3C\x4D\x5E", 6))
                              .f64(2.0)
                              .i32(3)
                              .u32(0x0100A8C0)
                              .u32(0x00FFFFFF)
                              .f64(3.0)
                              .i32(0)
                              .take();
    EXPECT_EQ(out.bytes(), expected);
}

TEST(RoomLimitList, RoundTripsEveryKindOfEntry) {
    RoomLimitList list;
    auto global = tekna::makeRef<RoomLimit>(0);
    global->setAccount("", 40000.25);
    global->setAccount("张三", 40001.0);
    auto room = tekna::makeRef<RoomLimit>(12);
    room->setMac(kMac, 40002.5);
    room->setIpRange(IpRange(0x0A00000A, 0x00FFFFFF), 40003.0);
    list.put(global);
    list.put(room);
    tekna::OutputByteStream out;
    list.write(out);

    RoomLimitList copy;
    tekna::InputByteStream in(out.bytes());
    EXPECT_TRUE(copy.read(in));
    EXPECT_EQ(in.remaining(), 0u);
    const auto entries = copy.entries();
    ASSERT_EQ(roomIds(copy), (std::vector<int32_t>{0, 12}));
    EXPECT_EQ(entries.at(0)->accounts(), global->accounts());
    EXPECT_EQ(entries.at(12)->macs(), room->macs());
    const auto ranges = entries.at(12)->ipRanges();
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges.begin()->first.network, 0x0000000Au);
}

struct ListCase {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<int32_t> rooms;  // rooms in the list afterwards
    bool streamOk;
};

void PrintTo(const ListCase& c, std::ostream* out) {
    *out << c.name;
}

class RoomLimitListReadCases : public ::testing::TestWithParam<ListCase> {};

TEST_P(RoomLimitListReadCases, ReadsRoomsUntilTheListEnds) {
    const ListCase& c = GetParam();
    RoomLimitList list;
    list.put(tekna::makeRef<RoomLimit>(99));  // replaced by what is read
    tekna::InputByteStream in(c.bytes);
    list.read(in);
    EXPECT_EQ(roomIds(list), c.rooms);
    EXPECT_EQ(in.ok(), c.streamOk);
}

INSTANTIATE_TEST_SUITE_P(
    RoomLimitList, RoomLimitListReadCases,
    ::testing::Values(
        ListCase{"Complete",
                 Bytes{}.i32(1).account("a", 1).i32(0).i32(2).i32(0).i32(-1).take(),
                 {1, 2},
                 true},
        ListCase{"RoomIdOneMillionStops",
                 Bytes{}.i32(1).i32(0).i32(1000000).i32(0).i32(3).i32(0).i32(-1).take(),
                 {1},
                 true},
        ListCase{"HighestRoomIdIsRead", Bytes{}.i32(999999).i32(0).i32(-1).take(), {999999}, true},
        ListCase{"UnknownTagFailsTheList",
                 Bytes{}.i32(1).i32(0).i32(2).i32(9).i32(0).i32(3).i32(0).i32(-1).take(),
                 {1},
                 false},
        ListCase{"HugeAccountLengthFailsCleanly",
                 Bytes{}.i32(1).i32(0).i32(2).i32(1).i32(0x7FFFFFFF).raw("ab").take(),
                 {1},
                 false},
        ListCase{"NegativeAccountLengthFails",
                 Bytes{}.i32(2).i32(1).i32(-1).raw("abcdefgh").i32(0).i32(-1).take(),
                 {},
                 false},
        ListCase{"TruncatedEndTimeDropsTheRoom",
                 Bytes{}.i32(1).i32(0).i32(2).i32(2).raw("macmac").raw("abc").take(),
                 {1},
                 false},
        ListCase{
            "MissingListEndKeepsRooms", Bytes{}.i32(1).i32(0).i32(2).i32(0).take(), {1, 2}, false},
        ListCase{"Empty", {}, {}, false}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RoomLimitList, EmptyAccountEntryIsKept) {
    const auto bytes = Bytes{}.i32(3).account("", 2.5).i32(0).i32(-1).take();
    RoomLimitList list;
    tekna::InputByteStream in(bytes);
    list.read(in);
    const auto accounts = list.entries().at(3)->accounts();
    ASSERT_EQ(accounts.size(), 1u);
    EXPECT_EQ(accounts.begin()->first, "");
    EXPECT_EQ(accounts.begin()->second, 2.5);
}

TEST(RoomLimitList, LaterCopyOfARoomReplacesTheEarlierOne) {
    const auto bytes = Bytes{}.i32(4).account("a", 1).i32(0).i32(4).i32(0).i32(-1).take();
    RoomLimitList list;
    tekna::InputByteStream in(bytes);
    list.read(in);
    EXPECT_TRUE(list.entries().at(4)->accounts().empty());
}

TEST(RoomLimitList, ReleasesReplacedEntries) {
    RoomLimitList list;
    const auto held = tekna::makeRef<RoomLimit>(8);
    list.put(held);
    EXPECT_EQ(held->refCount(), 2);
    const auto bytes = Bytes{}.i32(-1).take();
    tekna::InputByteStream in(bytes);
    list.read(in);
    EXPECT_EQ(held->refCount(), 1);
    EXPECT_TRUE(list.entries().empty());
}

}  // namespace
