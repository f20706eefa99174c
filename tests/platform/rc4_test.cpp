#include "platform/rc4.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/config_cipher.h"
#include "platform/md5.h"

namespace chat {
namespace {

std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(Rc4, ClassicVectors) {
    struct Case {
        std::string key;
        std::string plain;
        std::string cipherHex;
    };
    const Case cases[] = {
        {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
        {"Wiki", "pedia", "1021BF0420"},
        {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> data = bytesOf(c.plain);
        Rc4(bytesOf(c.key)).apply(data);
        EXPECT_EQ(hexText(data), c.cipherHex) << c.key;
        Rc4(bytesOf(c.key)).apply(data);
        EXPECT_EQ(data, bytesOf(c.plain)) << c.key;
    }
}

TEST(Rc4, Rfc6229KeyStreamAt40BitKeyOffsets) {
    // Key 0x0102030405; the key stream continues across apply() calls of any size.
    const uint8_t key[] = {1, 2, 3, 4, 5};
    Rc4 cipher(key);
    std::vector<uint8_t> stream(272, 0);
    cipher.apply(std::span(stream).first(7));
    cipher.apply(std::span(stream).subspan(7));
    const auto at = [&](size_t offset) { return hexText(std::span(stream).subspan(offset, 16)); };
    EXPECT_EQ(at(0), "B2396305F03DC027CCC3524A0A1118A8");
    EXPECT_EQ(at(16), "6982944F18FC82D589C403A47A0D0919");
    EXPECT_EQ(at(240), "28CB1132C96CE286421DCAADB8B69EAE");
    EXPECT_EQ(at(256), "1CFCF62B03EDDB641D77DFCF7F8D8C93");
}

TEST(Rc4, EmptyOrOversizedKeyIsRefused) {
    EXPECT_THROW(Rc4(std::span<const uint8_t>()), std::invalid_argument);
    const std::vector<uint8_t> tooLong(257, 1);
    EXPECT_THROW(Rc4{tooLong}, std::invalid_argument);
}

TEST(ConfigurationKey, FiveDigestBytesThenElevenZeros) {
    const auto key = configurationKey();
    EXPECT_EQ(hexText(key), md5HexText("mqzfTpx482").substr(0, 10) + std::string(22, '0'));
}

}  // namespace
}  // namespace chat
