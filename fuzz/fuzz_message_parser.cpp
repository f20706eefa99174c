// Parses arbitrary bytes as a received chat message packet, with pictures shown and hidden.
#include <cstddef>
#include <cstdint>
#include <span>

#include "content/message_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> packet(data, size);
    for (const bool allowPictures : {true, false}) {
        if (auto parsed = chat::parseChatMessage(packet, 9, allowPictures)) {
            size_t units = parsed->plainText.size();
            for (const auto& section : parsed->sections) {
                units += section.index();
            }
            if (units == size_t(-1)) {
                return 1;
            }
        }
    }
    return 0;
}
