#pragma once
// The start data that the main client hands to a module, kept as a map from key to value bytes.
// Header-only and free of Qt so that the fuzz target can build it on its own.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace chat::modules {

class SharedInfo {
  public:
    // Replaces the map with the records of the block. The walk stops at a record that claims a
    // length below 9 or beyond the end of the block; it never reads past the block.
    void read(const void* data, std::size_t length) {
        values_.clear();
        const auto* bytes = static_cast<const unsigned char*>(data);
        if (bytes == nullptr) {
            return;
        }
        std::size_t offset = 0;
        while (length - offset > kHeadSize) {
            const std::uint32_t key = loadU32(bytes + offset);
            const std::uint32_t recordLength = loadU32(bytes + offset + 4);
            if (recordLength <= kHeadSize || recordLength > length - offset) {
                return;
            }
            values_[key].assign(reinterpret_cast<const char*>(bytes + offset + kHeadSize),
                                recordLength - kHeadSize);
            offset += recordLength;
        }
    }

    // The value bytes of key, or null when the start data had no such record.
    const std::string* find(std::uint32_t key) const {
        const auto it = values_.find(key);
        return it == values_.end() ? nullptr : &it->second;
    }

    const std::map<std::uint32_t, std::string>& values() const { return values_; }

  private:
    static constexpr std::size_t kHeadSize = 8;

    static std::uint32_t loadU32(const unsigned char* at) {
        return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
               static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
    }

    std::map<std::uint32_t, std::string> values_;
};

}  // namespace chat::modules
