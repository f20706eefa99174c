#include "platform/share_info_mapping.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "util/little_endian.h"

namespace chat {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One record: u32 length (head included), u32 type, data.
Bytes record(std::uint32_t type, const std::string& data, std::uint32_t length = 0) {
    Bytes bytes(8 + data.size());
    storeLE<std::uint32_t>(bytes.data(),
                           length != 0 ? length : static_cast<std::uint32_t>(bytes.size()));
    storeLE<std::uint32_t>(bytes.data() + 4, type);
    std::memcpy(bytes.data() + 8, data.data(), data.size());
    return bytes;
}

// A whole block: the used length (computed unless given), then the records.
Bytes block(const std::vector<Bytes>& records, std::uint32_t used = 0) {
    Bytes bytes(4);
    for (const Bytes& r : records) {
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    storeLE<std::uint32_t>(bytes.data(),
                           used != 0 ? used : static_cast<std::uint32_t>(bytes.size()));
    bytes.resize(ShareInfoMapping::kBlockSize);
    return bytes;
}

struct WalkCase {
    const char* what;
    Bytes block;
    std::optional<std::string> data;
};

class RecordWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(RecordWalk, FindsTheFirstUserTextOrStops) {
    const WalkCase& c = GetParam();
    const auto found = findShareInfoRecord(c.block, ShareInfoMapping::kUserTextRecord);
    ASSERT_EQ(found.has_value(), c.data.has_value());
    if (found) {
        EXPECT_EQ(std::string(found->begin(), found->end()), *c.data);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, RecordWalk,
    ::testing::Values(
        WalkCase{"empty block", block({}), std::nullopt},
        WalkCase{"other record, then the text",
                 block({record(3, "abc"), record(5, std::string("user\0x", 6))}),
                 std::string("user\0x", 6)},
        WalkCase{"first of two texts", block({record(5, "one"), record(5, "two")}), "one"},
        WalkCase{"text without data", block({record(5, "")}), ""},
        WalkCase{"huge record length", block({record(3, "", 0xFFFF'FFFF), record(5, "x")}),
                 std::nullopt},
        WalkCase{"record length 0 loops", block({Bytes{0, 0, 0, 0, 3, 0, 0, 0}}), std::nullopt},
        WalkCase{"record length 7", block({Bytes{7, 0, 0, 0, 3, 0, 0, 0}, record(5, "x")}),
                 std::nullopt},
        WalkCase{"used length beyond the block", block({record(5, "x")}, 5000), std::nullopt},
        WalkCase{"record past the used length", block({record(5, "abc", 100)}), std::nullopt},
        WalkCase{"record past the end of the block",
                 block({record(3, "", ShareInfoMapping::kBlockSize), record(5, "x")},
                       ShareInfoMapping::kBlockSize),
                 std::nullopt},
        WalkCase{"head cut by the used length", block({record(3, "")}, 4 + 8 + 5), std::nullopt}),
    [](const ::testing::TestParamInfo<WalkCase>& walk) {
        std::string name = walk.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST(RecordWalkLimits, ShortBlockHasNoUsedLength) {
    const Bytes tiny{4, 0};
    EXPECT_FALSE(findShareInfoRecord(tiny, 5).has_value());
}

// Each test gets block and lock names of its own and removes them afterwards.
class ShareInfoMappingTest : public ::testing::Test {
  protected:
    std::string name_ = "/chat_test_share_info_" + std::to_string(::getpid()) + "_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name();

    void SetUp() override { ShareInfoMapping::remove(name_); }
    void TearDown() override { ShareInfoMapping::remove(name_); }

    // What the platform's main client does: map the block and write it while holding the lock.
    void writeBlock(const Bytes& bytes, bool takeLock = true) {
        const int fd = ::shm_open(name_.c_str(), O_RDWR, 0);
        ASSERT_GE(fd, 0);
        void* mapped = ::mmap(nullptr, ShareInfoMapping::kBlockSize, PROT_READ | PROT_WRITE,
                              MAP_SHARED, fd, 0);
        ::close(fd);
        ASSERT_NE(mapped, MAP_FAILED);
        sem_t* lock = takeLock ? openLock() : nullptr;
        if (lock != nullptr) {
            ::sem_wait(lock);
        }
        std::memcpy(mapped, bytes.data(), ShareInfoMapping::kBlockSize);
        if (lock != nullptr) {
            ::sem_post(lock);
            ::sem_close(lock);
        }
        ::munmap(mapped, ShareInfoMapping::kBlockSize);
    }

    sem_t* openLock() { return ::sem_open((name_ + ShareInfoMapping::kLockSuffix).c_str(), 0); }

    int lockCount() {
        sem_t* lock = openLock();
        int value = -1;
        ::sem_getvalue(lock, &value);
        ::sem_close(lock);
        return value;
    }
};

TEST_F(ShareInfoMappingTest, CreatorInitialisesAnEmptyFreeBlock) {
    ShareInfoMapping mapping(name_);
    EXPECT_EQ(lockCount(), 1);
    EXPECT_FALSE(mapping.readUserText().has_value());
    EXPECT_EQ(lockCount(), 1);

    const int fd = ::shm_open(name_.c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    std::uint8_t head[8];
    ASSERT_EQ(::pread(fd, head, sizeof head, 0), 8);
    ::close(fd);
    EXPECT_EQ(loadLE<std::uint32_t>(head), 4u);
    EXPECT_EQ(loadLE<std::uint32_t>(head + 4), 0u);
}

TEST_F(ShareInfoMappingTest, ReadsTheUserTextUpToItsZeroByte) {
    ShareInfoMapping mapping(name_);
    writeBlock(block({record(3, "other"), record(5, std::string("\xC4\xE3\xBA\xC3\0tail", 9))}));
    EXPECT_EQ(mapping.readUserText(), std::optional<std::string>("\xC4\xE3\xBA\xC3"));
    writeBlock(block({record(5, "")}));
    EXPECT_EQ(mapping.readUserText(), std::optional<std::string>(""));
}

TEST_F(ShareInfoMappingTest, SecondOpenerKeepsTheBlockAndTheLock) {
    ShareInfoMapping first(name_);
    writeBlock(block({record(5, "kept")}));
    ShareInfoMapping second(name_);
    EXPECT_EQ(lockCount(), 1);
    EXPECT_EQ(second.readUserText(), std::optional<std::string>("kept"));
}

TEST_F(ShareInfoMappingTest, NewBlockIsFreeOnceEvenWithAStaleLockLeftBehind) {
    sem_t* stale = ::sem_open((name_ + ShareInfoMapping::kLockSuffix).c_str(), O_CREAT, 0600, 3);
    ASSERT_NE(stale, SEM_FAILED);
    ::sem_close(stale);
    ShareInfoMapping mapping(name_);
    EXPECT_EQ(lockCount(), 1);
}

TEST_F(ShareInfoMappingTest, DamagedBlockReadsNoTextAndFreesTheLock) {
    ShareInfoMapping mapping(name_);
    writeBlock(block({Bytes{0, 0, 0, 0, 5, 0, 0, 0}}));
    EXPECT_FALSE(mapping.readUserText().has_value());
    EXPECT_EQ(lockCount(), 1);
}

TEST_F(ShareInfoMappingTest, ReaderWaitsWhileTheWriterHoldsTheLock) {
    ShareInfoMapping mapping(name_);
    sem_t* lock = openLock();
    ASSERT_EQ(::sem_wait(lock), 0);

    std::atomic<bool> started{false};
    auto reader = std::async(std::launch::async, [&] {
        started = true;
        return mapping.readUserText();
    });
    while (!started) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Written while the reader waits: a reader that did not wait would miss it.
    writeBlock(block({record(5, "written under the lock")}), false);
    ::sem_post(lock);
    ::sem_close(lock);

    EXPECT_EQ(reader.get(), std::optional<std::string>("written under the lock"));
    EXPECT_EQ(lockCount(), 1);
}

TEST_F(ShareInfoMappingTest, LockNeverFreedGivesNoTextAfterTheWait) {
    ShareInfoMapping mapping(name_, std::chrono::milliseconds(20));
    sem_t* lock = openLock();
    ASSERT_EQ(::sem_wait(lock), 0);
    EXPECT_FALSE(mapping.readUserText().has_value());
    EXPECT_EQ(lockCount(), 0);
    ::sem_post(lock);
    ::sem_close(lock);
}

TEST_F(ShareInfoMappingTest, UnusableNamesReportTheLockFailure) {
    EXPECT_THROW(
        {
            try {
                ShareInfoMapping mapping("/no/slashes/inside");
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Create Event Fail");
                throw;
            }
        },
        std::runtime_error);
}

}  // namespace
}  // namespace chat
