#pragma once
// A record read from any bytes, written, read back and written again must write the same bytes
// both times, and the second read must take exactly what was written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "util/byte_stream.h"

template <typename Record>
void checkStreamRoundTrip(const uint8_t* data, size_t size) {
    Record first;
    tekna::InputByteStream in({data, size});
    first.read(in);
    tekna::OutputByteStream written;
    first.write(written);

    Record again;
    tekna::InputByteStream reread(written.bytes());
    again.read(reread);
    tekna::OutputByteStream rewritten;
    again.write(rewritten);
    if (!reread.ok() || reread.remaining() != 0 || rewritten.bytes() != written.bytes()) {
        std::abort();
    }
}
