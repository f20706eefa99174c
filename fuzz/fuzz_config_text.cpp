// A platform configuration file of any content: deciphered and parsed into sections and keys, and
// the raw bytes parsed directly as a plain text too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/config_cipher.h"
#include "platform/config_text.h"
#include "platform/platform_special.h"

namespace {

void parseAndLookUp(std::string_view plain) {
    const chat::ConfigText text = chat::ConfigText::parse(chat::splitConfigLines(plain));
    chat::PlatformSpecial special;
    special.load(text);
    (void)text.lookup("MorvexModuleURL", "customerurl", "default");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    parseAndLookUp(chat::decodeConfigurationText(input));
    parseAndLookUp(input);
    return 0;
}
