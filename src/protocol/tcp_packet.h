#pragma once
// Body decoders of the server commands whose body may arrive as one zlib stream (compressed flag
// non-zero): the room chatter list (head and records), the keyword and invalid-nickname lists (wide
// string list) and the room list (raw bytes). Each takes the complete packet, header first.
//
// A decoder never reads past the span it is given: the packet's length is the smaller of the span's
// size and the header's size field, and a span shorter than a header counts as a packet without a
// body. Inflate failures raise tekna::EZLib.
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace TcpPacket {

inline constexpr size_t kListHeadSize = 100;
inline constexpr size_t kRecordSize = 132;

struct HeadAndRecords {
    std::array<uint8_t, kListHeadSize> head{};
    std::vector<std::array<uint8_t, kRecordSize>> records;
};

// A 100-byte head followed by 132-byte records; a tail shorter than a record is ignored.
// Raises std::logic_error for a packet without a body, std::runtime_error("无效数据") for a body
// shorter than the head.
HeadAndRecords decodeHeadAndRecords(std::span<const uint8_t> packet);

// UTF-16LE strings, each ended by a NUL unit or by the end of the body; empty strings are skipped,
// duplicates fold, an odd last byte is ignored. A packet without a body gives an empty set.
std::set<std::u16string> decodeWideStringList(std::span<const uint8_t> packet);
// The same walk over a plain (inflated) body.
std::set<std::u16string> readWideStringList(std::span<const uint8_t> bytes);

// The body bytes, inflated when compressed. A packet without a body gives no bytes.
std::vector<uint8_t> decodeRawBytes(std::span<const uint8_t> packet);

}  // namespace TcpPacket
