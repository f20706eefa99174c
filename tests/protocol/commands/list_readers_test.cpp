// Texts, lists and streams of received packets end at the packet end, whatever the bytes say.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "protocol/commands/commands.h"
#include "protocol/commands/samples.h"
#include "protocol/commands/test_bytes.h"

namespace chat::cmd {
namespace {

using namespace chat::test;

// A received packet of `command`: its header, then `body`.
Bytes packet(CommandId command, const Bytes& body) {
    return concat(
        {header(static_cast<uint32_t>(24 + body.size()), static_cast<uint16_t>(command)), body});
}

TEST(ReceivedTexts, TextsWithoutTerminatorEndAtThePacketEnd) {
    EXPECT_EQ(readPacket<Success>(packet(CommandId::Success, ascii("done")))->text, "done");
    EXPECT_EQ(readPacket<Fail>(packet(CommandId::Fail, {}))->text, "");
    const Bytes oddWide = concat({le32(0), utf16(u"ab"), {'c'}});
    EXPECT_EQ(readPacket<FailWithMessage>(packet(CommandId::FailWithMessage, oddWide))->text,
              u"ab");
    const auto answer =
        readPacket<EnterRoomAnswer>(packet(CommandId::EnterRoomAnswer, concat({le32(7), le32(0)})));
    ASSERT_TRUE(answer.ok());
    EXPECT_EQ(answer->reason, "");
    EXPECT_EQ(readPacket<AnnouncementUpdated>(
                  packet(CommandId::AnnouncementUpdated, concat({le32(7), utf16(u"a\0b")})))
                  ->text,
              u"a");
}

struct AdminListCase {
    const char* name;
    Bytes entries;  // from offset 92
    std::map<std::string, uint32_t> expected;
};

TEST(AdminListReader, StopsAtAZeroByteAShortLevelOrThePacketEnd) {
    const std::vector<AdminListCase> cases = {
        {"closed by four zero bytes",
         concat({le32(0x20), ascii("own"), {0}, le32(0x40), ascii("adm"), {0}, zeros(4)}),
         {{"own", 0x20}, {"adm", 0x40}}},
        {"account running to the packet end", concat({le32(0x40), ascii("adm")}), {{"adm", 0x40}}},
        {"level cut by the packet end",
         concat({le32(0x40), ascii("adm"), {0}, {0x20, 0}}),
         {{"adm", 0x40}}},
        {"repeated account keeps its last level",
         concat({le32(0x40), ascii("a"), {0}, le32(0x20), ascii("a"), {0}, zeros(4)}),
         {{"a", 0x20}}},
        {"nothing after a zero byte is read", concat({zeros(4), le32(0x40), ascii("late")}), {}},
        {"no entries at all", {}, {}},
    };
    for (const AdminListCase& c : cases) {
        const Bytes body = concat({le32(7), zeros(64), c.entries});
        const auto admins = readPacket<RoomAdmins>(packet(CommandId::RoomAdmins, body));
        ASSERT_TRUE(admins.ok()) << c.name;
        EXPECT_EQ(admins->admins, c.expected) << c.name;
    }
}

struct OwnerListCase {
    const char* name;
    Bytes accounts;  // from offset 192
    std::vector<std::string> expected;
};

TEST(OwnerListReader, TrimsEachAccountAndStopsAtAnEmptyStringOrThePacketEnd) {
    const std::vector<OwnerListCase> cases = {
        {"closed by an empty string",
         concat({ascii("o1"), {0}, ascii("o2"), {0, 0}}),
         {"o1", "o2"}},
        {"blanks and controls trimmed", concat({ascii(" \to1\r\n "), {0, 0}}), {"o1"}},
        {"blank-only account skipped, later ones read",
         concat({ascii("   "), {0}, ascii("o2"), {0, 0}}),
         {"o2"}},
        {"last account without terminator", concat({ascii("o1"), {0}, ascii("o2")}), {"o1", "o2"}},
        {"GBK account kept byte for byte",
         concat({{0xC4, 0xE3, 0xBA, 0xC3}, {0, 0}}),
         {"\xC4\xE3\xBA\xC3"}},
        {"empty list", {}, {}},
    };
    for (const OwnerListCase& c : cases) {
        const Bytes body = concat({le32(7), le32(200), zeros(160), c.accounts});
        const auto owners = readPacket<RoomOwners>(packet(CommandId::RoomOwners, body));
        ASSERT_TRUE(owners.ok()) << c.name;
        EXPECT_EQ(owners->owners, c.expected) << c.name;
    }
}

TEST(VipAccountsReader, SplitsTheTextAfterOneHundredTwelveAtWhiteSpace) {
    const Bytes gift = concat({le32(24), le32(7), zeros(80)});
    const std::vector<std::pair<Bytes, std::vector<std::string>>> cases = {
        {{}, {}},
        {ascii("a1"), {"a1"}},
        {ascii(" a1\t b2\r\n"), {"a1", "b2"}},
    };
    for (const auto& [text, expected] : cases) {
        const auto given = readPacket<VipGiven>(packet(CommandId::VipGiven, concat({gift, text})));
        ASSERT_TRUE(given.ok());
        EXPECT_EQ(given->gift.hours, 24u);
        EXPECT_EQ(given->gift.roomId, 7u);
        EXPECT_EQ(given->accounts, expected);
    }
}

TEST(WordListReader, SkipsEmptyWordsFoldsRepeatsAndTakesAnUnterminatedLastWord) {
    const std::vector<std::pair<Bytes, std::set<std::u16string>>> cases = {
        {utf16(std::u16string(u"a\0\0b\0", 5)), {u"a", u"b"}},
        {utf16(std::u16string(u"x\0y", 3)), {u"x", u"y"}},
        {concat({utf16(std::u16string(u"x\0x\0", 4)), {'z'}}), {u"x"}},
        {{}, {}},
    };
    for (const auto& [body, expected] : cases) {
        EXPECT_EQ(
            readPacket<InvalidNicknameList>(packet(CommandId::InvalidNicknameList, body))->words,
            expected);
    }
}

TEST(RecordListReaders, TakeOnlyWholeRecords) {
    const Bytes head = concat({le32(7), zeros(96)});
    const Bytes chatter = sampleChatterBytes();
    const std::vector<std::pair<Bytes, size_t>> chatterCases = {
        {head, 0},
        {concat({head, Bytes(chatter.begin(), chatter.end() - 1)}), 0},
        {concat({head, chatter, chatter}), 2},
        {concat({head, chatter, chatter, zeros(131)}), 2},
    };
    for (const auto& [body, count] : chatterCases) {
        const auto list = readPacket<RoomChatterList>(packet(CommandId::RoomChatterList, body));
        ASSERT_TRUE(list.ok());
        EXPECT_EQ(list->chatters.size(), count);
    }

    const auto counts = readPacket<RoomChatterCounts>(
        packet(CommandId::RoomChatterCounts, concat({Bytes(16, 1), Bytes(16, 2), Bytes(15, 3)})));
    ASSERT_TRUE(counts.ok());
    ASSERT_EQ(counts->counts.size(), 2u);
    EXPECT_EQ(counts->counts[1][15], 2);
}

TEST(StreamReaders, CarryTheBytesFromTheirOffsetToThePacketEnd) {
    const Bytes stream = concat({le32(5), le32(10003), le32(0), le32(0xFFFFFFFF)});
    EXPECT_EQ(readPacket<SelfRights>(packet(CommandId::SelfRights, concat({zeros(136), stream})))
                  ->rightsStream,
              stream);
    EXPECT_EQ(readPacket<RoomLimits>(packet(CommandId::RoomLimits, zeros(68)))->limitStream,
              Bytes{});
    EXPECT_EQ(readPacket<RoomLimits>(packet(CommandId::RoomLimits, zeros(67))).error(),
              ReadError::TooShort);
}

}  // namespace
}  // namespace chat::cmd
