// Loads arbitrary bytes as a room's record file and walks the records that were read.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "storage/chat_record_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Memory-backed when the system has such a folder: the store flushes what it saves.
    static const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                    ? std::filesystem::path("/dev/shm")
                                                    : std::filesystem::temp_directory_path();
    static const std::filesystem::path path =
        folder / ("fuzz_chat_record_file_" + std::to_string(::getpid()) + ".dat");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    chat::ChatRecordFile store(1, path);
    try {
        store.load();
    } catch (const std::runtime_error&) {
    }
    size_t total = 0;
    for (const auto& record : store.records()) {
        const chat::ChatRecordView view(record);
        total += view.account().size() + view.nickname().size() + view.content().size();
    }
    store.setBeforeReplaceHook([] { throw std::runtime_error("do not rewrite the input"); });
    std::filesystem::remove(path);
    return total == size_t(-1) ? 1 : 0;
}
