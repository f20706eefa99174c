// The wide-string-list decoder on any packet bytes: only bad zlib data may raise, no string is
// empty or holds a NUL, and nothing is read past the packet.
#include <cstdint>
#include <cstdlib>

#include "protocol/tcp_packet.h"
#include "util/compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        for (const std::u16string& text : TcpPacket::decodeWideStringList({data, size})) {
            if (text.empty() || text.find(u'\0') != std::u16string::npos) {
                std::abort();
            }
        }
    } catch (const tekna::EZLib&) {
    }
    return 0;
}
