#pragma once
// Every packet, in both directions, opens with a 24-byte header: u32 total size (header included),
// u16 command id, u16 compressed flag (non-zero: the body is one zlib stream), 16 reserved bytes
// (zeros, except header bytes 8-13 of the login packet, which carry the adapter's MAC).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr size_t kPacketHeaderSize = 24;
inline constexpr size_t kMaxPacketSize = 174080;  // also the size of the receive buffer

struct PacketHeader {
    uint32_t size = 0;
    uint16_t command = 0;
    uint16_t compressed = 0;
    std::array<uint8_t, 16> reserved{};

    // `bytes` must hold at least kPacketHeaderSize bytes.
    static PacketHeader read(const uint8_t* bytes);
    void write(uint8_t* bytes) const;
};

// A packet of `command` with a zeroed body of `bodySize` bytes, its header already filled in
// (size = 24 + bodySize, not compressed, reserved bytes zero). Callers fill the body in place.
std::vector<uint8_t> makePacket(uint16_t command, size_t bodySize);
