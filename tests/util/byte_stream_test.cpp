#include "util/byte_stream.h"

#include <gtest/gtest.h>

namespace tekna {
namespace {

TEST(ByteStream, WritesLittleEndianAndReadsBack) {
    OutputByteStream out;
    out.writeI32(-2).writeU16(0x1234).writeF64(1.5).writeBytes("ab", 2);
    const std::vector<uint8_t> expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0,   0,
                                           0,    0,    0,    0,    0xF8, 0x3F, 'a', 'b'};
    EXPECT_EQ(out.bytes(), expected);

    InputByteStream in(out.bytes());
    int32_t i = 0;
    uint16_t u = 0;
    double d = 0;
    std::string s;
    EXPECT_TRUE(in.readI32(i).readU16(u).readF64(d).readString(s, 2));
    EXPECT_EQ(i, -2);
    EXPECT_EQ(u, 0x1234);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(s, "ab");
    EXPECT_EQ(in.remaining(), 0u);
}

TEST(ByteStream, ShortReadFailsAndStaysFailed) {
    const std::vector<uint8_t> bytes = {1, 0, 0, 0, 7, 0};
    InputByteStream in(bytes);
    int32_t first = 0;
    int32_t second = 99;
    uint16_t small = 0;
    EXPECT_TRUE(in.readI32(first));
    EXPECT_FALSE(in.readI32(second));  // only two bytes left
    EXPECT_EQ(second, 99);
    EXPECT_FALSE(in.readU16(small));  // would fit, but the stream has already failed
    EXPECT_EQ(small, 0);
}

TEST(ByteStream, HugeLengthDoesNotOverflow) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    InputByteStream in(bytes);
    std::string s = "keep";
    EXPECT_FALSE(in.readString(s, SIZE_MAX));
    EXPECT_EQ(s, "keep");
}

}  // namespace
}  // namespace tekna
