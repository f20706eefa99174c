// A room limit list read from any bytes survives writing and reading back unchanged.
#include "admin/room_limit.h"
#include "stream_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkStreamRoundTrip<chat::RoomLimitList>(data, size);
    return 0;
}
