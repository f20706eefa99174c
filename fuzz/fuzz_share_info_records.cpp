// A shared-memory block of any content: the record walk must stop inside the block, whatever the
// used length and the record lengths say.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/share_info_mapping.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> block(data, size);
    for (const std::uint32_t type : {3u, chat::ShareInfoMapping::kUserTextRecord}) {
        if (const auto found = chat::findShareInfoRecord(block, type)) {
            volatile std::uint8_t sink = 0;
            for (const std::uint8_t byte : *found) {
                sink = sink ^ byte;
            }
        }
    }
    return 0;
}
