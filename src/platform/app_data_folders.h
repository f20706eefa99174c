#pragma once
// The user's application-data folders: the roaming one ($XDG_CONFIG_HOME, by default
// ~/.config) for settings and records, the local one ($XDG_DATA_HOME, by default ~/.local/share)
// for the log and caches. A relative or empty variable counts as unset, as the XDG rules say.
#include <filesystem>
#include <optional>

namespace chat {

// The folder, created when missing; nothing when neither the variable nor $HOME gives a folder
// or it cannot be created.
std::optional<std::filesystem::path> roamingAppDataFolder();
std::optional<std::filesystem::path> localAppDataFolder();

}  // namespace chat
