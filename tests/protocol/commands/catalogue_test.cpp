// One row per command and direction: a sample, the size of its packet and every byte of the
// packet that is not zero (apart from the header's size and command, which are checked for all).
// Each row is also read back, read from a packet one byte shorter than the command's fixed part,
// and read under another command id.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "protocol/commands/commands.h"
#include "protocol/commands/samples.h"
#include "protocol/commands/test_bytes.h"

namespace chat::cmd {
namespace {

using namespace chat::test;
using NonZeroBytes = std::vector<std::pair<size_t, Bytes>>;

struct CatalogueRow {
    std::string name;
    Bytes packet;
    uint16_t command = 0;
    size_t size = 0;
    NonZeroBytes nonZero;
    size_t fixedSize = 0;
    std::function<bool(std::span<const uint8_t>)> readsBack;
    std::function<std::optional<ReadError>(std::span<const uint8_t>)> readError;
};

void PrintTo(const CatalogueRow& r, std::ostream* out) {
    *out << r.name;
}

template <class Command>
CatalogueRow row(std::string name, const Command& sample, size_t size, NonZeroBytes nonZero = {}) {
    CatalogueRow r;
    r.name = std::move(name);
    r.packet = buildPacket(sample);
    r.command = static_cast<uint16_t>(Command::kId);
    r.size = size;
    r.nonZero = std::move(nonZero);
    r.fixedSize = Command::kSize;
    r.readsBack = [sample](std::span<const uint8_t> packet) {
        const auto read = readPacket<Command>(packet);
        return read.ok() && *read == sample;
    };
    r.readError = [](std::span<const uint8_t> packet) -> std::optional<ReadError> {
        const auto read = readPacket<Command>(packet);
        return read.ok() ? std::nullopt : std::optional(read.error());
    };
    return r;
}

const Bytes kDigest = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
                       0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF};

template <size_t N>
std::array<uint8_t, N> array(const Bytes& bytes) {
    std::array<uint8_t, N> a{};
    std::copy_n(bytes.begin(), N, a.begin());
    return a;
}

RandomVipDraw sampleDraw() {
    return {.roomId = 7,
            .drawIntervalMs = 60000,
            .winners = 3,
            .vipHours = 12,
            .start = {.year = 2009, .month = 3, .day = 7},
            .end = {.year = 2009, .month = 4, .day = 1}};
}
const Bytes kDrawBytes =
    concat({le32(7), le32(60000), le32(3), le32(12), le16(2009), le16(3), le16(0), le16(7),
            zeros(8), le16(2009), le16(4), le16(0), le16(1)});

RoomSettingBlock sampleSettings() {
    return {.roomId = 7,
            .maxPeople = 200,
            .speechIntervalMs = 1000,
            .maxCharacters = 256,
            .maxPictures = 1,
            .allowCustomTextStyle = true,
            .allowPictures = true};
}
const Bytes kSettingsBytes =
    concat({le32(27), le32(7), le32(200), le32(1000), le32(256), le32(1), {1, 1, 0}});

const Bytes kRightsStream = concat({le32(5), le32(10003), le32(10007), le32(0), le32(0xFFFFFFFF)});
const Bytes kStyle = {0xFF, 0, 0, 0, 'S'};

std::vector<CatalogueRow> connectionRoomAndChatRows() {
    const ChatterRecord chatter = sampleChatter();
    const Bytes chatterBytes = sampleChatterBytes();
    ChatMessage chat{.roomId = 7,
                     .sequence = 1,
                     .speakerId = 9,
                     .targetId = 0,
                     .textStyle = array<77>(concat({kStyle, zeros(72)})),
                     .sendTime = {.year = 2009, .month = 3, .second = 5},
                     .nickname = u"Ann",
                     .sections = concat({le32(12), {3, 0, 0, 0}, le32(5)})};
    return {
        // client to server
        row("HeartbeatAnswer", Heartbeat{}, 24),
        row("Hello", Hello{}, 28, {{24, le32(7)}}),
        row("Login",
            Login{.mac = {1, 2, 3, 4, 5, 6},
                  .account = "alice",
                  .passwordDigest = array<16>(kDigest)},
            104, {{8, {1, 2, 3, 4, 5, 6}}, {24, ascii("alice")}, {88, kDigest}}),
        row("EnterRoom", EnterRoom{.roomId = 7, .record = chatter}, 160,
            {{24, le32(7)}, {28, chatterBytes}}),
        row("RequestRoomChatterList", RequestRoomChatterList{.roomId = 7}, 28, {{24, le32(7)}}),
        row("ChatMessage", chat, 169,
            {{24, le32(7)},
             {28, le32(1)},
             {32, le32(9)},
             {40, kStyle},
             {117, concat({le16(2009), le16(3), zeros(8), le16(5)})},
             {133, utf16(u"Ann")},
             {157, chat.sections}}),
        row("LeaveRoom", LeaveRoom{.roomId = 7}, 28, {{24, le32(7)}}),
        row("PrivateChatRequest", PrivateChatRequest{.chatterId = 9, .text = {}, .roomId = 7}, 156,
            {{24, le32(9)}, {152, le32(7)}}),
        row("ChangeOwnChatterRecord", ChangeOwnChatterRecord{.record = chatter, .roomId = 7}, 224,
            {{24, chatterBytes}, {156, le32(7)}}),
        row("RequestRoomChatterCounts", RequestRoomChatterCounts{}, 88),
        // server to client
        row("Heartbeat", Heartbeat{}, 24),
        row("Success", Success{.text = "ok"}, 27, {{24, ascii("ok")}}),
        row("Fail", Fail{.text = "no"}, 27, {{24, ascii("no")}}),
        row("FailWithMessage", FailWithMessage{.roomId = -1, .text = u"x"}, 32,
            {{24, le32(0xFFFFFFFF)}, {28, utf16(u"x")}}),
        row("Welcome", Welcome{}, 24),
        row("LoginAccepted", LoginAccepted{.chatterId = 9, .accountLevel = 6}, 32,
            {{24, le32(9)}, {28, le32(6)}}),
        row("LoginRefused", LoginRefused{.code = 4, .reason = u"no"}, 34,
            {{24, le32(4)}, {28, utf16(u"no")}}),
        row("ClientVersionRefused", ClientVersionRefused{}, 24),
        row("EnterRoomAnswer", EnterRoomAnswer{.roomId = 7, .result = 1, .reason = "full"}, 37,
            {{24, le32(7)}, {28, le32(1)}, {32, ascii("full")}}),
        row("ChatterEntered", ChatterEntered{.roomId = 7, .record = chatter}, 160,
            {{24, le32(7)}, {28, chatterBytes}}),
        row("ChatterLeft", ChatterLeft{.roomId = 7, .chatterId = 9}, 32,
            {{24, le32(7)}, {28, le32(9)}}),
        row("RoomChatterList", RoomChatterList{.roomId = 7, .chatters = {chatter, chatter}}, 388,
            {{24, le32(7)}, {124, chatterBytes}, {256, chatterBytes}}),
        row("RoomClosed", RoomClosed{.roomId = 7}, 28, {{24, le32(7)}}),
        row("ChatAnswer", ChatAnswer{}, 24),
        row("ChatterRecordChanged", ChatterRecordChanged{.record = chatter, .roomId = 7}, 160,
            {{24, chatterBytes}, {156, le32(7)}}),
        row("KeywordList", KeywordList{.words = {u"ab", u"c"}}, 34,
            {{24, utf16(u"ab")}, {30, utf16(u"c")}}),
        row("InvalidNicknameList", InvalidNicknameList{.words = {u"z"}}, 28, {{24, utf16(u"z")}}),
        row("RoomList", RoomList{.rooms = {{7, sampleRoom(u"R")}}}, 1432,
            {{24, le32(1408)},
             {28, le32(7)},
             {32, le32(8)},
             {36, utf16(u"R")},
             {24 + 1144, utf16(u"hi")},
             {24 + 1400, le32(30)},
             {24 + 1404, le32(1)}}),
        row("PrivateChatRefused", PrivateChatRefused{.result = 1, .text = "busy"}, 33,
            {{24, le32(1)}, {28, ascii("busy")}}),
        row("PrivateRoomCreated",
            PrivateRoomCreated{.roomId = 100, .first = chatter, .second = chatter}, 292,
            {{24, le32(100)}, {28, chatterBytes}, {160, chatterBytes}}),
        row("ChatterDisabled", ChatterDisabled{}, 24),
        row("KickedOut", KickedOut{.code = 3, .reason = u"bye"}, 36,
            {{24, le32(3)}, {28, utf16(u"bye")}}),
        row("RoomChatterCounts",
            RoomChatterCounts{.counts = {array<16>(Bytes(16, 0xC1)), array<16>(Bytes(16, 0xC2))}},
            56, {{24, Bytes(16, 0xC1)}, {40, Bytes(16, 0xC2)}}),
    };
}

std::vector<CatalogueRow> administrationRows() {
    const ChatterRecord chatter = sampleChatter();
    const UserRightsBlock rights{.valueA = 0xA1, .valueB = 0xB2, .account = "bob", .roomId = 7};
    const Bytes rightsBytes = concat({le32(0xA1), le32(0xB2), ascii("bob"), zeros(61), le32(7)});
    const VipGiftBlock gift{.hours = 24, .roomId = 7, .passwordDigest = array<16>(kDigest)};
    const Bytes giftBytes = concat({le32(24), le32(7), kDigest});
    const RoomOwnerBlock owner{.roomId = 7, .maxPeople = 200, .roomName = u"Hall"};
    const Bytes ownerBytes = concat({le32(7), le32(200), utf16(u"Hall")});
    const LimitTarget target{
        .account = "bob", .mac = {1, 2, 3, 4, 5, 6}, .ip = 0x0101A8C0, .mask = 0x00FFFFFF};
    const SystemTime end{.year = 2009, .month = 3, .day = 7, .hour = 18, .minute = 5};
    const Bytes endBytes =
        concat({le16(2009), le16(3), le16(0), le16(7), le16(18), le16(5), zeros(4)});
    return {
        // client to server
        row("KickChatter", KickChatter{.roomId = 7, .chatterId = 9}, 48,
            {{24, le32(7)}, {28, le32(9)}}),
        row("SetAnnouncement", SetAnnouncement{.roomId = 7, .text = u"hello"}, 1052,
            {{24, le32(7)}, {28, utf16(u"hello")}}),
        row("NotifyKeywordsUpdated", NotifyKeywordsUpdated{}, 24),
        row("NotifyRoomListUpdated", NotifyRoomListUpdated{}, 24),
        row("SetSystemMessage", SetSystemMessage{.intervalSeconds = 60, .text = u"sys"}, 540,
            {{24, le32(60)}, {28, utf16(u"sys")}}),
        row("SetRollingMessage",
            SetRollingMessage{.roomId = 7, .intervalSeconds = 30, .text = u"roll"}, 288,
            {{24, le32(7)}, {28, le32(30)}, {32, utf16(u"roll")}}),
        row("SetAccountLevel",
            SetAccountLevel{.chatterId = 9, .account = "bob", .accountLevel = 0x12}, 160,
            {{24, le32(9)}, {28, ascii("bob")}, {92, le32(0x12)}}),
        row("NotifyNicknameKeywordsUpdated", NotifyNicknameKeywordsUpdated{}, 24),
        row("ResetNickname", ResetNickname{.roomId = 7, .record = chatter}, 224,
            {{24, le32(7)}, {28, sampleChatterBytes()}}),
        row("GiveVip", GiveVip{.gift = gift, .accounts = {"a1", "b2"}}, 117,
            {{24, giftBytes}, {112, ascii("a1 b2")}}),
        row("QueryRandomVip", QueryRandomVip{.roomId = 7}, 92, {{24, le32(7)}}),
        row("SetRandomVip",
            SetRandomVip{.passwordDigest = array<16>(kDigest), .draw = sampleDraw()}, 152,
            {{24, kDigest}, {40, kDrawBytes}}),
        row("SetRoomSettings", SetRoomSettings{.settings = sampleSettings()}, 307,
            {{24, kSettingsBytes}}),
        row("AddRoomLimit",
            AddRoomLimit{.roomId = 7, .end = end, .target = target, .kind = LimitKind::ForbidLogin},
            190,
            {{24, le32(7)},
             {28, endBytes},
             {44, ascii("bob")},
             {108, {1, 2, 3, 4, 5, 6}},
             {114, {192, 168, 1, 1}},
             {118, {255, 255, 255, 0}},
             {122, le32(1)}}),
        row("QueryRoomLimits", QueryRoomLimits{.kind = LimitKind::ForbidLogin, .roomId = 7}, 92,
            {{24, le32(1)}, {28, le32(7)}}),
        row("DeleteRoomLimit",
            DeleteRoomLimit{.kind = LimitKind::ForbidLogin, .roomId = 7, .target = target}, 174,
            {{24, le32(1)},
             {28, le32(7)},
             {32, ascii("bob")},
             {96, {1, 2, 3, 4, 5, 6}},
             {102, {192, 168, 1, 1}},
             {106, {255, 255, 255, 0}}}),
        row("ClearExpiredRoomLimits", ClearExpiredRoomLimits{}, 24),
        row("SetUserRights", SetUserRights{.block = rights, .rightsStream = kRightsStream}, 180,
            {{24, rightsBytes}, {160, kRightsStream}}),
        row("QueryRoomAdmins", QueryRoomAdmins{.roomId = 7}, 92, {{24, le32(7)}}),
        row("QueryUserRights", QueryUserRights{.roomId = 7, .account = "bob"}, 156,
            {{24, le32(7)}, {28, ascii("bob")}}),
        row("QueryRoomOwners", QueryRoomOwners{.roomId = 7}, 92, {{24, le32(7)}}),
        row("SetRoomOwners", SetRoomOwners{.room = owner, .owners = {"o1"}}, 196,
            {{24, ownerBytes}, {192, ascii("o1")}}),
        row("SetRoomOwnersWithoutOwner", SetRoomOwners{.room = owner, .owners = {}}, 193,
            {{24, ownerBytes}}),
        row("AddRoomAdmin", AddRoomAdmin{.roomId = 7, .account = "bob"}, 92,
            {{24, le32(7)}, {28, ascii("bob")}}),
        row("DeleteRoomAdmin", DeleteRoomAdmin{.roomId = 7, .account = "bob"}, 92,
            {{24, le32(7)}, {28, ascii("bob")}}),
        row("SetAllowedRoles", SetAllowedRoles{.roomId = 7, .allowLevel = 0x11}, 96,
            {{24, le32(7)}, {28, le32(0x11)}}),
        row("QueryAllowedRoles", QueryAllowedRoles{.roomId = 7}, 28, {{24, le32(7)}}),
        // server to client
        row("AnnouncementUpdated", AnnouncementUpdated{.roomId = 7, .text = u"hi"}, 34,
            {{24, le32(7)}, {28, utf16(u"hi")}}),
        row("SystemMessage", SystemMessage{.intervalSeconds = 60, .text = u"s"}, 32,
            {{24, le32(60)}, {28, utf16(u"s")}}),
        row("RollingMessage", RollingMessage{.roomId = 7, .intervalSeconds = 30, .text = u"r"}, 288,
            {{24, le32(7)}, {28, le32(30)}, {32, utf16(u"r")}}),
        row("RollingMessageList", RollingMessageList{}, 24),
        row("SetAccountLevelResult", SetAccountLevelResult{.result = 1, .text = "no"}, 31,
            {{24, le32(1)}, {28, ascii("no")}}),
        row("VipGiven", VipGiven{.gift = gift, .accounts = {"a1"}}, 114,
            {{24, giftBytes}, {112, ascii("a1")}}),
        row("RandomVipSettings", RandomVipSettings{.draw = sampleDraw()}, 72, {{24, kDrawBytes}}),
        row("SetRandomVipResult", SetRandomVipResult{.result = 1, .text = u"e"}, 32,
            {{24, le32(1)}, {28, utf16(u"e")}}),
        row("RoomSettings", RoomSettings{.settings = sampleSettings()}, 51, {{24, kSettingsBytes}}),
        row("RoomLimits", RoomLimits{.limitStream = {0xFF, 0xFF, 0xFF, 0xFF}}, 96,
            {{92, {0xFF, 0xFF, 0xFF, 0xFF}}}),
        row("UserRights", UserRights{.block = rights, .rightsStream = kRightsStream}, 180,
            {{24, rightsBytes}, {160, kRightsStream}}),
        row("RoomAdmins", RoomAdmins{.roomId = 7, .admins = {{"bob", 0x40}, {"eve", 0x20}}}, 112,
            {{24, le32(7)},
             {92, concat({le32(0x40), ascii("bob"), {0}, le32(0x20), ascii("eve")})}}),
        row("RoomOwners", RoomOwners{.room = owner, .owners = {"o1", "o2"}}, 199,
            {{24, ownerBytes}, {192, concat({ascii("o1"), {0}, ascii("o2")})}}),
        row("SelfRights", SelfRights{.rightsStream = kRightsStream}, 180, {{160, kRightsStream}}),
        row("AllowedRoles", AllowedRoles{.roomId = 7, .allowLevel = 0x11}, 32,
            {{24, le32(7)}, {28, le32(0x11)}}),
    };
}

std::vector<CatalogueRow> allRows() {
    auto rows = connectionRoomAndChatRows();
    auto administration = administrationRows();
    rows.insert(rows.end(), administration.begin(), administration.end());
    return rows;
}

class CommandLayout : public testing::TestWithParam<CatalogueRow> {};

TEST_P(CommandLayout, BuildsExactlyTheListedBytes) {
    const CatalogueRow& r = GetParam();
    Bytes expected = concat({header(static_cast<uint32_t>(r.size), r.command), zeros(r.size - 24)});
    for (const auto& [offset, bytes] : r.nonZero) {
        ASSERT_LE(offset + bytes.size(), expected.size());
        std::copy(bytes.begin(), bytes.end(), expected.begin() + static_cast<ptrdiff_t>(offset));
    }
    EXPECT_EQ(r.packet, expected);
}

TEST_P(CommandLayout, ReadsBackWhatWasBuilt) {
    EXPECT_TRUE(GetParam().readsBack(GetParam().packet));
}

TEST_P(CommandLayout, RefusesAPacketShorterThanItsFixedPart) {
    const CatalogueRow& r = GetParam();
    const std::span<const uint8_t> packet(r.packet);
    EXPECT_EQ(r.readError(packet.first(r.fixedSize - 1)), ReadError::TooShort);
    EXPECT_EQ(r.readError(packet.first(r.fixedSize)), std::nullopt);
}

TEST_P(CommandLayout, RefusesAPacketOfAnotherCommand) {
    Bytes packet = GetParam().packet;
    packet[4] ^= 0x80;
    EXPECT_EQ(GetParam().readError(packet), ReadError::WrongCommand);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CommandLayout, testing::ValuesIn(allRows()),
                         [](const testing::TestParamInfo<CatalogueRow>& p) {
                             return p.param.name;
                         });

}  // namespace
}  // namespace chat::cmd
