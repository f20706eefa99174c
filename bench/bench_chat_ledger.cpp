// Recording 100,000 messages in the chat box ledger with the default box size (131072
// characters): the cost of a message must not grow with the number recorded before it, trimming
// included. Reports the cost per message of the first and of the last 10,000.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "content/chat_box_ledger.h"

namespace {

constexpr int32_t kDefaultMaxChars = 131072;
constexpr int32_t kMessageLength = 57;  // a header line and a short body
constexpr int kMessages = 100000;
constexpr int kMeasured = 10000;

void BM_LedgerRecord100k(benchmark::State& state) {
    double firstSeconds = 0;
    double lastSeconds = 0;
    for (auto _ : state) {
        chat::ChatBoxLedger ledger;
        int32_t end = 0;
        auto chunkStart = std::chrono::steady_clock::now();
        for (int i = 0; i < kMessages; ++i) {
            if (i == kMessages - kMeasured) {
                chunkStart = std::chrono::steady_clock::now();
            }
            const auto trim =
                ledger.record({1, end, end + kMessageLength, i & 1}, kDefaultMaxChars);
            end += kMessageLength - trim.removedLength;
            benchmark::DoNotOptimize(trim.removals.data());
            if (i == kMeasured - 1) {
                firstSeconds +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - chunkStart)
                        .count();
            }
        }
        lastSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - chunkStart).count();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["first10k_ns_per_msg"] = firstSeconds / runs / kMeasured * 1e9;
    state.counters["last10k_ns_per_msg"] = lastSeconds / runs / kMeasured * 1e9;
    state.counters["last_over_first"] = lastSeconds / firstSeconds;
    state.SetItemsProcessed(int64_t(state.iterations()) * kMessages);
}
BENCHMARK(BM_LedgerRecord100k)->Unit(benchmark::kMillisecond);

}  // namespace
