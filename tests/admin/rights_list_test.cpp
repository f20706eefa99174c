#include "admin/rights_list.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using chat::RightsList;
using chat::RoomRight;

std::vector<uint8_t> int32s(std::initializer_list<int32_t> values) {
    tekna::OutputByteStream out;
    for (const int32_t value : values) {
        out.writeI32(value);
    }
    return out.take();
}

struct ReadCase {
    const char* name;
    std::vector<uint8_t> bytes;
    std::map<int32_t, std::set<int32_t>> expected;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class RightsListReadCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RightsListReadCases, ReadsRoomsAndCodes) {
    const ReadCase& c = GetParam();
    RightsList list;
    list.grant(10000, 99);  // reading clears what was there
    tekna::InputByteStream in(c.bytes);
    list.read(in);
    EXPECT_EQ(list.rooms(), c.expected);
}

std::vector<uint8_t> withTail(std::vector<uint8_t> bytes, std::initializer_list<uint8_t> tail) {
    bytes.insert(bytes.end(), tail);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    RightsList, RightsListReadCases,
    ::testing::Values(
        ReadCase{"Example", int32s({5, 10003, 10007, 0, -1}), {{5, {10003, 10007}}}},
        ReadCase{"SeveralRooms",
                 int32s({5, 10003, 0, 6, 10000, 10001, 0, -1}),
                 {{5, {10003}}, {6, {10000, 10001}}}},
        ReadCase{"RoomFollowedByZeroHasNoEntry", int32s({5, 0, 6, 10004, 0, -1}), {{6, {10004}}}},
        ReadCase{"MissingTerminatorKeepsCompleteRooms",
                 int32s({5, 10003, 0, 6, 10004, 0}),
                 {{5, {10003}}, {6, {10004}}}},
        ReadCase{
            "CodesBeforeTheEndOfInputAreKept", int32s({5, 10003, 10007}), {{5, {10003, 10007}}}},
        ReadCase{"PartialValueAtTheEndIsIgnored",
                 withTail(int32s({5, 10003, 0}), {0x10, 0x27}),
                 {{5, {10003}}}},
        ReadCase{"AnyNegativeRoomEndsTheList",
                 int32s({5, 10003, 0, -7, 6, 10004, 0, -1}),
                 {{5, {10003}}}},
        ReadCase{"Empty", {}, {}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(RightsList, WritesRoomsAndCodesInAscendingOrder) {
    RightsList list;
    list.grant(10007, 5);
    list.grant(10003, 5);
    list.grant(10000, 2);
    tekna::OutputByteStream out;
    list.write(out);
    EXPECT_EQ(out.bytes(), int32s({2, 10000, 0, 5, 10003, 10007, 0, -1}));

    RightsList copy;
    tekna::InputByteStream in(out.bytes());
    copy.read(in);
    EXPECT_EQ(copy, list);
}

TEST(RightsList, RightsArePerRoom) {
    RightsList list;
    const auto bytes = int32s({5, 10003, 0, -1});
    tekna::InputByteStream in(bytes);
    list.read(in);
    EXPECT_TRUE(list.has(RoomRight::KickChatter, 5));
    EXPECT_FALSE(list.has(RoomRight::KickChatter, 6));
    EXPECT_FALSE(list.has(RoomRight::RoomAffiche, 5));
}

TEST(RightsList, RefusesWhatTheStreamCannotCarry) {
    RightsList list;
    EXPECT_FALSE(list.grant(0, 5));
    EXPECT_FALSE(list.grant(10003, -1));
    EXPECT_TRUE(list.rooms().empty());
}

}  // namespace
