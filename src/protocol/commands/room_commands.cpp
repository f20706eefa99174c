#include "protocol/commands/room_commands.h"

#include <cstring>

#include "util/little_endian.h"

namespace chat::cmd {
namespace {

// Appends each fixed-size record and reads back as many whole records as the bytes hold.
template <class Record, class Encode>
void writeRecords(std::vector<uint8_t>& out, const std::vector<Record>& records, Encode encode) {
    for (const Record& record : records) {
        const auto bytes = encode(record);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

template <size_t RecordSize, class Decode>
auto readRecords(std::span<const uint8_t> bytes, Decode decode) {
    std::vector<decltype(decode(bytes.first<RecordSize>()))> records;
    records.reserve(bytes.size() / RecordSize);
    for (; bytes.size() >= RecordSize; bytes = bytes.subspan(RecordSize)) {
        records.push_back(decode(bytes.first<RecordSize>()));
    }
    return records;
}

constexpr size_t kNameLastUnit = 106;
constexpr size_t kRollingMessageLastUnit = 1398;

RoomRecord recordFromEntry(std::span<const uint8_t> entry) {
    std::array<uint8_t, RoomRecord::kSize> bytes{};
    const auto copy = [&](size_t offset, size_t width) {
        std::memcpy(bytes.data() + offset, entry.data() + offset, width);
    };
    copy(0, RoomListEntries::kShortestEntry);
    storeLE<uint16_t>(bytes.data() + kNameLastUnit, 0);
    if (entry.size() > 1135) {
        copy(1132, 4);
    }
    if (entry.size() > 1403) {
        copy(1136, 4);
        copy(1140, 4);
        copy(1144, RoomRecord::kRollingMessageUnits * 2);
        storeLE<uint16_t>(bytes.data() + kRollingMessageLastUnit, 0);
        copy(1400, 4);
    }
    storeLE<uint32_t>(bytes.data() + 1404, entry.size() >= RoomRecord::kSize
                                               ? loadLE<uint32_t>(entry.data() + 1404)
                                               : 1);
    return RoomRecord::decode(bytes);
}

}  // namespace

void ChatterRecords::write(std::vector<uint8_t>& out, const Value& records) {
    writeRecords(out, records, [](const ChatterRecord& r) { return r.encode(); });
}

ChatterRecords::Value ChatterRecords::read(std::span<const uint8_t> bytes) {
    return readRecords<ChatterRecord::kSize>(
        bytes,
        [](std::span<const uint8_t, ChatterRecord::kSize> b) { return ChatterRecord::decode(b); });
}

void ChatterCountRecords::write(std::vector<uint8_t>& out, const Value& records) {
    writeRecords(out, records, [](const ChatterCountRecord& r) { return r; });
}

ChatterCountRecords::Value ChatterCountRecords::read(std::span<const uint8_t> bytes) {
    return readRecords<sizeof(ChatterCountRecord)>(
        bytes, [](std::span<const uint8_t, sizeof(ChatterCountRecord)> b) {
            ChatterCountRecord record;
            std::memcpy(record.data(), b.data(), b.size());
            return record;
        });
}

void RoomListEntries::write(std::vector<uint8_t>& out, const Value& rooms) {
    for (const auto& [roomId, room] : rooms) {
        auto bytes = room.encode();
        storeLE<uint32_t>(bytes.data(), static_cast<uint32_t>(bytes.size()));
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

RoomListEntries::Value RoomListEntries::read(std::span<const uint8_t> bytes) {
    Value rooms;
    while (bytes.size() >= kShortestEntry) {
        const uint32_t length = loadLE<uint32_t>(bytes.data());
        if (length < kShortestEntry || length > bytes.size()) {
            break;
        }
        const auto entry = bytes.first(length);
        if (loadLE<uint16_t>(entry.data() + 12) != 0) {
            RoomRecord room = recordFromEntry(entry);
            const uint32_t roomId = room.roomId;
            rooms.insert_or_assign(roomId, std::move(room));
        }
        bytes = bytes.subspan(length);
    }
    return rooms;
}

}  // namespace chat::cmd
