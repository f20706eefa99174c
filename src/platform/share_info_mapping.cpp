#include "platform/share_info_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <stdexcept>

#include "util/little_endian.h"

namespace chat {

namespace {

constexpr std::size_t kRecordHeadSize = 8;
constexpr mode_t kOpenToEveryUser = 0666;

}  // namespace

std::optional<std::span<const std::uint8_t>> findShareInfoRecord(
    std::span<const std::uint8_t> block, std::uint32_t type) {
    if (block.size() < sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    const std::size_t used = loadLE<std::uint32_t>(block.data());
    if (used > block.size()) {
        return std::nullopt;
    }
    std::size_t offset = sizeof(std::uint32_t);
    while (offset < used) {
        if (used - offset < kRecordHeadSize) {
            return std::nullopt;
        }
        const std::size_t length = loadLE<std::uint32_t>(block.data() + offset);
        const std::uint32_t recordType = loadLE<std::uint32_t>(block.data() + offset + 4);
        if (length < kRecordHeadSize || length > used - offset) {
            return std::nullopt;
        }
        if (recordType == type) {
            return block.subspan(offset + kRecordHeadSize, length - kRecordHeadSize);
        }
        offset += length;
    }
    return std::nullopt;
}

ShareInfoMapping::ShareInfoMapping(std::string name, std::chrono::milliseconds lockWait)
    : name_(std::move(name)), lockWait_(lockWait) {
    // A new lock starts taken: the block is not free until its creator has initialised it.
    lock_ = ::sem_open((name_ + kLockSuffix).c_str(), O_CREAT, kOpenToEveryUser, 0);
    if (lock_ == SEM_FAILED) {
        throw std::runtime_error("Create Event Fail");
    }
    bool created = true;
    fd_ = ::shm_open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kOpenToEveryUser);
    if (fd_ < 0 && errno == EEXIST) {
        created = false;
        fd_ = ::shm_open(name_.c_str(), O_RDWR | O_CLOEXEC, 0);
    }
    if (fd_ < 0 || (created && (::fchmod(fd_, kOpenToEveryUser) != 0 ||
                                ::ftruncate(fd_, static_cast<off_t>(kBlockSize)) != 0))) {
        releaseResources();
        throw std::runtime_error("Create FileMapping Fail");
    }
    block_ = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (block_ == MAP_FAILED) {
        block_ = nullptr;
        releaseResources();
        throw std::runtime_error("Get FileMapping Buff Fail");
    }
    if (created) {
        std::memset(block_, 0, kBlockSize);
        storeLE<std::uint32_t>(block_, kEmptyUsedLength);
        // A lock left behind by an earlier block may still hold a count; the new block must be
        // free exactly once.
        while (::sem_trywait(lock_) == 0) {
        }
        ::sem_post(lock_);
    }
}

ShareInfoMapping::~ShareInfoMapping() {
    releaseResources();
}

void ShareInfoMapping::releaseResources() {
    if (block_ != nullptr) {
        ::munmap(block_, kBlockSize);
        block_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (lock_ != SEM_FAILED) {
        ::sem_close(lock_);
        lock_ = SEM_FAILED;
    }
}

std::optional<std::string> ShareInfoMapping::readUserText() {
    if (!acquireLock()) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    // A block opened before its creator sized it must not be touched beyond its real size.
    struct stat status {};
    if (::fstat(fd_, &status) == 0 && static_cast<std::size_t>(status.st_size) >= kBlockSize) {
        const std::span<const std::uint8_t> block(static_cast<const std::uint8_t*>(block_),
                                                  kBlockSize);
        if (const auto data = findShareInfoRecord(block, kUserTextRecord)) {
            const auto end = std::find(data->begin(), data->end(), std::uint8_t{0});
            text.emplace(data->begin(), end);
        }
    }
    releaseLock();
    return text;
}

bool ShareInfoMapping::acquireLock() {
    timespec deadline{};
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(lockWait_).count();
    deadline.tv_sec += static_cast<time_t>(wait / 1'000'000'000);
    deadline.tv_nsec += static_cast<long>(wait % 1'000'000'000);
    if (deadline.tv_nsec >= 1'000'000'000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1'000'000'000;
    }
    int result;
    do {
        result = ::sem_timedwait(lock_, &deadline);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

void ShareInfoMapping::releaseLock() {
    ::sem_post(lock_);
}

void ShareInfoMapping::remove(const std::string& name) {
    ::shm_unlink(name.c_str());
    ::sem_unlink((name + kLockSuffix).c_str());
}

}  // namespace chat
