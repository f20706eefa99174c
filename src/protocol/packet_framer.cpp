#include "protocol/packet_framer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "util/little_endian.h"

PacketFramer::PacketFramer(Handler handler, tekna::Logger* logger)
    : handler_(std::move(handler)),
      logger_(logger),
      buffer_(std::make_unique_for_overwrite<uint8_t[]>(kMaxPacketSize)) {}

std::span<uint8_t> PacketFramer::freeSpace() {
    if (offset_ != floor_) {
        std::memmove(buffer_.get() + floor_, buffer_.get() + offset_, count_ - offset_);
        count_ -= offset_ - floor_;
        offset_ = floor_;
    }
    return {buffer_.get() + count_, kMaxPacketSize - count_};
}

bool PacketFramer::commit(size_t received) {
    if (received > kMaxPacketSize - count_) {
        throw std::length_error("more bytes received than the receive buffer has room for");
    }
    count_ += received;
    while (!failed_ && count_ - offset_ >= kPacketHeaderSize) {
        const uint8_t* start = buffer_.get() + offset_;
        const uint32_t size = chat::loadLE<uint32_t>(start);
        // Checked before waiting for the rest: a size above the buffer could never complete.
        if (size < kPacketHeaderSize || size > kMaxPacketSize) {
            tekna::logMessage(logger_, "从服务器收到一个无效数据包");
            failed_ = true;
            break;
        }
        if (count_ - offset_ < size) {
            break;
        }
        offset_ += size;
        if (!handOn({start, size})) {
            const auto command = chat::loadLE<uint16_t>(start + 4);
            tekna::logMessage(logger_, "数据包处理器返回false，数据包=" + std::to_string(command));
            failed_ = true;
        }
    }
    return !failed_;
}

bool PacketFramer::handOn(std::span<const uint8_t> packet) {
    const size_t outerFloor = floor_;
    floor_ = offset_;
    try {
        const bool keep = handler_(packet);
        floor_ = outerFloor;
        return keep;
    } catch (...) {
        floor_ = outerFloor;
        throw;
    }
}

bool PacketFramer::feed(std::span<const uint8_t> bytes) {
    do {
        const std::span<uint8_t> space = freeSpace();
        const size_t taken = std::min(space.size(), bytes.size());
        if (taken == 0 && !bytes.empty()) {
            throw std::length_error("the receive buffer is held by running packet handlers");
        }
        if (taken > 0) {
            std::memcpy(space.data(), bytes.data(), taken);
        }
        bytes = bytes.subspan(taken);
        if (!commit(taken)) {
            return false;
        }
    } while (!bytes.empty());
    return true;
}

void PacketFramer::reset() {
    offset_ = floor_;
    count_ = floor_;
    failed_ = false;
}
