#include <gtest/gtest.h>

#include <string>

#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/chatter_record.h"
#include "protocol/commands/room_record.h"
#include "protocol/commands/samples.h"
#include "protocol/commands/test_bytes.h"

namespace chat {
namespace {

using namespace chat::test;

TEST(ChatterRecordBytes, EncodesEveryFieldAtItsOffsetAndDecodesBack) {
    const Bytes expected = sampleChatterBytes();
    ASSERT_EQ(expected.size(), ChatterRecord::kSize);
    const auto encoded = sampleChatter().encode();
    EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), expected);
    EXPECT_EQ(ChatterRecord::decode(std::span<const uint8_t, 132>(expected.data(), 132)),
              sampleChatter());
}

TEST(ChatterRecordBytes, CutsLongTextsToTheirFieldsLessTheTerminator) {
    ChatterRecord r;
    r.account = std::string(70, 'a');
    r.nickname = u"abcdefghijklmno";
    const auto bytes = r.encode();
    EXPECT_EQ(bytes[4 + 62], 'a');
    EXPECT_EQ(bytes[4 + 63], 0);
    const ChatterRecord back = ChatterRecord::decode(bytes);
    EXPECT_EQ(back.account, std::string(63, 'a'));
    EXPECT_EQ(back.nickname, u"abcdefghijk");
}

TEST(RoomRecordBytes, EncodesEveryFieldAtItsOffsetAndDecodesBack) {
    RoomRecord room;
    room.entryLength = 1408;
    room.roomId = 7;
    room.attributes = 0x08;
    room.name = u"大厅";
    room.roomData.fill(0x33);
    room.reserved1132 = 0x11;
    room.reserved1136 = 0x22;
    room.reserved1140 = 0x44;
    room.rollingMessage = u"hi";
    room.rollingIntervalSeconds = 30;
    room.reserved1404 = 1;
    const auto bytes = room.encode();
    const Bytes expected = concat({
        le32(1408), le32(7), le32(0x08), utf16(u"大厅"), zeros(92),  // 0, 4, 8, 12 name
        Bytes(1024, 0x33),                                           // 108 room data
        le32(0x11), le32(0x22), le32(0x44),                          // 1132, 1136, 1140
        utf16(u"hi"), zeros(252),                                    // 1144 rolling message
        le32(30), le32(1),                                           // 1400, 1404
    });
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(RoomRecord::decode(bytes), room);
}

TEST(AdminBlockBytes, EachBlockHasItsExactSizeAndOffsets) {
    RoomSettingBlock settings;
    settings.roomId = 7;
    settings.maxPeople = 200;
    settings.speechIntervalMs = 1000;
    settings.maxCharacters = 256;
    settings.maxPictures = 1;
    settings.allowCustomTextStyle = true;
    settings.firstSpeechVerification = true;

    UserRightsBlock rights;
    rights.valueA = 0xA1;
    rights.valueB = 0xB2;
    rights.account = "bob";
    rights.roomId = 7;

    RoomOwnerBlock owner;
    owner.roomId = 7;
    owner.maxPeople = 300;
    owner.roomName = u"Hall";

    VipGiftBlock gift;
    gift.hours = 24;
    gift.roomId = 7;
    gift.passwordDigest.fill(0xD5);

    RandomVipDraw draw;
    draw.roomId = 7;
    draw.drawIntervalMs = 60000;
    draw.winners = 3;
    draw.vipHours = 12;
    draw.start = {2009, 3, 6, 7, 18, 5, 0, 0};
    draw.end = {2009, 3, 0, 8, 9, 30, 15, 500};

    const auto asBytes = [](const auto& array) { return Bytes(array.begin(), array.end()); };
    EXPECT_EQ(asBytes(encodeBlock(settings)),
              concat({le32(27), le32(7), le32(200), le32(1000), le32(256), le32(1), {1, 0, 1}}));
    EXPECT_EQ(asBytes(encodeBlock(rights)),
              concat({le32(0xA1), le32(0xB2), ascii("bob"), zeros(61), le32(7), zeros(60)}));
    EXPECT_EQ(asBytes(encodeBlock(owner)),
              concat({le32(7), le32(300), utf16(u"Hall"), zeros(88), zeros(64)}));
    EXPECT_EQ(asBytes(encodeBlock(gift)), concat({le32(24), le32(7), Bytes(16, 0xD5), zeros(64)}));
    EXPECT_EQ(
        asBytes(encodeBlock(draw)),
        concat({le32(7), le32(60000), le32(3), le32(12),                             //
                le16(2009), le16(3), le16(6), le16(7), le16(18), le16(5), zeros(4),  //
                le16(2009), le16(3), le16(0), le16(8), le16(9), le16(30), le16(15), le16(500)}));

    EXPECT_EQ(decodeBlock<RoomSettingBlock>(encodeBlock(settings)), settings);
    EXPECT_EQ(decodeBlock<UserRightsBlock>(encodeBlock(rights)), rights);
    EXPECT_EQ(decodeBlock<RoomOwnerBlock>(encodeBlock(owner)), owner);
    EXPECT_EQ(decodeBlock<VipGiftBlock>(encodeBlock(gift)), gift);
    EXPECT_EQ(decodeBlock<RandomVipDraw>(encodeBlock(draw)), draw);
}

TEST(AdminBlockBytes, AnyNonZeroFlagByteReadsAsSet) {
    auto bytes = encodeBlock(RoomSettingBlock{});
    bytes[24] = 2;
    EXPECT_TRUE(decodeBlock<RoomSettingBlock>(bytes).allowCustomTextStyle);
    EXPECT_FALSE(decodeBlock<RoomSettingBlock>(bytes).allowPictures);
}

}  // namespace
}  // namespace chat
