#include "protocol/commands/system_time.h"

#include <chrono>
#include <ctime>

#include "util/little_endian.h"

namespace chat {

SystemTime SystemTime::now() {
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() %
        1000;
    SystemTime time;
    time.year = static_cast<uint16_t>(local.tm_year + 1900);
    time.month = static_cast<uint16_t>(local.tm_mon + 1);
    time.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    time.day = static_cast<uint16_t>(local.tm_mday);
    time.hour = static_cast<uint16_t>(local.tm_hour);
    time.minute = static_cast<uint16_t>(local.tm_min);
    time.second = static_cast<uint16_t>(local.tm_sec);
    time.milliseconds = static_cast<uint16_t>(millis);
    return time;
}

SystemTime SystemTime::read(const uint8_t* bytes) {
    SystemTime time;
    uint16_t* fields[] = {&time.year, &time.month,  &time.dayOfWeek, &time.day,
                          &time.hour, &time.minute, &time.second,    &time.milliseconds};
    for (size_t i = 0; i < 8; ++i) {
        *fields[i] = loadLE<uint16_t>(bytes + 2 * i);
    }
    return time;
}

void SystemTime::write(uint8_t* bytes) const {
    const uint16_t fields[] = {year, month, dayOfWeek, day, hour, minute, second, milliseconds};
    for (size_t i = 0; i < 8; ++i) {
        storeLE(bytes + 2 * i, fields[i]);
    }
}

}  // namespace chat
