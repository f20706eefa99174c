#pragma once
// Replaces a file as a whole or not at all: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target, so a crash or a full disk never leaves
// a truncated file behind. Writes are buffered.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace chat {

class AtomicFileWriter {
  public:
    // Creates the temporary file; throws tekna::FileIO::EFileIO "无效的文件句柄（文件打开失败）".
    explicit AtomicFileWriter(std::filesystem::path target);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Throws tekna::FileIO::EFileIO "写文件失败".
    void write(const void* data, size_t size);
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

    // Flushes and syncs the temporary file, calls `beforeReplace` (a point where tests inject a
    // failure), then renames it over the target. Throws tekna::FileIO::EFileIO "写文件失败".
    void commit(const std::function<void()>& beforeReplace = {});

  private:
    void flushBuffer();
    void closeFile();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    bool committed_ = false;
    std::vector<char> buffer_;
};

// Writes `bytes` as the whole new content of `target`; false when that failed (the old content is
// then unchanged).
bool replaceFileContent(const std::filesystem::path& target, std::string_view bytes);

}  // namespace chat
