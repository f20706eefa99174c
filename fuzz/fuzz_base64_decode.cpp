// Base64 decoding of any text: the string form and the buffer form with a capacity taken from the
// input agree, never write past the buffer, and re-encoding the bytes decodes to them again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string decoded = chat::base64Decode(text);

    const size_t capacity = size == 0 ? 0 : data[0] % (decoded.size() + 2);
    std::vector<char> buffer(capacity + 1, '\x5A');
    size_t outSize = capacity;
    const bool fits =
        chat::base64Decode(text.data() != nullptr ? text.data() : "", size, buffer.data(), outSize);
    const size_t written = std::min(capacity, decoded.size());
    if (outSize != decoded.size() || fits != (decoded.size() <= capacity) ||
        std::memcmp(buffer.data(), decoded.data(), written) != 0 || buffer[capacity] != '\x5A') {
        std::abort();
    }
    if (chat::base64Decode(chat::base64Encode(decoded)) != decoded) {
        std::abort();
    }
    return 0;
}
