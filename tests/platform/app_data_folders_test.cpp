#include "platform/app_data_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/scoped_environment.h"

namespace chat {
namespace {

TEST(AppDataFolders, XdgVariablesThenHomeThenNothing) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("app-data-folders-" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    {
        const test::ScopedEnvironment home("HOME", root.string());
        {
            const test::ScopedEnvironment data("XDG_DATA_HOME", (root / "data").string());
            const test::ScopedEnvironment config("XDG_CONFIG_HOME", (root / "config").string());
            EXPECT_EQ(localAppDataFolder(), root / "data");
            EXPECT_EQ(roamingAppDataFolder(), root / "config");
            EXPECT_TRUE(std::filesystem::is_directory(root / "data"));
        }
        // Relative or empty variables count as unset.
        const test::ScopedEnvironment data("XDG_DATA_HOME", "relative");
        const test::ScopedEnvironment config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(localAppDataFolder(), root / ".local/share");
        EXPECT_EQ(roamingAppDataFolder(), root / ".config");
        EXPECT_TRUE(std::filesystem::is_directory(root / ".local/share"));

        const test::ScopedEnvironment noHome("HOME", "");
        EXPECT_EQ(localAppDataFolder(), std::nullopt);
        EXPECT_EQ(roamingAppDataFolder(), std::nullopt);
    }
    {
        // A file where the folder should be: no folder.
        std::filesystem::create_directories(root);
        std::ofstream(root / "file") << "x";
        const test::ScopedEnvironment data("XDG_DATA_HOME", (root / "file").string());
        EXPECT_EQ(localAppDataFolder(), std::nullopt);
    }
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace chat
