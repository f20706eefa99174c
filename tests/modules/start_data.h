#pragma once
// Start-data fixtures: records of an 8-byte head (key, length with head) and a value.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

inline std::vector<std::uint8_t> startRecord(std::uint32_t key, const std::string& value) {
    const auto length = static_cast<std::uint32_t>(8 + value.size());
    std::vector<std::uint8_t> record;
    for (const std::uint32_t field : {key, length}) {
        for (int shift = 0; shift < 32; shift += 8) {
            record.push_back(static_cast<std::uint8_t>(field >> shift));
        }
    }
    record.insert(record.end(), value.begin(), value.end());
    return record;
}

inline std::vector<std::uint8_t> join(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}
