#pragma once
// The platform's configuration files are Base64 text of an RC4 ciphertext. The RC4 key is the one
// the platform's cryptographic service derives from the configuration password with default
// parameters: a 40-bit key (the first five bytes of MD5(password)) extended by eleven zero bytes
// to sixteen bytes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace chat {

std::array<uint8_t, 16> configurationKey();

// Base64 decode, RC4 decipher as one key stream, cut at the first zero byte. Returns the plain
// bytes as the file holds them (GBK or UTF-8; see readConfigTextFile for the encoding).
std::string decodeConfigurationText(std::string_view stored);

// The reverse, as the platform's installer writes the files: RC4 encipher with the configuration
// key, then Base64 (CR LF after every 76 characters). `plain` must hold no zero byte, since the
// reader cuts the text there.
std::string encodeConfigurationText(std::string_view plain);

}  // namespace chat
