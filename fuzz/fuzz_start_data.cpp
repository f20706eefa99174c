// The start data that the main client hands to a web-page module: records of key, length and value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "modules/shared_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chat::modules::SharedInfo info;
    info.read(data, size);
    std::size_t stored = 0;
    for (const auto& [key, value] : info.values()) {
        stored += 8 + value.size();
    }
    if (stored > size) {
        std::abort();
    }
    return 0;
}
