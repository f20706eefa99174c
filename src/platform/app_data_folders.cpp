#include "platform/app_data_folders.h"

#include <cstdlib>
#include <system_error>

namespace chat {
namespace {

std::optional<std::filesystem::path> xdgFolder(const char* variable,
                                               const std::filesystem::path& homeRelative) {
    std::filesystem::path folder;
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
        folder = value;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = std::filesystem::path(home) / homeRelative;
    } else {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        return std::nullopt;
    }
    return folder;
}

}  // namespace

std::optional<std::filesystem::path> roamingAppDataFolder() {
    return xdgFolder("XDG_CONFIG_HOME", ".config");
}

std::optional<std::filesystem::path> localAppDataFolder() {
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}

}  // namespace chat
