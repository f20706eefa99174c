#include "app/single_instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "platform/scoped_environment.h"

namespace chat {
namespace {

enum ChildResult { kLocked = 0, kRefusedAsRunning = 1, kOtherError = 2 };

// Tries the lock in a child process, as a second copy of the program would.
int lockInChild(const std::filesystem::path& folder) {
    const pid_t child = fork();
    if (child == 0) {
        int result = kLocked;
        try {
            SingleInstanceLock lock(folder);
        } catch (const std::runtime_error& error) {
            result = std::strcmp(error.what(), "客服系统已在运行中！") == 0 ? kRefusedAsRunning
                                                                            : kOtherError;
        }
        _exit(result);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SingleInstanceLockTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("single-instance-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_F(SingleInstanceLockTest, SecondCopyIsRefusedWhileTheFirstRuns) {
    std::optional<SingleInstanceLock> first;
    first.emplace(folder_);
    EXPECT_TRUE(std::filesystem::exists(folder_ / SingleInstanceLock::kLockName));
    EXPECT_EQ(lockInChild(folder_), kRefusedAsRunning);
    EXPECT_EQ(lockInChild(folder_), kRefusedAsRunning);  // the first copy still holds it
    first.reset();
    EXPECT_EQ(lockInChild(folder_), kLocked);
}

TEST_F(SingleInstanceLockTest, LockFileThatCannotBeCreatedIsInternalError137) {
    try {
        SingleInstanceLock lock(folder_ / "missing" / "folder");
        FAIL() << "locked in a missing folder";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "内部错误 137");
    }
}

TEST_F(SingleInstanceLockTest, DefaultFolderIsTheRuntimeFolderOrTemp) {
    {
        const test::ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder_.string());
        EXPECT_EQ(SingleInstanceLock::defaultFolder(), folder_);
    }
    const test::ScopedEnvironment missing("XDG_RUNTIME_DIR", (folder_ / "missing").string());
    const std::filesystem::path own =
        std::filesystem::temp_directory_path() / ("chat-" + std::to_string(getuid()));
    EXPECT_EQ(SingleInstanceLock::defaultFolder(), own);
    EXPECT_TRUE(std::filesystem::is_directory(own));
}

}  // namespace
}  // namespace chat
