#pragma once
#include <cstdlib>
#include <filesystem>

namespace chat::test {

// tests/data/platform, from CHAT_TEST_DATA that CTest sets.
inline std::filesystem::path platformData() {
    const char* root = std::getenv("CHAT_TEST_DATA");
    return std::filesystem::path(root != nullptr ? root : "tests/data") / "platform";
}

}  // namespace chat::test
