#pragma once
// Only one copy of the program runs per user: the running copy holds an exclusive lock on a file
// named by the program's GUID in the user's runtime folder. The system drops the lock when the
// process ends, however it ends, so a crashed copy never blocks the next start.
#include <filesystem>

namespace chat {

class SingleInstanceLock {
  public:
    static constexpr const char* kLockName = "{DCA270C1-8583-413f-8122-EFD46CD817FF}";

    // $XDG_RUNTIME_DIR when it names a folder, otherwise the user's own folder "chat-<uid>" in the
    // temporary folder (created when missing).
    static std::filesystem::path defaultFolder();

    // Throws std::runtime_error "客服系统已在运行中！" when another process holds the lock and
    // "内部错误 137" when the lock file cannot be created or locked.
    explicit SingleInstanceLock(const std::filesystem::path& folder = defaultFolder());
    ~SingleInstanceLock();

    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  private:
    int fd_;
};

}  // namespace chat
