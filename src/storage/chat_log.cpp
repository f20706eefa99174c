#include "storage/chat_log.h"

#include <system_error>

#include "platform/app_data_folders.h"
#include "platform/program_folder.h"

namespace chat {

std::filesystem::path chatLogPath() {
    const std::optional<std::filesystem::path> dataFolder = localAppDataFolder();
    const std::filesystem::path folder = (dataFolder ? *dataFolder : programFolder()) / "palvern";
    std::error_code ignored;
    std::filesystem::create_directory(folder, ignored);
    return folder / "palvern.log";
}

std::unique_ptr<tekna::TextFileLoggerThreadSafe> createChatLog() {
    return std::make_unique<tekna::TextFileLoggerThreadSafe>(chatLogPath());
}

}  // namespace chat
