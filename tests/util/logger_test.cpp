#include "util/logger.h"

#include <gtest/gtest.h>

#include <vector>

namespace tekna {
namespace {

struct RecordingLogger : Logger {
    void write(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

TEST(Logger, LineFormatPadsFieldsAndEndsWithCrLf) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(formatLogLine(t, "hello"), "2026-01-05 07:03:09\thello\r\n");
}

TEST(Logger, EmptyMessageOrMissingLoggerWritesNothing) {
    RecordingLogger logger;
    logMessage(&logger, "");
    logMessage(nullptr, "ignored");
    EXPECT_TRUE(logger.lines.empty());
    logMessage(&logger, "x");
    ASSERT_EQ(logger.lines.size(), 1u);
    EXPECT_EQ(logger.lines[0].substr(19), "\tx\r\n");
}

}  // namespace
}  // namespace tekna
