// Inflating a room chatter list of about 100 KB (a 100-byte head and 757 chatter records) through
// the head-and-records decoder.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/tcp_packet.h"
#include "util/little_endian.h"
#include "util/wire_text.h"

namespace {

constexpr size_t kRecords = 757;

// Records that look like a real room: distinct ids, accounts and nicknames, a few MAC and address
// ranges, mostly ordinary users.
std::vector<uint8_t> chatterListBody() {
    std::vector<uint8_t> body(TcpPacket::kListHeadSize + kRecords * TcpPacket::kRecordSize, 0);
    chat::storeLE<uint32_t>(body.data(), 1001);  // room id
    chat::storeLE<uint32_t>(body.data() + 4, static_cast<uint32_t>(kRecords));
    for (size_t i = 0; i < kRecords; ++i) {
        uint8_t* record = body.data() + TcpPacket::kListHeadSize + i * TcpPacket::kRecordSize;
        chat::storeLE<uint32_t>(record, static_cast<uint32_t>(500000 + i * 37));
        char account[64];
        std::snprintf(account, sizeof account, "player%05zu", i * 7919 % 100000);
        chat::putNarrow(record + 4, 64, account);
        const std::u16string nickname = u"玩家" + std::u16string(1, char16_t(u'甲' + i % 60)) +
                                        std::u16string(1, char16_t(u'0' + i % 10));
        chat::putWide(record + 68, 12, nickname);
        chat::storeLE<uint32_t>(record + 92, 255);
        record[96] = "MFU"[i % 3];
        record[97] = 1;
        const std::array<uint8_t, 6> mac = {0x00,
                                            0x1A,
                                            0x2B,
                                            static_cast<uint8_t>(i >> 8),
                                            static_cast<uint8_t>(i),
                                            static_cast<uint8_t>(i * 13)};
        std::copy(mac.begin(), mac.end(), record + 98);
        const std::array<uint8_t, 4> ip = {10, static_cast<uint8_t>(i % 4),
                                           static_cast<uint8_t>(i / 4),
                                           static_cast<uint8_t>(i * 31)};
        std::copy(ip.begin(), ip.end(), record + 124);
        chat::storeLE<uint32_t>(record + 128, i % 50 == 0 ? 0x20u : 0x01u);
    }
    return body;
}

std::vector<uint8_t> compressedChatterListPacket() {
    const std::vector<uint8_t> body = chatterListBody();
    uLongf length = compressBound(static_cast<uLong>(body.size()));
    std::vector<uint8_t> packet(24 + length, 0);
    compress(packet.data() + 24, &length, body.data(), static_cast<uLong>(body.size()));
    packet.resize(24 + length);
    chat::storeLE<uint32_t>(packet.data(), static_cast<uint32_t>(packet.size()));
    chat::storeLE<uint16_t>(packet.data() + 4, 12);
    chat::storeLE<uint16_t>(packet.data() + 6, 1);
    return packet;
}

void BM_InflateChatterList(benchmark::State& state) {
    const std::vector<uint8_t> packet = compressedChatterListPacket();
    size_t inflated = 0;
    for (auto _ : state) {
        const TcpPacket::HeadAndRecords list = TcpPacket::decodeHeadAndRecords(packet);
        inflated = TcpPacket::kListHeadSize + list.records.size() * TcpPacket::kRecordSize;
        benchmark::DoNotOptimize(list.records.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * inflated));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kRecords));
    state.counters["compressed_bytes"] = static_cast<double>(packet.size());
}
BENCHMARK(BM_InflateChatterList);

}  // namespace
