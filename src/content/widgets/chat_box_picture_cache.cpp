#include "content/widgets/chat_box_picture_cache.h"

#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/app_data_folders.h"
#include "platform/md5.h"

namespace chat {

std::filesystem::path pictureCachePath(const std::filesystem::path& appDataFolder,
                                       std::span<const uint8_t> bytes) {
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return appDataFolder / "palvern" / "image" / md5HexText(view);
}

std::optional<std::filesystem::path> cacheReceivedPicture(std::span<const uint8_t> bytes) {
    const auto folder = localAppDataFolder();
    if (!folder) {
        return std::nullopt;
    }
    const std::filesystem::path path = pictureCachePath(*folder, bytes);
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        return path;
    }
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return std::nullopt;
    }
    // Written under a temporary name first, so a failed write never leaves a cut file under the
    // digest's name.
    std::filesystem::path partial = path;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::filesystem::remove(partial, error);
            return std::nullopt;
        }
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return std::nullopt;
    }
    return path;
}

}  // namespace chat
