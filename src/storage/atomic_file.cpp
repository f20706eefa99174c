#include "storage/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/file_io.h"

namespace chat {
namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr const char* kOpenFailedText = "无效的文件句柄（文件打开失败）";
constexpr const char* kWriteFailedText = "写文件失败";

// Makes the rename itself durable.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    std::string pattern = target_.string() + ".XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        throw tekna::FileIO::EFileIO(kOpenFailedText);
    }
    temporary_ = pattern;
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    closeFile();
    if (!committed_) {
        ::unlink(temporary_.c_str());
    }
}

void AtomicFileWriter::closeFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void AtomicFileWriter::flushBuffer() {
    const char* data = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw tekna::FileIO::EFileIO(kWriteFailedText, written < 0 ? errno : ENOSPC);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    buffer_.clear();
}

void AtomicFileWriter::write(const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const size_t chunk = std::min(size, kBufferSize - buffer_.size());
        buffer_.insert(buffer_.end(), bytes, bytes + chunk);
        bytes += chunk;
        size -= chunk;
        if (buffer_.size() == kBufferSize) {
            flushBuffer();
        }
    }
}

void AtomicFileWriter::commit(const std::function<void()>& beforeReplace) {
    flushBuffer();
    if (::fsync(fd_) != 0) {
        throw tekna::FileIO::EFileIO(kWriteFailedText);
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        throw tekna::FileIO::EFileIO(kWriteFailedText);
    }
    fd_ = -1;
    if (beforeReplace) {
        beforeReplace();
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw tekna::FileIO::EFileIO(kWriteFailedText);
    }
    committed_ = true;
    syncFolder(target_.parent_path());
}

bool replaceFileContent(const std::filesystem::path& target, std::string_view bytes) {
    try {
        AtomicFileWriter writer(target);
        writer.write(bytes);
        writer.commit();
        return true;
    } catch (const tekna::FileIO::EFileIO&) {
        return false;
    }
}

}  // namespace chat
