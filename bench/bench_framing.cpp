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

// Small enough to stay in the L2 cache, as freshly received socket data is: with a source streamed
// from memory, the copy's speed depends on how source and target addresses fall within a page
// (glibc then copies backwards), which hides the framer's own cost.
constexpr size_t kStreamSize = 1024 * 1024;

std::vector<uint8_t> streamOf(size_t packetSize) {
    const std::vector<uint8_t> packet = makePacket(14, packetSize - kPacketHeaderSize);
    std::vector<uint8_t> stream;
    stream.reserve(kStreamSize);
    while (stream.size() + packetSize <= kStreamSize) {
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

// {packet size, read size}: 64 KiB reads, and reads of one TCP segment, which leave a part of a
// packet behind after nearly every read.
void readPatterns(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"packet", "read"});
    bench->Args({64, 64 * 1024})->Args({64 * 1024, 64 * 1024})->Args({64, 1460});
    bench->Args({64 * 1024, 1460});
}

void BM_Framing(benchmark::State& state) {
    const auto packetSize = static_cast<size_t>(state.range(0));
    const auto readSize = static_cast<size_t>(state.range(1));
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
        for (size_t at = 0; at < stream.size(); at += readSize) {
            const size_t length = std::min(readSize, stream.size() - at);
            if (!framer.feed({stream.data() + at, length})) {
                state.SkipWithError("framer refused the stream");
                return;
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.SetItemsProcessed(static_cast<int64_t>(handed));
}
BENCHMARK(BM_Framing)->Apply(readPatterns);

void BM_MemcpyBaseline(benchmark::State& state) {
    const auto packetSize = static_cast<size_t>(state.range(0));
    const auto readSize = static_cast<size_t>(state.range(1));
    const std::vector<uint8_t> stream = streamOf(packetSize);
    const auto buffer = std::make_unique<uint8_t[]>(kMaxPacketSize);
    size_t filled = 0;  // reads land one after another, as in the receive buffer
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += readSize) {
            const size_t length = std::min(readSize, stream.size() - at);
            if (filled + length > kMaxPacketSize) {
                filled = 0;
            }
            std::memcpy(buffer.get() + filled, stream.data() + at, length);
            filled += length;
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.SetItemsProcessed(
        static_cast<int64_t>(state.iterations() * (stream.size() / packetSize)));
}
BENCHMARK(BM_MemcpyBaseline)->Apply(readPatterns);

}  // namespace
