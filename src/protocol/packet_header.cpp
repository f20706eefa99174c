#include "protocol/packet_header.h"

#include <cstring>

#include "util/little_endian.h"

PacketHeader PacketHeader::read(const uint8_t* bytes) {
    PacketHeader header;
    header.size = chat::loadLE<uint32_t>(bytes);
    header.command = chat::loadLE<uint16_t>(bytes + 4);
    header.compressed = chat::loadLE<uint16_t>(bytes + 6);
    std::memcpy(header.reserved.data(), bytes + 8, header.reserved.size());
    return header;
}

void PacketHeader::write(uint8_t* bytes) const {
    chat::storeLE(bytes, size);
    chat::storeLE(bytes + 4, command);
    chat::storeLE(bytes + 6, compressed);
    std::memcpy(bytes + 8, reserved.data(), reserved.size());
}

std::vector<uint8_t> makePacket(uint16_t command, size_t bodySize) {
    std::vector<uint8_t> packet(kPacketHeaderSize + bodySize, 0);
    PacketHeader header;
    header.size = static_cast<uint32_t>(packet.size());
    header.command = command;
    header.write(packet.data());
    return packet;
}
