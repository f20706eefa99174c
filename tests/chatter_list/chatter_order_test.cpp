#include "admin/chatter_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace chat;

ChatterRecord chatter(uint32_t id, std::u16string nickname, uint32_t flags = 0) {
    ChatterRecord record;
    record.chatterId = id;
    record.nickname = std::move(nickname);
    record.roleFlags = flags;
    return record;
}

struct OrderCase {
    const char* name;
    uint32_t localId;
    std::vector<ChatterRecord> known;  // the list's records
    std::vector<uint32_t> ids;         // the rows to sort, some perhaps unknown
    std::vector<uint32_t> expected;
};

void PrintTo(const OrderCase& c, std::ostream* out) {
    *out << c.name;
}

class ChatterOrderCases : public ::testing::TestWithParam<OrderCase> {};

TEST_P(ChatterOrderCases, SortsRows) {
    const OrderCase& c = GetParam();
    std::map<uint32_t, ChatterRecord> chatters;
    for (const ChatterRecord& record : c.known) {
        chatters.emplace(record.chatterId, record);
    }
    std::vector<uint32_t> ids = c.ids;
    std::ranges::stable_sort(ids, [&](uint32_t a, uint32_t b) {
        return compareChatters(a, b, c.localId, chatters) < 0;
    });
    EXPECT_EQ(ids, c.expected);
    // Antisymmetric, and every row equal to itself: a sound order for any sort routine.
    for (const uint32_t a : c.ids) {
        EXPECT_EQ(compareChatters(a, a, c.localId, chatters), 0);
        for (const uint32_t b : c.ids) {
            EXPECT_EQ(compareChatters(a, b, c.localId, chatters),
                      -compareChatters(b, a, c.localId, chatters))
                << a << " " << b;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    ChatterList, ChatterOrderCases,
    ::testing::Values(
        OrderCase{"LocalUserFirstWhateverTheOthersRoles",
                  7,
                  {chatter(1, u"owner", 0x20), chatter(2, u"cs", 0x02), chatter(7, u"me")},
                  {1, 2, 7},
                  {7, 1, 2}},
        OrderCase{"LocalUserFirstEvenWhenUnknown", 9, {chatter(1, u"a")}, {1, 9}, {9, 1}},
        OrderCase{"RoleRanks",
                  100,
                  {chatter(1, u"vip", 0x01), chatter(2, u"instructor", 0x10),
                   chatter(3, u"sys", 0x04), chatter(4, u"admin", 0x40), chatter(5, u"cs", 0x02),
                   chatter(6, u"owner", 0x20), chatter(7, u"plain"), chatter(8, u"staff", 0x08)},
                  {1, 2, 3, 4, 5, 6, 7, 8},
                  {6, 5, 4, 3, 2, 1, 7, 8}},
        OrderCase{"OwnerWithCustomerServiceSortsAmongOwnersByNickname",
                  100,
                  {chatter(1, u"b", 0x20), chatter(2, u"a", 0x20 | 0x02), chatter(3, u"0", 0x02),
                   chatter(4, u"c", 0x20)},
                  {3, 4, 1, 2},
                  {2, 1, 4, 3}},
        OrderCase{"InstructorWithVipSortsAmongInstructors",
                  100,
                  {chatter(1, u"z", 0x10), chatter(2, u"a", 0x10 | 0x01), chatter(3, u"0", 0x01)},
                  {3, 1, 2},
                  {2, 1, 3}},
        OrderCase{"NicknamesOrdinalUpperBeforeLowerAndPrefixFirst",
                  100,
                  {chatter(1, u"b"), chatter(2, u"B"), chatter(3, u"a"), chatter(4, u"Ab"),
                   chatter(5, u"A"), chatter(6, u"张"), chatter(7, u"\xFF01")},
                  {1, 2, 3, 4, 5, 6, 7},
                  {5, 4, 2, 3, 1, 6, 7}},
        OrderCase{"UnknownIdsLast",
                  100,
                  {chatter(1, u"z"), chatter(2, u"a", 0x01)},
                  {50, 1, 51, 2},
                  {2, 1, 50, 51}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ChatterList, EqualNicknamesAndRolesCompareEqual) {
    const std::map<uint32_t, ChatterRecord> chatters{{1, chatter(1, u"x", 0x01)},
                                                     {2, chatter(2, u"x", 0x01 | 0x08)}};
    EXPECT_EQ(compareChatters(1, 2, 100, chatters), 0);
}

struct ColumnCase {
    const char* name;
    uint32_t flags;
    bool canViewAddresses;
    std::vector<std::u16string> expected;
};

void PrintTo(const ColumnCase& c, std::ostream* out) {
    *out << c.name;
}

class ChatterColumnCases : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ChatterColumnCases, RowTexts) {
    const ColumnCase& c = GetParam();
    ChatterRecord record = chatter(3, u"小明", c.flags);
    record.account =
        "\xD5\xC5\xC8\xFD"
        "01";                // "张三01" in GBK
    record.ip = 0x0100A8C0;  // 192.168.0.1 in network byte order
    record.mac = {0x00, 0x1A, 0x2b, 0xC3, 0xfe, 0x09};
    EXPECT_EQ(chatterColumnTexts(record, c.canViewAddresses), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ChatterList, ChatterColumnCases,
    ::testing::Values(
        ColumnCase{
            "AddressesShown", 0x02, true, {u"小明", u"张三01", u"192.168.0.1", u"001A2BC3FE09"}},
        ColumnCase{"CustomerService", 0x02 | 0x20, false, {u"小明", u"客服"}},
        ColumnCase{"Instructor", 0x10 | 0x01, false, {u"小明", u"Morvex指导员"}},
        ColumnCase{"Owner", 0x20 | 0x40, false, {u"小明", u"房主"}},
        ColumnCase{"RoomAdministrator", 0x40, false, {u"小明", u"房间管理员"}},
        ColumnCase{"SystemAdministrator", 0x04 | 0x01, false, {u"小明", u"系统管理员"}},
        ColumnCase{"Vip", 0x01, false, {u"小明", u"VIP"}},
        ColumnCase{"NoNamedRole", 0x08, false, {u"小明", u""}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ChatterList, AddressTextsAtTheirEdges) {
    EXPECT_EQ(dottedIp(0), "0.0.0.0");
    EXPECT_EQ(dottedIp(0xFFFFFFFF), "255.255.255.255");
    EXPECT_EQ(dottedIp(0x0403020A), "10.2.3.4");
    EXPECT_EQ(hexMac({}), "000000000000");
    EXPECT_EQ(hexMac({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "FFFFFFFFFFFF");
}

TEST(ChatterList, SexIconsAndFilterNotices) {
    EXPECT_EQ(sexImageIndex('M'), 0);
    EXPECT_EQ(sexImageIndex('F'), 1);
    EXPECT_EQ(sexImageIndex('U'), 2);
    EXPECT_EQ(sexImageIndex('m'), 2);
    EXPECT_EQ(sexImageIndex(0), 2);
    EXPECT_EQ(hiddenChatterNotice(u"Tom"), u"您已将 Tom 的聊天信息过滤。");
    EXPECT_EQ(shownChatterNotice(u"Tom"), u"您已取消对 Tom 聊天信息的过滤。");
}

}  // namespace
