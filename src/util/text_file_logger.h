#pragma once
// File loggers: each line is appended to the file, which is opened and closed for every line and
// never truncated. When the file grows past the size limit it becomes the one backup (path +
// ".bak", replacing an older backup) and the next line starts a new file. Every file error is
// ignored: a line that cannot be written is lost, and a failed rotation is tried again with the
// next line.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

#include "util/logger.h"

namespace tekna {

class TextFileLogger : public Logger {
  public:
    static constexpr uint32_t kDefaultSizeLimit = 1048576;

    // A limit of 0 means no limit.
    explicit TextFileLogger(std::filesystem::path path, uint32_t sizeLimit = kDefaultSizeLimit);

    void write(const std::string& line) override;

    const std::filesystem::path& path() const { return path_; }
    const std::filesystem::path& backupPath() const { return backupPath_; }

  private:
    std::filesystem::path path_;
    std::filesystem::path backupPath_;
    uint32_t sizeLimit_;
};

// The same, with one lock held over the whole write (open, write, size, close, rotation), so lines
// from several threads never interleave and a rotation never races a write.
class TextFileLoggerThreadSafe : public TextFileLogger {
  public:
    using TextFileLogger::TextFileLogger;

    void write(const std::string& line) override;

  private:
    std::mutex mutex_;
};

}  // namespace tekna
