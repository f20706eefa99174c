#pragma once
// Small packet builders for the protocol tests.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "protocol/packet_header.h"

namespace chat::test {

inline std::vector<uint8_t> zlibCompress(const std::vector<uint8_t>& plain) {
    uLongf length = compressBound(static_cast<uLong>(plain.size()));
    std::vector<uint8_t> packed(length);
    if (compress(packed.data(), &length, plain.data(), static_cast<uLong>(plain.size())) != Z_OK) {
        throw std::runtime_error("compress failed");
    }
    packed.resize(length);
    return packed;
}

// A packet of `command` carrying `body`, compressed with zlib when `compressed` is set.
inline std::vector<uint8_t> packetWithBody(uint16_t command, const std::vector<uint8_t>& body,
                                           bool compressed = false) {
    const std::vector<uint8_t> wireBody = compressed ? zlibCompress(body) : body;
    std::vector<uint8_t> packet = makePacket(command, wireBody.size());
    std::copy(wireBody.begin(), wireBody.end(), packet.begin() + kPacketHeaderSize);
    if (compressed) {
        PacketHeader header = PacketHeader::read(packet.data());
        header.compressed = 1;
        header.write(packet.data());
    }
    return packet;
}

// Bytes 0, 1, 2, ... (mod 251), so that any shift or mix-up of bytes shows.
inline std::vector<uint8_t> patternBytes(size_t count, uint8_t seed = 0) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>((i + seed) % 251);
    }
    return bytes;
}

}  // namespace chat::test
