#include "protocol/tcp_packet.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "packet_fixtures.h"
#include "util/compression.h"
#include "util/little_endian.h"

namespace {

using chat::test::packetWithBody;
using chat::test::patternBytes;
using Bytes = std::vector<uint8_t>;

Bytes utf16le(const std::u16string& units) {
    Bytes bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(TcpPacketHeadAndRecords, BodyLengthGivesHeadAndWholeRecords) {
    struct Case {
        size_t bodySize;
        size_t records;  // ignored when the body is too short
        bool tooShort;
    };
    const std::vector<Case> cases = {
        {99, 0, true},
        {100, 0, false},
        {100 + 131, 0, false},
        {100 + 264, 2, false},
        {100 + 3 * 132 + 7, 3, false},
    };
    for (const Case& c : cases) {
        for (const bool compressed : {false, true}) {
            SCOPED_TRACE(std::to_string(c.bodySize) + (compressed ? " compressed" : " plain"));
            const Bytes body = patternBytes(c.bodySize, 7);
            const Bytes packet = packetWithBody(12, body, compressed);
            if (c.tooShort) {
                try {
                    TcpPacket::decodeHeadAndRecords(packet);
                    ADD_FAILURE() << "no error";
                } catch (const std::runtime_error& error) {
                    EXPECT_STREQ(error.what(), "无效数据");
                }
                continue;
            }
            const TcpPacket::HeadAndRecords result = TcpPacket::decodeHeadAndRecords(packet);
            EXPECT_TRUE(std::equal(result.head.begin(), result.head.end(), body.begin()));
            ASSERT_EQ(result.records.size(), c.records);
            for (size_t i = 0; i < c.records; ++i) {
                const auto start = body.begin() + static_cast<ptrdiff_t>(100 + i * 132);
                EXPECT_TRUE(std::equal(result.records[i].begin(), result.records[i].end(), start))
                    << "record " << i;
            }
        }
    }
}

TEST(TcpPacketHeadAndRecords, PacketWithoutBodyIsALogicError) {
    for (const bool compressed : {false, true}) {
        Bytes packet = packetWithBody(12, {}, false);
        packet[6] = compressed ? 1 : 0;
        try {
            TcpPacket::decodeHeadAndRecords(packet);
            ADD_FAILURE() << "no error";
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), "File: .\\TcpPacket\nLine: 35\n Err: Invalid Packet Size");
        }
    }
}

// The header's size field may claim more or less than the span holds: the smaller counts.
TEST(TcpPacketHeadAndRecords, ReadsNoFurtherThanSpanOrSizeField) {
    const Bytes body = patternBytes(100 + 2 * 132);
    const Bytes packet = packetWithBody(12, body);

    const auto cutSpan = TcpPacket::decodeHeadAndRecords({packet.data(), packet.size() - 1});
    EXPECT_EQ(cutSpan.records.size(), 1u);

    Bytes shortSize = packet;
    chat::storeLE<uint32_t>(shortSize.data(), 24 + 100 + 132);
    EXPECT_EQ(TcpPacket::decodeHeadAndRecords(shortSize).records.size(), 1u);

    EXPECT_THROW(TcpPacket::decodeHeadAndRecords({packet.data(), 10}), std::logic_error);
}

TEST(TcpPacketWideStringList, StringsEndAtNulOrEndOfBody) {
    struct Case {
        std::string name;
        Bytes body;
        std::set<std::u16string> expected;
    };
    Bytes oddTail = utf16le(u"ab");
    oddTail.push_back('c');
    const std::vector<Case> cases = {
        {"empty string skipped", utf16le(std::u16string(u"a\0\0b", 4)), {u"a", u"b"}},
        {"last without NUL", utf16le(std::u16string(u"词一\0词二", 5)), {u"词一", u"词二"}},
        {"trailing NULs", utf16le(std::u16string(u"x\0\0\0", 4)), {u"x"}},
        {"duplicates fold", utf16le(std::u16string(u"ab\0ab\0b", 7)), {u"ab", u"b"}},
        {"odd last byte ignored", oddTail, {u"ab"}},
        {"single byte", Bytes{'a'}, {}},
        {"only NULs", Bytes(6, 0), {}},
    };
    for (const Case& c : cases) {
        for (const bool compressed : {false, true}) {
            SCOPED_TRACE(c.name + (compressed ? " compressed" : " plain"));
            EXPECT_EQ(TcpPacket::decodeWideStringList(packetWithBody(17, c.body, compressed)),
                      c.expected);
        }
    }
}

TEST(TcpPacketWideStringList, PacketWithoutBodyGivesNoStrings) {
    EXPECT_TRUE(TcpPacket::decodeWideStringList(packetWithBody(50, {})).empty());
    const Bytes packet = packetWithBody(50, utf16le(u"abc"));
    EXPECT_TRUE(TcpPacket::decodeWideStringList({packet.data(), 12}).empty());
    // A span cut inside the body: only what the span holds.
    EXPECT_EQ(TcpPacket::decodeWideStringList({packet.data(), packet.size() - 2}),
              std::set<std::u16string>{u"ab"});
}

TEST(TcpPacketRawBytes, BodyIsCopiedOrInflated) {
    const Bytes body = patternBytes(5000, 3);
    EXPECT_EQ(TcpPacket::decodeRawBytes(packetWithBody(18, body)), body);
    EXPECT_EQ(TcpPacket::decodeRawBytes(packetWithBody(18, body, true)), body);
    EXPECT_TRUE(TcpPacket::decodeRawBytes(packetWithBody(18, {})).empty());
    Bytes compressedEmpty = packetWithBody(18, {});
    compressedEmpty[6] = 1;
    EXPECT_TRUE(TcpPacket::decodeRawBytes(compressedEmpty).empty());
}

TEST(TcpPacket, CorruptCompressedBodyRaisesTheInflateError) {
    Bytes corrupt = packetWithBody(12, patternBytes(400), true);
    corrupt[24] ^= 0xFF;  // breaks the zlib header
    using Decoder = void (*)(std::span<const uint8_t>);
    const std::vector<Decoder> decoders = {
        [](std::span<const uint8_t> p) { TcpPacket::decodeHeadAndRecords(p); },
        [](std::span<const uint8_t> p) { TcpPacket::decodeWideStringList(p); },
        [](std::span<const uint8_t> p) { TcpPacket::decodeRawBytes(p); },
    };
    for (const Decoder decode : decoders) {
        try {
            decode(corrupt);
            ADD_FAILURE() << "no error";
        } catch (const tekna::EZLib& error) {
            EXPECT_EQ(error.errorCode(), Z_DATA_ERROR);
            EXPECT_STREQ(error.what(), "ZLib function \"inflate\" failed, error=-3");
        }
    }
}

}  // namespace
