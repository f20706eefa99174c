#include "protocol/tcp_packet.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "protocol/packet_header.h"
#include "util/compression.h"
#include "util/little_endian.h"

namespace TcpPacket {

namespace {

struct Body {
    std::span<const uint8_t> bytes;
    bool compressed = false;
};

// The body within both the span and the header's size field.
Body bodyOf(std::span<const uint8_t> packet) {
    if (packet.size() <= kPacketHeaderSize) {
        return {};
    }
    const PacketHeader header = PacketHeader::read(packet.data());
    const size_t size = std::min<size_t>(packet.size(), header.size);
    if (size <= kPacketHeaderSize) {
        return {};
    }
    return {packet.subspan(kPacketHeaderSize, size - kPacketHeaderSize), header.compressed != 0};
}

std::vector<uint8_t> plainBytes(const Body& body) {
    if (body.compressed) {
        return tekna::Inflate().process(body.bytes);
    }
    return {body.bytes.begin(), body.bytes.end()};
}

}  // namespace

HeadAndRecords decodeHeadAndRecords(std::span<const uint8_t> packet) {
    const Body body = bodyOf(packet);
    if (body.bytes.empty()) {
        throw std::logic_error("File: .\\TcpPacket\nLine: 35\n Err: Invalid Packet Size");
    }
    const std::vector<uint8_t> bytes = plainBytes(body);
    if (bytes.size() < kListHeadSize) {
        throw std::runtime_error("无效数据");
    }
    HeadAndRecords result;
    std::memcpy(result.head.data(), bytes.data(), kListHeadSize);
    const size_t count = (bytes.size() - kListHeadSize) / kRecordSize;
    result.records.resize(count);
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(result.records[i].data(), bytes.data() + kListHeadSize + i * kRecordSize,
                    kRecordSize);
    }
    return result;
}

std::set<std::u16string> decodeWideStringList(std::span<const uint8_t> packet) {
    const Body body = bodyOf(packet);
    if (body.bytes.empty()) {
        return {};
    }
    std::vector<uint8_t> inflated;
    std::span<const uint8_t> bytes = body.bytes;
    if (body.compressed) {
        inflated = tekna::Inflate().process(body.bytes);
        bytes = inflated;
    }
    return readWideStringList(bytes);
}

std::set<std::u16string> readWideStringList(std::span<const uint8_t> bytes) {
    std::set<std::u16string> strings;
    std::u16string current;
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto unit = chat::loadLE<char16_t>(bytes.data() + at);
        if (unit != u'\0') {
            current.push_back(unit);
        } else if (!current.empty()) {
            strings.insert(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) {
        strings.insert(std::move(current));
    }
    return strings;
}

std::vector<uint8_t> decodeRawBytes(std::span<const uint8_t> packet) {
    const Body body = bodyOf(packet);
    if (body.bytes.empty()) {
        return {};
    }
    return plainBytes(body);
}

}  // namespace TcpPacket
