// Reads arbitrary bytes as an INI file; what is written back must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    chat::IniDocument document = chat::IniDocument::parse(bytes);
    const std::string written = document.serialize();
    if (chat::IniDocument::parse(written).serialize() != written) {
        std::abort();
    }
    for (const auto& key : document.keyNames(u"misc")) {
        (void)document.value(u"misc", key);
    }
    document.set(u"misc", u"send_key", u"6");
    document.replaceSection(u"black_list", {{u"alice", u"1"}});
    document.removeSection(u"chat_text_style");
    return 0;
}
