#include "protocol/packet_framer.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "packet_fixtures.h"
#include "util/little_endian.h"

namespace {

using chat::test::patternBytes;
using Bytes = std::vector<uint8_t>;

struct RecordingLogger : tekna::Logger {
    void write(const std::string& line) override { lines.push_back(line); }
    // The message without the date, time and tab in front and the CR LF behind.
    std::string message(size_t i) const { return lines.at(i).substr(20, lines[i].size() - 22); }
    std::vector<std::string> lines;
};

// A packet of `size` bytes in all: command, then a pattern body.
Bytes packetOfSize(uint16_t command, size_t size) {
    Bytes packet = makePacket(command, size - kPacketHeaderSize);
    const Bytes body = patternBytes(size - kPacketHeaderSize, static_cast<uint8_t>(command));
    std::copy(body.begin(), body.end(), packet.begin() + kPacketHeaderSize);
    return packet;
}

Bytes headerClaiming(uint32_t size) {
    Bytes header(kPacketHeaderSize, 0);
    chat::storeLE(header.data(), size);
    return header;
}

Bytes join(const std::vector<Bytes>& parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Keeps a copy of every packet handed on.
struct Recorder {
    PacketFramer::Handler handler() {
        return [this](std::span<const uint8_t> packet) {
            packets.emplace_back(packet.begin(), packet.end());
            return true;
        };
    }
    std::vector<Bytes> packets;
};

uint16_t commandOf(std::span<const uint8_t> packet) {
    return chat::loadLE<uint16_t>(packet.data() + 4);
}

// Keeps the command of every packet handed on; `onPacket` gives the verdict and may act on the
// framer (it is set once the framer exists).
struct CommandRecorder {
    PacketFramer::Handler handler() {
        return [this](std::span<const uint8_t> packet) {
            commands.push_back(commandOf(packet));
            return onPacket(packet);
        };
    }
    std::vector<uint16_t> commands;
    std::function<bool(std::span<const uint8_t>)> onPacket = [](std::span<const uint8_t>) {
        return true;
    };
};

TEST(PacketFramer, PacketsOfOneReadAreHandedOnInOrderBeforeItReturns) {
    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    const Bytes first = packetOfSize(14, 40);
    const Bytes heartbeat = packetOfSize(1, 24);
    const Bytes third = packetOfSize(12, 300);
    EXPECT_TRUE(framer.feed(join({first, heartbeat, third})));
    EXPECT_EQ(recorder.packets, (std::vector<Bytes>{first, heartbeat, third}));
    EXPECT_EQ(framer.bufferedBytes(), 0u);
}

TEST(PacketFramer, SplitPacketIsHandedOnOnceAfterItsLastByte) {
    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    const Bytes packet = packetOfSize(14, 100);
    for (size_t i = 0; i + 1 < packet.size(); ++i) {
        ASSERT_TRUE(framer.feed({&packet[i], 1}));
        ASSERT_TRUE(recorder.packets.empty()) << "after byte " << i;
    }
    EXPECT_TRUE(framer.feed({&packet.back(), 1}));
    EXPECT_EQ(recorder.packets, std::vector<Bytes>{packet});
}

TEST(PacketFramer, HeaderAloneWaitsForTheRestOfItsBody) {
    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    const Bytes packet = packetOfSize(3, 30);
    EXPECT_TRUE(framer.feed({packet.data(), kPacketHeaderSize}));
    EXPECT_TRUE(framer.feed({packet.data() + kPacketHeaderSize, 5}));
    EXPECT_TRUE(recorder.packets.empty());
    EXPECT_EQ(framer.bufferedBytes(), 29u);
    EXPECT_TRUE(framer.feed({packet.data() + 29, 1}));
    EXPECT_EQ(recorder.packets, std::vector<Bytes>{packet});
}

TEST(PacketFramer, SizeFieldMustLieWithinTheReceiveBuffer) {
    struct Case {
        uint32_t size;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {0, false}, {23, false}, {24, true}, {174080, true}, {174081, false}, {0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Recorder recorder;
        RecordingLogger logger;
        PacketFramer framer(recorder.handler(), &logger);
        // An invalid size is refused as soon as its header is present, without waiting for a
        // body that could never fit.
        const Bytes bytes = c.accepted ? packetOfSize(9, c.size) : headerClaiming(c.size);
        EXPECT_EQ(framer.feed(bytes), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(recorder.packets, std::vector<Bytes>{bytes});
            EXPECT_TRUE(logger.lines.empty());
        } else {
            EXPECT_TRUE(recorder.packets.empty());
            ASSERT_EQ(logger.lines.size(), 1u);
            EXPECT_EQ(logger.message(0), "从服务器收到一个无效数据包");
        }
    }
}

TEST(PacketFramer, FalseVerdictEndsTheConnectionUntilReset) {
    RecordingLogger logger;
    CommandRecorder recorder;
    PacketFramer framer(recorder.handler(), &logger);
    recorder.onPacket = [](std::span<const uint8_t> packet) { return commandOf(packet) != 19; };
    EXPECT_FALSE(
        framer.feed(join({packetOfSize(7, 40), packetOfSize(19, 30), packetOfSize(1, 24)})));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{7, 19}));
    ASSERT_EQ(logger.lines.size(), 1u);
    EXPECT_EQ(logger.message(0), "数据包处理器返回false，数据包=19");

    EXPECT_FALSE(framer.feed(packetOfSize(1, 24)));  // nothing more is handed on
    EXPECT_EQ(recorder.commands.size(), 2u);
    EXPECT_EQ(logger.lines.size(), 1u);

    framer.reset();
    EXPECT_TRUE(framer.feed(packetOfSize(5, 24)));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{7, 19, 5}));
}

// A long stream of packets of mixed sizes, received in reads of random sizes, must come out
// unchanged: checks the carrying of leftover bytes from read to read.
TEST(PacketFramer, LeftoverBytesAreCarriedAcrossManyReads) {
    std::mt19937 random(20261211);
    std::vector<Bytes> sent;
    std::uniform_int_distribution<size_t> smallSize(24, 600);
    for (int i = 0; i < 400; ++i) {
        const size_t size =
            i % 50 == 0 ? kMaxPacketSize - static_cast<size_t>(i) : smallSize(random);
        sent.push_back(packetOfSize(static_cast<uint16_t>(i), size));
    }
    const Bytes stream = join(sent);

    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    std::uniform_int_distribution<size_t> readSize(1, 70000);
    size_t at = 0;
    while (at < stream.size()) {
        const std::span<uint8_t> space = framer.freeSpace();
        ASSERT_FALSE(space.empty());
        const size_t received = std::min({readSize(random), space.size(), stream.size() - at});
        std::copy_n(stream.begin() + static_cast<ptrdiff_t>(at), received, space.begin());
        at += received;
        ASSERT_TRUE(framer.commit(received));
    }
    EXPECT_EQ(recorder.packets, sent);
    EXPECT_EQ(framer.bufferedBytes(), 0u);
}

TEST(PacketFramer, ResetDropsBytesOfTheLastConnection) {
    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    const Bytes cut = packetOfSize(14, 80);
    EXPECT_TRUE(framer.feed({cut.data(), 50}));
    framer.reset();
    EXPECT_EQ(framer.bufferedBytes(), 0u);
    const Bytes hello = packetOfSize(5, 28);
    EXPECT_TRUE(framer.feed(hello));
    EXPECT_EQ(recorder.packets, std::vector<Bytes>{hello});
}

TEST(PacketFramer, CommittingMoreThanTheFreeSpaceIsRefused) {
    Recorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    const Bytes part = packetOfSize(1, 1000);
    EXPECT_TRUE(framer.feed({part.data(), 100}));
    EXPECT_THROW(framer.commit(kMaxPacketSize - 99), std::length_error);
}

// Handlers that read again or end the connection while their packet is being handled, as a
// processor does when it runs a nested event loop.
TEST(PacketFramer, HandlerMayResetTheConnection) {
    const Bytes stream = join({packetOfSize(1, 24), packetOfSize(19, 40), packetOfSize(2, 30)});
    CommandRecorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    recorder.onPacket = [&framer](std::span<const uint8_t> packet) {
        if (commandOf(packet) == 19) {
            framer.reset();
            // The packet stays readable after the reset.
            EXPECT_EQ(Bytes(packet.begin(), packet.end()), packetOfSize(19, 40));
        }
        return true;
    };
    EXPECT_TRUE(framer.feed(stream));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{1, 19}));
    EXPECT_EQ(framer.bufferedBytes(), 0u);
    EXPECT_TRUE(framer.feed(packetOfSize(4, 24)));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{1, 19, 4}));
}

TEST(PacketFramer, HandlerMayReceiveMoreWhileItsPacketIsHandled) {
    const std::vector<Bytes> first = {packetOfSize(10, 60), packetOfSize(11, 5000)};
    const Bytes cutThird = packetOfSize(12, 200);
    // The nested read completes the third packet and brings a fourth and half of a fifth.
    const Bytes fourth = packetOfSize(13, 70000);
    const Bytes fifth = packetOfSize(14, 120000);
    const Bytes nested = join({Bytes(cutThird.begin() + 100, cutThird.end()), fourth,
                               Bytes(fifth.begin(), fifth.begin() + 60000)});

    std::vector<Bytes> handled;
    bool nestedDone = false;
    PacketFramer* framerOfHandler = nullptr;
    PacketFramer framer(
        [&](std::span<const uint8_t> packet) {
            const Bytes copy(packet.begin(), packet.end());
            handled.push_back(copy);
            if (!nestedDone) {
                nestedDone = true;
                EXPECT_TRUE(framerOfHandler->feed(nested));
                // Nothing overwrote or moved the packet being handled.
                EXPECT_EQ(Bytes(packet.begin(), packet.end()), copy);
            }
            return true;
        },
        nullptr);
    framerOfHandler = &framer;
    EXPECT_TRUE(
        framer.feed(join({first[0], first[1], Bytes(cutThird.begin(), cutThird.begin() + 100)})));
    EXPECT_EQ(handled, (std::vector<Bytes>{first[0], first[1], cutThird, fourth}));
    EXPECT_TRUE(framer.feed({fifth.data() + 60000, fifth.size() - 60000}));
    EXPECT_EQ(handled.back(), fifth);
    EXPECT_EQ(handled.size(), 5u);
}

TEST(PacketFramer, NestedReadFindsNoRoomBehindAFullSizePacket) {
    CommandRecorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    recorder.onPacket = [&framer](std::span<const uint8_t>) {
        EXPECT_TRUE(framer.freeSpace().empty());
        const uint8_t byte = 0;
        EXPECT_THROW(framer.feed({&byte, 1}), std::length_error);
        return true;
    };
    EXPECT_TRUE(framer.feed(packetOfSize(12, kMaxPacketSize)));
    EXPECT_EQ(recorder.commands.size(), 1u);
    EXPECT_EQ(framer.freeSpace().size(), kMaxPacketSize);
}

TEST(PacketFramer, FailureInANestedReadEndsTheOuterRead) {
    RecordingLogger logger;
    CommandRecorder recorder;
    PacketFramer framer(recorder.handler(), &logger);
    recorder.onPacket = [&framer](std::span<const uint8_t> packet) {
        if (commandOf(packet) == 1) {
            EXPECT_FALSE(framer.feed(headerClaiming(23)));
        }
        return true;
    };
    // The nested read lands behind the second packet, which the nested walk hands on first.
    EXPECT_FALSE(framer.feed(join({packetOfSize(1, 24), packetOfSize(2, 24)})));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{1, 2}));
    ASSERT_EQ(logger.lines.size(), 1u);
    EXPECT_EQ(logger.message(0), "从服务器收到一个无效数据包");
}

TEST(PacketFramer, HandlerExceptionLeavesTheFollowingPacketsForTheNextRead) {
    CommandRecorder recorder;
    PacketFramer framer(recorder.handler(), nullptr);
    recorder.onPacket = [](std::span<const uint8_t> packet) {
        if (commandOf(packet) == 12) {
            throw std::runtime_error("无效数据");
        }
        return true;
    };
    EXPECT_THROW(framer.feed(join({packetOfSize(12, 30), packetOfSize(2, 24)})),
                 std::runtime_error);
    EXPECT_EQ(recorder.commands, std::vector<uint16_t>{12});
    EXPECT_TRUE(framer.feed({}));
    EXPECT_EQ(recorder.commands, (std::vector<uint16_t>{12, 2}));
}

}  // namespace
