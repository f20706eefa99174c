// A rights list read from any bytes, written again and read back, must come out the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "admin/rights_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    chat::RightsList list;
    tekna::InputByteStream in({data, size});
    list.read(in);

    tekna::OutputByteStream out;
    list.write(out);
    chat::RightsList again;
    tekna::InputByteStream reread(out.bytes());
    again.read(reread);
    if (!(again == list) || reread.remaining() != 0) {
        std::abort();
    }
    return 0;
}
