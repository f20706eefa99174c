#include <gtest/gtest.h>

#include "chat_service.h"
#include "protocol/tcp_packet.h"

namespace {

namespace cmd = chat::cmd;

cmd::RoomList roomsOfCount(uint32_t count) {
    cmd::RoomList list;
    for (uint32_t id = 2; id < 2 + count; ++id) {
        chat::RoomRecord& room = list.rooms[id];
        room.entryLength = chat::RoomRecord::kSize;
        room.roomId = id;
        room.name = u"房间";
        room.reserved1404 = 1;
    }
    return list;
}

TEST(PacketCompression, LargeBodiesAreSentCompressedAndInflateToTheSameCommand) {
    struct Case {
        uint32_t rooms;
        bool compressed;
    };
    for (const Case& c : {Case{1, false}, Case{5, false}, Case{6, true}, Case{100, true}}) {
        SCOPED_TRACE(c.rooms);
        const cmd::RoomList list = roomsOfCount(c.rooms);
        const auto packet = chatserver::compressedWhenLarge(chat::buildPacket(list));
        const PacketHeader header = PacketHeader::read(packet->data());
        EXPECT_EQ(header.size, packet->size());
        EXPECT_EQ(header.compressed != 0, c.compressed);
        const auto body = TcpPacket::decodeRawBytes(*packet);
        EXPECT_EQ(*chat::readBody<cmd::RoomList>(body), list);
    }
}

}  // namespace
