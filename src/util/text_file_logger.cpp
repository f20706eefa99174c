#include "util/text_file_logger.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>

namespace tekna {

TextFileLogger::TextFileLogger(std::filesystem::path path, uint32_t sizeLimit)
    : path_(std::move(path)), backupPath_(path_.string() + ".bak"), sizeLimit_(sizeLimit) {}

void TextFileLogger::write(const std::string& line) {
    long size = 0;
    if (std::FILE* file = std::fopen(path_.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), file);
        if (std::fseek(file, 0, SEEK_END) == 0) {
            size = std::max(std::ftell(file), 0L);
        }
        std::fclose(file);
    }
    if (sizeLimit_ != 0 && static_cast<unsigned long>(size) > sizeLimit_) {
        std::error_code ignored;
        std::filesystem::remove(backupPath_, ignored);
        std::filesystem::rename(path_, backupPath_, ignored);
    }
}

void TextFileLoggerThreadSafe::write(const std::string& line) {
    const std::lock_guard lock(mutex_);
    TextFileLogger::write(line);
}

}  // namespace tekna
