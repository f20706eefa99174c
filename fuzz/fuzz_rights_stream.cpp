// A rights list read from any bytes survives writing and reading back unchanged.
#include "admin/rights_list.h"
#include "stream_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkStreamRoundTrip<chat::RightsList>(data, size);
    return 0;
}
