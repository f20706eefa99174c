#include "platform/config_cipher.h"

#include <algorithm>

#include "platform/base64.h"
#include "platform/md5.h"
#include "platform/rc4.h"

namespace chat {
namespace {

constexpr std::string_view kConfigurationPassword = "mqzfTpx482";
constexpr size_t kDerivedKeyBytes = 5;  // a 40-bit key

}  // namespace

std::array<uint8_t, 16> configurationKey() {
    const MD5::Digest digest = md5(kConfigurationPassword);
    std::array<uint8_t, 16> key{};
    std::copy_n(digest.begin(), kDerivedKeyBytes, key.begin());
    return key;
}

std::string decodeConfigurationText(std::string_view stored) {
    std::string text = base64Decode(stored);
    if (text.empty()) {
        return text;
    }
    Rc4 cipher(configurationKey());
    cipher.apply(std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    text.resize(std::min(text.find('\0'), text.size()));
    return text;
}

std::string encodeConfigurationText(std::string_view plain) {
    std::string cipher(plain);
    Rc4 rc4(configurationKey());
    rc4.apply(std::span(reinterpret_cast<uint8_t*>(cipher.data()), cipher.size()));
    return base64Encode(cipher);
}

}  // namespace chat
