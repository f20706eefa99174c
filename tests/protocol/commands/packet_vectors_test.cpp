// Whole packets of the commands that matter most, written out byte by byte.
#include <gtest/gtest.h>

#include <string>

#include "protocol/commands/commands.h"
#include "protocol/commands/samples.h"
#include "protocol/commands/test_bytes.h"

namespace chat::cmd {
namespace {

using namespace chat::test;

const Bytes kHello = {
    0x1C, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,  // size 28, command 4, not compressed
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // reserved
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
    0x07, 0x00, 0x00, 0x00,                          // protocol version 7
};

Bytes loginBytes(const Bytes& mac, const Bytes& accountField) {
    return concat({
        {0x68, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00},  // size 104, command 6
        mac,                                               // header bytes 8-13
        zeros(10),                                         // header bytes 14-23
        accountField,                                      // 24: char[64]
        {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE,   // 88: password digest
         0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF},
    });
}

Login login(std::array<uint8_t, 6> mac, std::string account) {
    return {.mac = mac,
            .account = std::move(account),
            .passwordDigest = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0x01, 0x23, 0x45,
                               0x67, 0x89, 0xAB, 0xCD, 0xEF}};
}

const Bytes kChatHeader = concat({
    {0xA7, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00},
    zeros(16),                 // size 167, command 14
    {0x07, 0x00, 0x00, 0x00},  // 24 room id
    {0x02, 0x00, 0x00, 0x00},  // 28 sequence
    {0x09, 0x00, 0x00, 0x00},  // 32 speaker id
    {0x0B, 0x00, 0x00, 0x00},  // 36 target id (whisper)
    {0x00, 0x00, 0xFF, 0x00},  // 40 style colour
    {0x8B, 0x5B, 0x53, 0x4F},
    zeros(60),  // 44 face "宋体"
    {0x09, 0x00, 0x00, 0x00},
    {0x01, 0x00, 0x00, 0x00, 0x86},                    // 108 size, effects, charset
    {0xD9, 0x07, 0x03, 0x00, 0x06, 0x00, 0x07, 0x00,   // 117 send time
     0x12, 0x00, 0x05, 0x00, 0x1E, 0x00, 0xF4, 0x01},  //
    {0x41, 0x00, 0x6E, 0x00, 0x6E, 0x00},
    zeros(18),                                                     // 133 nickname "Ann"
    {0x0A, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x21, 0x00},  // 157 a text section "!"
});

ChatMessage sampleChat() {
    ChatMessage chat{.roomId = 7,
                     .sequence = 2,
                     .speakerId = 9,
                     .targetId = 11,
                     .sendTime = {2009, 3, 6, 7, 18, 5, 30, 500},
                     .nickname = u"Ann",
                     .sections = {0x0A, 0, 0, 0, 0x02, 0, 0, 0, 0x21, 0}};
    const Bytes style = concat({{0x00, 0x00, 0xFF, 0x00},
                                {0x8B, 0x5B, 0x53, 0x4F},
                                zeros(60),
                                {0x09, 0x00, 0x00, 0x00},
                                {0x01, 0x00, 0x00, 0x00, 0x86}});
    std::copy(style.begin(), style.end(), chat.textStyle.begin());
    return chat;
}

const Bytes kRoomList = concat({
    {0x98, 0x05, 0x00, 0x00, 0x12, 0x00, 0x00, 0x00},
    zeros(16),                 // size 1432, command 18
    {0x80, 0x05, 0x00, 0x00},  // entry length 1408
    {0x07, 0x00, 0x00, 0x00},  // room id
    {0x08, 0x00, 0x00, 0x00},  // attribute flags
    {0x27, 0x59, 0x85, 0x53},
    zeros(92),    // name "大厅"
    zeros(1024),  // room data
    zeros(12),    // 1132, 1136, 1140
    {0x68, 0x00, 0x69, 0x00},
    zeros(252),                // rolling message "hi"
    {0x1E, 0x00, 0x00, 0x00},  // rolling interval 30 s
    {0x01, 0x00, 0x00, 0x00},  // 1404
});

RoomRecord sampleHall() {
    return sampleRoom(u"大厅");
}

TEST(PacketVectors, HelloIsTwentyEightBytesWithVersionSeven) {
    EXPECT_EQ(buildPacket(Hello{}), kHello);
    EXPECT_EQ(readPacket<Hello>(kHello)->version, 7u);
}

TEST(PacketVectors, LoginCarriesTheMacInTheHeaderAndTheAccountAtTwentyFour) {
    const Bytes mac = {0x00, 0x0C, 0x29, 0x01, 0x02, 0x03};
    const Bytes expected = loginBytes(mac, concat({ascii("alice"), zeros(59)}));
    EXPECT_EQ(buildPacket(login({0x00, 0x0C, 0x29, 0x01, 0x02, 0x03}, "alice")), expected);
    EXPECT_EQ(*readPacket<Login>(expected), login({0x00, 0x0C, 0x29, 0x01, 0x02, 0x03}, "alice"));
}

TEST(PacketVectors, LoginWithoutAdapterHasZerosInHeaderBytesEightToThirteen) {
    EXPECT_EQ(buildPacket(login({}, "alice")),
              loginBytes(zeros(6), concat({ascii("alice"), zeros(59)})));
}

TEST(PacketVectors, LoginCutsALongAccountToSixtyThreeCharacters) {
    const std::string account(70, 'x');
    EXPECT_EQ(buildPacket(login({}, account)),
              loginBytes(zeros(6), concat({ascii(account.substr(0, 63)), zeros(1)})));
}

TEST(PacketVectors, EnterRoomIsRoomIdThenTheChatterRecord) {
    const Bytes expected = concat({header(160, 8), le32(7), sampleChatterBytes()});
    EXPECT_EQ(buildPacket(EnterRoom{.roomId = 7, .record = sampleChatter()}), expected);
}

TEST(PacketVectors, ChatMessageHeaderFieldsSitAtTheirOffsetsTimeAtOneHundredSeventeen) {
    EXPECT_EQ(buildPacket(sampleChat()), kChatHeader);
    EXPECT_EQ(*readPacket<ChatMessage>(kChatHeader), sampleChat());
}

TEST(PacketVectors, ChatMessageNicknameKeepsElevenCharacters) {
    ChatMessage chat;
    chat.nickname = u"abcdefghijklmnop";
    const Bytes packet = buildPacket(chat);
    EXPECT_EQ(readPacket<ChatMessage>(packet)->nickname, u"abcdefghijk");
    EXPECT_EQ(packet[133 + 22], 0);
    EXPECT_EQ(packet[133 + 23], 0);
}

TEST(PacketVectors, ReadChatMessageStaysValidAfterThePacketIsGone) {
    auto packet = std::make_unique<Bytes>(kChatHeader);
    const auto chat = readPacket<ChatMessage>(*packet);
    packet.reset();
    ASSERT_TRUE(chat.ok());
    EXPECT_EQ(chat->nickname, u"Ann");
    EXPECT_EQ(chat->sections, (Bytes{0x0A, 0, 0, 0, 0x02, 0, 0, 0, 0x21, 0}));
}

TEST(PacketVectors, RoomListOfOneWholeEntry) {
    EXPECT_EQ(buildPacket(RoomList{.rooms = {{7, sampleHall()}}}), kRoomList);
    const auto list = readPacket<RoomList>(kRoomList);
    ASSERT_TRUE(list.ok());
    ASSERT_EQ(list->rooms.size(), 1u);
    EXPECT_EQ(list->rooms.at(7), sampleHall());
}

TEST(PacketVectors, CompressedPacketsOfCompressibleCommandsAreLeftToTheInflater) {
    Bytes compressed = kRoomList;
    compressed[6] = 1;
    EXPECT_EQ(readPacket<RoomList>(compressed).error(), ReadError::Compressed);
    Bytes answer = buildPacket(ChatterLeft{.roomId = 7, .chatterId = 9});
    answer[6] = 1;
    EXPECT_EQ(readPacket<ChatterLeft>(answer)->chatterId, 9u);  // others never look at the flag
}

TEST(PacketVectors, CompressibleCommandsReadTheirInflatedBodyAlone) {
    const std::span<const uint8_t> body = std::span(kRoomList).subspan(kPacketHeaderSize);
    EXPECT_EQ(readBody<RoomList>(body)->rooms.at(7), sampleHall());

    const Bytes chatterList = concat({le32(7), zeros(96), sampleChatterBytes()});
    const auto chatters = readBody<RoomChatterList>(chatterList);
    ASSERT_TRUE(chatters.ok());
    EXPECT_EQ(chatters->roomId, 7u);
    EXPECT_EQ(chatters->chatters, std::vector<ChatterRecord>{sampleChatter()});
    EXPECT_EQ(readBody<RoomChatterList>(std::span(chatterList).first(99)).error(),
              ReadError::TooShort);

    const Bytes words = utf16(std::u16string(u"a\0b\0", 4));
    EXPECT_EQ(readBody<KeywordList>(words)->words, (std::set<std::u16string>{u"a", u"b"}));
}

TEST(PacketVectors, BuildingBeyondTheReceiveLimitFails) {
    RoomList list;
    for (uint32_t id = 1; id <= kMaxPacketSize / RoomRecord::kSize + 1; ++id) {
        list.rooms[id].name = u"r";
    }
    EXPECT_THROW(buildPacket(list), std::length_error);
}

}  // namespace
}  // namespace chat::cmd
