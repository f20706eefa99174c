// Saving and loading a full room history (8191 records of a typical chat line) next to writing and
// reading the same bytes raw, with and without the flush to disk that a save makes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "content/message_composer.h"
#include "storage/chat_record_file.h"

namespace {

std::filesystem::path benchFile(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string(name) + std::to_string(::getpid()) + ".dat");
}

// A text message of 30 characters, as the sections of a received packet.
std::vector<uint8_t> typicalContent() {
    chat::MessageSequence sequence;
    chat::ComposeRequest request;
    request.ownChatterId = 1;
    const auto packet = chat::composeChatMessage(
        request, {std::u16string(u"您好，请问这个游戏的账号怎么找回密码呢？谢谢您的帮助")},
        sequence);
    return {packet.begin() + chat::kChatSectionsOffset, packet.end()};
}

void fillStore(chat::ChatRecordFile& store) {
    const auto content = typicalContent();
    for (size_t i = 0; i < chat::ChatRecordFile::kMaxRecords; ++i) {
        store.addRecord(chat::SystemTime{2026, 12, 5, 11, 13, 5, 9, 0}, "player123456", u"玩家昵称",
                        false, content, chat::TextStyle{});
    }
}

void BM_SaveRecords(benchmark::State& state) {
    const auto path = benchFile("bench_records_save");
    chat::ChatRecordFile store(1, path);
    fillStore(store);
    for (auto _ : state) {
        store.save();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(std::filesystem::file_size(path)));
    store.setBeforeReplaceHook([] { throw std::runtime_error("done"); });
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveRecords)->Unit(benchmark::kMillisecond);

void BM_LoadRecords(benchmark::State& state) {
    const auto path = benchFile("bench_records_load");
    {
        chat::ChatRecordFile writer(1, path);
        fillStore(writer);
    }
    chat::ChatRecordFile store(1, path);
    for (auto _ : state) {
        store.load();
        benchmark::DoNotOptimize(store.records().size());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) *
                            int64_t(std::filesystem::file_size(path)));
    store.setBeforeReplaceHook([] { throw std::runtime_error("done"); });
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadRecords)->Unit(benchmark::kMillisecond);

std::string savedBytes() {
    const auto path = benchFile("bench_records_raw_source");
    {
        chat::ChatRecordFile writer(1, path);
        fillStore(writer);
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return bytes;
}

// arg 1: flush to disk before closing, as a save does.
void BM_RawWrite(benchmark::State& state) {
    const std::string bytes = savedBytes();
    const auto path = benchFile("bench_records_raw_write");
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        if (state.range(0) != 0) {
            ::fsync(fd);
        }
        ::close(fd);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_RawWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state) {
    const std::string bytes = savedBytes();
    const auto path = benchFile("bench_records_raw_read");
    std::ofstream(path, std::ios::binary) << bytes;
    std::string buffer(bytes.size(), '\0');
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

}  // namespace
