#pragma once
// The folder of the running program file, beside which the platform installs its files.
#include <filesystem>

namespace chat {

// The folder of /proc/self/exe. Throws std::runtime_error with the system's message when the
// program file cannot be found.
std::filesystem::path programFolder();

}  // namespace chat
