#include "util/text_file_logger.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/scoped_environment.h"
#include "storage/chat_log.h"

namespace tekna {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TextFileLoggerTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("text-file-logger-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        log_ = folder_ / "palvern.log";
        backup_ = folder_ / "palvern.log.bak";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void writeFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::filesystem::path folder_;
    std::filesystem::path log_;
    std::filesystem::path backup_;
};

TEST_F(TextFileLoggerTest, AppendsWithoutTruncating) {
    writeFile(log_, "old\r\n");
    TextFileLogger logger(log_);
    EXPECT_EQ(logger.backupPath(), backup_);
    logger.write("one\r\n");
    logger.write("two\r\n");
    EXPECT_EQ(readFile(log_), "old\r\none\r\ntwo\r\n");
    EXPECT_FALSE(std::filesystem::exists(backup_));
}

TEST_F(TextFileLoggerTest, RotatesOnlyWhenTheSizeExceedsTheLimit) {
    constexpr uint32_t kLimit = 100;
    struct Case {
        std::string name;
        size_t existing;
        std::vector<std::string> lines;
        bool rotated;
        std::string logAfter;
    };
    const std::string ten = "123456789\n";
    const std::vector<Case> cases = {
        {"6 below the limit plus 10 bytes", kLimit - 6, {ten}, true, ""},
        {"new file after the rotation", kLimit - 6, {ten, "next\n"}, true, "next\n"},
        {"exactly at the limit stays",
         kLimit - 10,
         {ten},
         false,
         std::string(kLimit - 10, 'x') + ten},
        {"at the limit rotates with the next line", kLimit - 10, {ten, "1"}, true, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(log_);
        writeFile(backup_, "previous backup");
        const std::string existing(c.existing, 'x');
        writeFile(log_, existing);
        TextFileLogger logger(log_, kLimit);
        std::string written = existing;
        for (const std::string& line : c.lines) {
            logger.write(line);
            written += line;
        }
        if (c.rotated) {
            // The old backup is replaced by the log as it was when it grew too big.
            EXPECT_NE(readFile(backup_), "previous backup") << c.name;
            EXPECT_TRUE(written.starts_with(readFile(backup_))) << c.name;
            EXPECT_GT(readFile(backup_).size(), kLimit) << c.name;
        } else {
            EXPECT_EQ(readFile(backup_), "previous backup") << c.name;
        }
        EXPECT_EQ(readFile(log_), c.logAfter) << c.name;
    }
}

TEST_F(TextFileLoggerTest, ZeroLimitNeverRotates) {
    TextFileLogger logger(log_, 0);
    for (int i = 0; i < 10; ++i) {
        logger.write(std::string(1000, 'z'));
    }
    EXPECT_EQ(readFile(log_).size(), 10000u);
    EXPECT_FALSE(std::filesystem::exists(backup_));
}

TEST_F(TextFileLoggerTest, EmptyMessageWritesNothingAndFileErrorsAreIgnored) {
    TextFileLogger logger(log_);
    logMessage(&logger, "");
    EXPECT_FALSE(std::filesystem::exists(log_));
    logMessage(&logger, "event");
    EXPECT_TRUE(readFile(log_).ends_with("\tevent\r\n"));

    TextFileLogger unwritable(folder_ / "missing" / "x.log", 1);
    EXPECT_NO_THROW(unwritable.write("lost\r\n"));
    std::filesystem::create_directory(folder_ / "dir.log");
    TextFileLogger onAFolder(folder_ / "dir.log", 1);
    EXPECT_NO_THROW(onAFolder.write("lost\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "dir.log"));
}

TEST_F(TextFileLoggerTest, LinesFromSeveralThreadsNeverInterleave) {
    // The limit makes rotations happen amid the writes: both files must hold whole lines only,
    // and the backup must be the log exactly as it was when one line took it past the limit.
    constexpr uint32_t kLimit = 50000;
    constexpr size_t kLineSize = 202;
    TextFileLoggerThreadSafe logger(log_, kLimit);
    constexpr int kThreads = 4;
    constexpr int kLines = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&logger, t] {
            const std::string line =
                std::string(kLineSize - 2, static_cast<char>('a' + t)) + "\r\n";
            for (int i = 0; i < kLines; ++i) {
                logger.write(line);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::string backup = readFile(backup_);
    EXPECT_GT(backup.size(), kLimit);
    EXPECT_LE(backup.size(), kLimit + kLineSize);
    for (const std::string& text : {backup, readFile(log_)}) {
        ASSERT_EQ(text.size() % kLineSize, 0u);
        for (size_t pos = 0; pos < text.size(); pos += kLineSize) {
            const char c = text[pos];
            ASSERT_TRUE(c >= 'a' && c < 'a' + kThreads);
            ASSERT_EQ(text.substr(pos, kLineSize), std::string(kLineSize - 2, c) + "\r\n");
        }
    }
}

TEST_F(TextFileLoggerTest, ChatLogLivesInPalvernUnderTheLocalDataFolder) {
    const chat::test::ScopedEnvironment data("XDG_DATA_HOME", (folder_ / "data").string());
    EXPECT_EQ(chat::chatLogPath(), folder_ / "data" / "palvern" / "palvern.log");
    EXPECT_TRUE(std::filesystem::is_directory(folder_ / "data" / "palvern"));
    const auto logger = chat::createChatLog();
    EXPECT_EQ(logger->path(), folder_ / "data" / "palvern" / "palvern.log");
}

}  // namespace
}  // namespace tekna
