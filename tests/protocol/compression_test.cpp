#include "util/compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "packet_fixtures.h"

namespace {

using chat::test::zlibCompress;
using Bytes = std::vector<uint8_t>;

Bytes randomishText(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> letter('a', 'h');  // compresses, but not to nothing
    Bytes bytes(count);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(letter(random));
    }
    return bytes;
}

// Outputs that take one chunk, exactly fill chunks, or need many chunks, with compressed inputs
// below and above 1024 bytes (chunks of 1024 bytes or of twice the input).
TEST(Inflate, RestoresWhatZlibCompressed) {
    const std::vector<Bytes> plains = {
        Bytes{'x'},
        Bytes(1024, 'a'),
        Bytes(2048, 'b'),
        Bytes(1 << 20, 0),  // a tiny input that inflates over a thousand 1024-byte chunks
        randomishText(1500, 1),
        randomishText(300000, 2),  // compressed above 1024 bytes: several chunks of twice its size
    };
    for (const Bytes& plain : plains) {
        SCOPED_TRACE(plain.size());
        EXPECT_EQ(tekna::Inflate().process(zlibCompress(plain)), plain);
    }
}

TEST(Inflate, EmptyInputGivesEmptyOutput) {
    EXPECT_TRUE(tekna::Inflate().process({}).empty());
}

// Input that ends before the stream does yields what it held, without error.
TEST(Inflate, CutStreamStopsWithoutError) {
    const Bytes plain = randomishText(20000, 3);
    const Bytes packed = zlibCompress(plain);
    const Bytes output = tekna::Inflate().process({packed.data(), packed.size() / 2});
    ASSERT_FALSE(output.empty());
    ASSERT_LT(output.size(), plain.size());
    EXPECT_TRUE(std::equal(output.begin(), output.end(), plain.begin()));
}

TEST(Inflate, FailureNamesTheFunctionAndZlibsCode) {
    const Bytes notZlib = {0x12, 0x34, 0x56, 0x78, 0x9A};
    try {
        tekna::Inflate().process(notZlib);
        FAIL() << "no error";
    } catch (const tekna::EZLib& error) {
        EXPECT_EQ(error.errorCode(), Z_DATA_ERROR);
        EXPECT_STREQ(error.what(), "ZLib function \"inflate\" failed, error=-3");
    }
    EXPECT_STREQ(tekna::EZLib("inflateInit", Z_VERSION_ERROR).what(),
                 "ZLib function \"inflateInit\" failed, error=-6");
}

}  // namespace
