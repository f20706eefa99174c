// A room limit list read from any bytes, written and read back, must write the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "admin/room_limit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    chat::RoomLimitList list;
    tekna::InputByteStream in({data, size});
    list.read(in);

    tekna::OutputByteStream first;
    list.write(first);
    chat::RoomLimitList again;
    tekna::InputByteStream reread(first.bytes());
    again.read(reread);
    tekna::OutputByteStream second;
    again.write(second);
    if (!reread.ok() || reread.remaining() != 0 || second.bytes() != first.bytes()) {
        std::abort();
    }
    return 0;
}
