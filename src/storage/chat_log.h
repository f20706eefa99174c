#pragma once
// The program's log: "palvern.log" in the folder "palvern" of the user's local application-data
// folder, or of the program's folder when there is no such folder.
#include <filesystem>
#include <memory>

#include "util/text_file_logger.h"

namespace chat {

// The log file path; creates the "palvern" folder when it is missing (a file of that name in its
// place stays, and the log's writes then fail silently).
std::filesystem::path chatLogPath();

std::unique_ptr<tekna::TextFileLoggerThreadSafe> createChatLog();

}  // namespace chat
