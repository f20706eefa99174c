#include "util/logger.h"

#include <cstdio>

namespace tekna {

std::string formatLogLine(const std::tm& localTime, std::string_view message) {
    char stamp[96];  // wide enough for any int fields, so the format never truncates
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d\t", localTime.tm_year + 1900,
                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour, localTime.tm_min,
                  localTime.tm_sec);
    std::string line(stamp);
    line.append(message);
    line.append("\r\n");
    return line;
}

void logMessage(Logger* logger, std::string_view message) {
    if (logger == nullptr || message.empty()) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    logger->write(formatLogLine(local, message));
}

}  // namespace tekna
