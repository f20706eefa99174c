#pragma once
// The log: one complete line per event. `logMessage` formats the line (local date and time, a tab,
// the message, CR LF) and hands it to a logger; file loggers live in util/text_file_logger.h.
#include <ctime>
#include <string>
#include <string_view>

namespace tekna {

class Logger {
  public:
    virtual ~Logger() = default;
    // `line` is complete and already formatted.
    virtual void write(const std::string& line) = 0;
};

// "2026-12-11 09:05:03\tmessage\r\n" for the given local time.
std::string formatLogLine(const std::tm& localTime, std::string_view message);

// Does nothing for a missing logger or an empty message.
void logMessage(Logger* logger, std::string_view message);

}  // namespace tekna
