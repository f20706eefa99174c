#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "modules/main_dlg.h"
#include "modules/shared_info.h"
#include "start_data.h"

using chat::modules::SharedInfo;

namespace {

struct WalkCase {
    const char* name;
    std::vector<std::uint8_t> data;
    std::map<std::uint32_t, std::string> expected;
};

void PrintTo(const WalkCase& walk, std::ostream* out) {
    *out << walk.name;
}

class StartDataWalk : public testing::TestWithParam<WalkCase> {};

TEST_P(StartDataWalk, KeepsTheRecordsBeforeTheFirstBadOne) {
    SharedInfo info;
    info.read(GetParam().data.data(), GetParam().data.size());
    EXPECT_EQ(info.values(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Records, StartDataWalk,
    testing::Values(
        WalkCase{"Empty", {}, {}}, WalkCase{"OneRecord", startRecord(20, "a"), {{20, "a"}}},
        WalkCase{
            "LengthEightEndsTheWalk", join({{20, 0, 0, 0, 8, 0, 0, 0}, startRecord(20, "a")}), {}},
        WalkCase{"LengthZeroEndsTheWalk", join({{7, 0, 0, 0, 0, 0, 0, 0, 'x'}}), {}},
        WalkCase{"LaterRecordOfTheSameKeyWins",
                 join({startRecord(20, "first"), startRecord(3, "x"), startRecord(20, "second")}),
                 {{20, "second"}, {3, "x"}}},
        WalkCase{"LengthBeyondTheEndEndsTheWalk",
                 join({startRecord(20, "kept"), {20, 0, 0, 0, 14, 0, 0, 0, 'l', 'o', 's', 't'}}),
                 {{20, "kept"}}},
        WalkCase{"HugeLengthEndsTheWalk",
                 join({startRecord(5, "v"), {20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 'x'}}),
                 {{5, "v"}}},
        WalkCase{"ShortTailIsIgnored",
                 join({startRecord(20, "a"), {1, 0, 0, 0, 9, 0, 0, 0}}),
                 {{20, "a"}}},
        WalkCase{"ValueKeepsZeroBytes",
                 startRecord(20, std::string("ab\0cd", 5)),
                 {{20, std::string("ab\0cd", 5)}}}),
    [](const testing::TestParamInfo<WalkCase>& param) { return param.param.name; });

TEST(StartDataWalk, ReadingAgainReplacesTheMap) {
    SharedInfo info;
    const auto first = startRecord(20, "a");
    info.read(first.data(), first.size());
    const auto second = startRecord(3, "b");
    info.read(second.data(), second.size());
    EXPECT_EQ(info.values(), (std::map<std::uint32_t, std::string>{{3, "b"}}));
    info.read(nullptr, 40);
    EXPECT_TRUE(info.values().empty());
}

struct AddressCase {
    const char* name;
    std::vector<std::uint8_t> data;
    QString expected;
};

void PrintTo(const AddressCase& address, std::ostream* out) {
    *out << address.name;
}

class PageAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(PageAddress, TakesKeyTwentyUpToItsFirstZero) {
    SharedInfo info;
    info.read(GetParam().data.data(), GetParam().data.size());
    EXPECT_EQ(chat::modules::pageAddress(info, "http://built.in/"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, PageAddress,
    testing::Values(AddressCase{"NoStartData", {}, "http://built.in/"},
                    AddressCase{"OtherKeysOnly", startRecord(21, "http://x/"), "http://built.in/"},
                    AddressCase{"ZeroTerminated",
                                startRecord(20, std::string("http://a/\0junk", 14)), "http://a/"},
                    AddressCase{"WithoutZero", startRecord(20, "http://a/b"), "http://a/b"},
                    // GBK bytes of "游戏".
                    AddressCase{"SystemCodePage", startRecord(20, "http://a/\xD3\xCE\xCF\xB7"),
                                QString::fromUtf8("http://a/游戏")},
                    AddressCase{"EmptyAddressShowsTheBuiltInPage",
                                startRecord(20, std::string("\0x", 2)), "http://built.in/"}),
    [](const testing::TestParamInfo<AddressCase>& param) { return param.param.name; });

}  // namespace
