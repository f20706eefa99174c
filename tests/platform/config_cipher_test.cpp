#include "platform/config_cipher.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/test_data.h"

namespace chat {
namespace {

TEST(ConfigCipher, EncodedTextDecodesToItself) {
    const std::string plain =
        "[special]\r\nProgramCaption=\xC4\xA7\xCE\xAC\xBF\xCD\xB7\xFE\r\n" + std::string(120, 'x');
    const std::string stored = encodeConfigurationText(plain);
    EXPECT_NE(stored.find("\r\n"), std::string::npos);  // long text: Base64 lines of 76
    EXPECT_EQ(decodeConfigurationText(stored), plain);
    EXPECT_EQ(encodeConfigurationText(""), "");
}

TEST(ConfigCipher, EncodesTheInstallersFileByteForByte) {
    std::ifstream file(test::platformData() / "program" / "config" / "Morvex.txt",
                       std::ios::binary);
    const std::string stored((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(encodeConfigurationText(decodeConfigurationText(stored)), stored);
}

}  // namespace
}  // namespace chat
