#include "platform/program_folder.h"

#include <stdexcept>
#include <system_error>

namespace chat {

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        throw std::runtime_error(error.message());
    }
    return program.parent_path();
}

}  // namespace chat
