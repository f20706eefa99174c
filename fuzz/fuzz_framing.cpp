// The framer against a plain model of the stream: whatever the bytes and however they are split
// into reads, the packets handed on must be exactly the complete packets of the stream, in order,
// up to the first invalid size, and the framer must refuse exactly when the model meets one.
//
// Reads may also happen inside a handler (nested), which must not change that order.
//
// Input: one byte k, then k % 16 read-size bytes (cycled; 255 means "all the free space"), then the
// stream.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "protocol/packet_framer.h"
#include "util/little_endian.h"

namespace {

struct Model {
    std::vector<std::span<const uint8_t>> packets;
    bool invalid = false;
};

Model cut(std::span<const uint8_t> stream) {
    Model model;
    while (stream.size() >= kPacketHeaderSize) {
        const uint32_t size = chat::loadLE<uint32_t>(stream.data());
        if (size < kPacketHeaderSize || size > kMaxPacketSize) {
            model.invalid = true;
            break;
        }
        if (stream.size() < size) {
            break;
        }
        model.packets.push_back(stream.first(size));
        stream = stream.subspan(size);
    }
    return model;
}

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t seedCount = std::min<size_t>(data[0] % 16, size - 1);
    const std::span<const uint8_t> seeds(data + 1, seedCount);
    const std::span<const uint8_t> stream(data + 1 + seedCount, size - 1 - seedCount);

    const Model model = cut(stream);
    size_t handed = 0;
    size_t at = 0;
    size_t reads = 0;
    int depth = 0;
    bool keep = true;
    PacketFramer* framerOfHandler = nullptr;

    const auto readOnce = [&] {
        const std::span<uint8_t> space = framerOfHandler->freeSpace();
        size_t wanted = space.size();
        if (!seeds.empty() && seeds[reads % seeds.size()] != 255) {
            wanted = 1 + seeds[reads % seeds.size()] * 29u;
        }
        ++reads;
        const size_t received = std::min({wanted, space.size(), stream.size() - at});
        std::memcpy(space.data(), stream.data() + at, received);
        at += received;
        keep = framerOfHandler->commit(received);
    };

    // A packet whose reserved byte 8 is odd reads again from inside its handler, as a processor
    // does when it runs a nested event loop.
    PacketFramer framer(
        [&](std::span<const uint8_t> packet) {
            require(handed < model.packets.size());
            const std::span<const uint8_t> expected = model.packets[handed++];
            require(packet.size() == expected.size());
            require(std::memcmp(packet.data(), expected.data(), packet.size()) == 0);
            if ((packet[8] & 1) != 0 && depth < 3 && keep && at < stream.size() &&
                !framerOfHandler->freeSpace().empty()) {
                ++depth;
                readOnce();
                --depth;
                require(std::memcmp(packet.data(), expected.data(), packet.size()) == 0);
            }
            return true;
        },
        nullptr);
    framerOfHandler = &framer;

    while (keep && at < stream.size()) {
        require(!framer.freeSpace().empty());
        readOnce();
    }
    require(handed == model.packets.size());
    require(keep == !model.invalid);
    return 0;
}
