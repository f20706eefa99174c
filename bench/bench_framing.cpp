// Cutting a received stream into packets, next to a plain memcpy of the same bytes in the same
// reads: the framer's cost over the copy it cannot avoid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "protocol/packet_framer.h"

namespace {

constexpr size_t kReadSize = 64 * 1024;
constexpr size_t kStreamSize = 8 * 1024 * 1024;

std::vector<uint8_t> streamOf(size_t packetSize) {
    const std::vector<uint8_t> packet = makePacket(14, packetSize - kPacketHeaderSize);
    std::vector<uint8_t> stream;
    stream.reserve(kStreamSize);
    while (stream.size() + packetSize <= kStreamSize) {
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

void BM_Framing(benchmark::State& state) {
    const auto packetSize = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> stream = streamOf(packetSize);
    size_t handed = 0;
    PacketFramer framer(
        [&handed](std::span<const uint8_t> packet) {
            benchmark::DoNotOptimize(packet.data());
            ++handed;
            return true;
        },
        nullptr);
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += kReadSize) {
            const size_t length = std::min(kReadSize, stream.size() - at);
            if (!framer.feed({stream.data() + at, length})) {
                state.SkipWithError("framer refused the stream");
                return;
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.SetItemsProcessed(static_cast<int64_t>(handed));
}
BENCHMARK(BM_Framing)->Arg(64)->Arg(64 * 1024);

void BM_MemcpyBaseline(benchmark::State& state) {
    const auto packetSize = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> stream = streamOf(packetSize);
    const auto buffer = std::make_unique<uint8_t[]>(kMaxPacketSize);
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += kReadSize) {
            const size_t length = std::min(kReadSize, stream.size() - at);
            std::memcpy(buffer.get(), stream.data() + at, length);
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.SetItemsProcessed(
        static_cast<int64_t>(state.iterations() * (stream.size() / packetSize)));
}
BENCHMARK(BM_MemcpyBaseline)->Arg(64)->Arg(64 * 1024);

}  // namespace
