#include "platform/base64.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace chat {
namespace {

std::string bytesOfLength(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>(i * 37 + 11);
    }
    return bytes;
}

TEST(Base64, Rfc4648VectorsRoundTrip) {
    struct Case {
        std::string plain;
        std::string encoded;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"ab", "YWI="},
        {"abc", "YWJj"},
        {std::string("\0\xFF\xFE", 3), "AP/+"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(base64Encode(c.plain), c.encoded) << c.encoded;
        EXPECT_EQ(base64Decode(c.encoded), c.plain) << c.encoded;
    }
}

TEST(Base64, LineBreakAfterEveryFullLineOnly) {
    const std::string oneLine = base64Encode(bytesOfLength(57));
    ASSERT_EQ(oneLine.size(), 78u);
    EXPECT_EQ(oneLine.substr(76), "\r\n");
    EXPECT_EQ(oneLine.find('\r'), 76u);

    const std::string twoLines = base64Encode(bytesOfLength(58));
    ASSERT_EQ(twoLines.size(), 78u + 4u);
    EXPECT_EQ(twoLines.substr(76, 2), "\r\n");
    EXPECT_EQ(twoLines.substr(78, 2).find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(twoLines.substr(80), "==");

    const std::string shortLast = base64Encode(bytesOfLength(54));
    EXPECT_EQ(shortLast.size(), 72u);
    EXPECT_EQ(shortLast.find('\r'), std::string::npos);

    EXPECT_EQ(base64Encode(bytesOfLength(55)).substr(74),
              "==\r\n");  // 76 with padding: a full line

    for (const size_t length : {0u, 1u, 56u, 57u, 58u, 114u, 115u, 1000u}) {
        const std::string bytes = bytesOfLength(length);
        const std::string encoded = base64Encode(bytes);
        EXPECT_EQ(encoded.size(), base64EncodedSize(length)) << length;
        EXPECT_EQ(base64Decode(encoded), bytes) << length;
    }
}

TEST(Base64, DecodingSkipsBreaksPaddingAndJunkAndStopsAtNul) {
    const std::string bytes = bytesOfLength(40);
    const std::string clean = base64Encode(bytes);
    std::string noisy;
    for (size_t i = 0; i < clean.size(); ++i) {
        noisy += clean[i];
        if (i % 5 == 0) {
            noisy += "\r\n=\t*-_\x80";
        }
    }
    EXPECT_EQ(base64Decode(noisy), bytes);
    EXPECT_EQ(base64Decode(std::string("Zm9v\0Zm9v", 9)), "foo");
    EXPECT_EQ(base64Decode("Zm9vY"), "foo");  // a lone last character gives no byte
    EXPECT_EQ(base64Decode("Zm9vYg"), "foob");
    EXPECT_EQ(base64Decode("Z=m=9=v"), "foo");
}

TEST(Base64, EncodeBufferMustHoldTheWholeText) {
    const std::string bytes = "foobar";
    char out[16] = {};
    size_t size = 7;
    EXPECT_FALSE(base64Encode(bytes.data(), bytes.size(), out, size));
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(out[0], '\0');  // nothing written
    size = sizeof out;
    ASSERT_TRUE(base64Encode(bytes.data(), bytes.size(), out, size));
    EXPECT_EQ(std::string(out, size), "Zm9vYmFy");
    size = sizeof out;
    EXPECT_FALSE(base64Encode(nullptr, 3, out, size));
    EXPECT_FALSE(base64Encode(bytes.data(), bytes.size(), nullptr, size));
}

TEST(Base64, DecodeIntoSmallBufferWritesWhatFitsAndReportsNeededSize) {
    const std::string text = "Zm9vYmFy";
    std::vector<char> out(4, '#');
    size_t size = 4;
    EXPECT_FALSE(base64Decode(text.data(), text.size(), out.data(), size));
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::string(out.data(), 4), "foob");
    out.assign(6, '#');
    size = 6;
    ASSERT_TRUE(base64Decode(text.data(), text.size(), out.data(), size));
    EXPECT_EQ(std::string(out.data(), size), "foobar");
    size = 0;
    EXPECT_FALSE(base64Decode(text.data(), text.size(), out.data(), size));
    EXPECT_EQ(size, 6u);
}

}  // namespace
}  // namespace chat
