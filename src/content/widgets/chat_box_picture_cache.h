#pragma once
// The cache of received pictures: every picture drawn from a received message is written once to
// "palvern/image/" under the user's local application-data folder, named by the 32 upper-case
// hexadecimal digits of the MD5 digest of its bytes (no extension).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace chat {

// "<folder>/palvern/image/<MD5 hex>".
std::filesystem::path pictureCachePath(const std::filesystem::path& appDataFolder,
                                       std::span<const uint8_t> bytes);

// Writes the bytes unless the file already exists and returns its path; nothing when the folder
// or the file cannot be made (the picture is drawn all the same).
std::optional<std::filesystem::path> cacheReceivedPicture(std::span<const uint8_t> bytes);

}  // namespace chat
