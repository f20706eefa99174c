#pragma once
// Sample records for the command tests; the chatter record's 132 bytes are written out by hand.
#include <string>
#include <utility>

#include "protocol/commands/chatter_record.h"
#include "protocol/commands/room_record.h"
#include "protocol/commands/test_bytes.h"

namespace chat::test {

inline ChatterRecord sampleChatter() {
    ChatterRecord r;
    r.chatterId = 0x01020304;
    r.account = "bob";
    r.nickname = u"B\u4F60";
    r.reserved92 = 255;
    r.sex = 'M';
    r.reserved97 = 1;
    r.mac = {0x00, 0x0C, 0x29, 0xAA, 0xBB, 0xCC};
    r.reserved104.fill(0x5A);
    r.ip = 0x0100007F;  // 127.0.0.1
    r.roleFlags = 0x40;
    return r;
}

inline Bytes sampleChatterBytes() {
    return concat({
        le32(0x01020304),  // 0 chatter id
        ascii("bob"),
        zeros(61),  // 4 account
        utf16(u"B\u4F60"),
        zeros(20),                             // 68 nickname
        le32(255),                             // 92
        {'M', 1},                              // 96 sex, 97
        {0x00, 0x0C, 0x29, 0xAA, 0xBB, 0xCC},  // 98 MAC
        Bytes(20, 0x5A),                       // 104
        {127, 0, 0, 1},                        // 124 IP, network byte order
        le32(0x40),                            // 128 role flags
    });
}

// A room as a whole 1408-byte entry of the room list carries it.
inline RoomRecord sampleRoom(std::u16string name) {
    RoomRecord room;
    room.entryLength = 1408;
    room.roomId = 7;
    room.attributes = 0x08;
    room.name = std::move(name);
    room.rollingMessage = u"hi";
    room.rollingIntervalSeconds = 30;
    room.reserved1404 = 1;
    return room;
}

}  // namespace chat::test
