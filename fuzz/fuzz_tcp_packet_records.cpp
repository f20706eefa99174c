// The head-and-records decoder on any packet bytes: it may refuse (no body, short body, bad zlib
// data) but must never read past the packet.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "protocol/tcp_packet.h"
#include "util/compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const TcpPacket::HeadAndRecords list = TcpPacket::decodeHeadAndRecords({data, size});
        // Plain bodies cannot yield more records than the packet holds.
        if (size >= 8 && data[6] == 0 && data[7] == 0 &&
            list.records.size() * TcpPacket::kRecordSize > size) {
            std::abort();
        }
    } catch (const tekna::EZLib&) {
    } catch (const std::runtime_error&) {  // "无效数据": shorter than the head
    } catch (const std::logic_error&) {    // no body
    }
    return 0;
}
