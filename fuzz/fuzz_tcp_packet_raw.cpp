// The raw-bytes decoder on any packet bytes: only bad zlib data may raise; a plain body comes back
// as the bytes within both the span and the header's size field.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "protocol/packet_header.h"
#include "protocol/tcp_packet.h"
#include "util/compression.h"
#include "util/little_endian.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const std::vector<uint8_t> bytes = TcpPacket::decodeRawBytes({data, size});
        if (size >= kPacketHeaderSize && chat::loadLE<uint16_t>(data + 6) == 0) {
            const size_t end = std::min<size_t>(size, chat::loadLE<uint32_t>(data));
            const size_t expected = end > kPacketHeaderSize ? end - kPacketHeaderSize : 0;
            if (bytes.size() != expected ||
                !std::equal(bytes.begin(), bytes.end(), data + kPacketHeaderSize)) {
                std::abort();
            }
        }
    } catch (const tekna::EZLib&) {
    }
    return 0;
}
