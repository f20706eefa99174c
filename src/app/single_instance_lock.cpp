#include "app/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace chat {

std::filesystem::path SingleInstanceLock::defaultFolder() {
    std::error_code error;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && runtime[0] == '/' && std::filesystem::is_directory(runtime, error)) {
        return runtime;
    }
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error) {
        temp = "/tmp";
    }
    // The temporary folder is shared by all users: each user gets a private folder in it, so one
    // user's running copy neither blocks nor is blocked by another user's.
    const std::filesystem::path own = temp / ("chat-" + std::to_string(::getuid()));
    ::mkdir(own.c_str(), 0700);
    return own;
}

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& folder)
    : fd_(::open((folder / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0) {
        throw std::runtime_error("内部错误 137");
    }
    int result;
    do {
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd_);
        throw std::runtime_error(held ? "客服系统已在运行中！" : "内部错误 137");
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    ::close(fd_);
}

}  // namespace chat
