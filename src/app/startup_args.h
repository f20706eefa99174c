#pragma once
// The launch values that the platform's main client passes on the command line.
//
// How the command line arrives: the platform hands Windows programs one narrow (GBK) command line.
// Here the process gets argv, whose bytes are usually UTF-8. Each argument that is valid UTF-8 is
// converted to GBK; any other argument is taken as GBK bytes as they are. The arguments after the
// program name are then cut at white space like the one command line would be (no quoting, so a
// value never holds a blank), and the values are kept as GBK bytes like every narrow wire text.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace chat {

struct StartupArgs {
    std::string account;           // "/account:"
    std::string password;          // "/pswd:", the password digest as text
    std::string server;            // "/server:", chat server host name without port
    std::string platformId;        // "/pid:"
    std::string platformAccount;   // "/pidaccount:"
    std::string platformPassword;  // "/pidpswd:"
    std::string chatUrl;           // "/chatUrl:", suffix of the room selection page address
};

// Tokens are cut at white space; each token is compared with the option prefixes in the order of
// the fields above, ignoring ASCII letter case but never folding or half-matching a two-byte GBK
// character. The first matching prefix takes the rest of the token; a later token with the same
// prefix wins; tokens that match no prefix are ignored.
StartupArgs parseCommandLine(std::string_view gbkCommandLine);

// argv[0] is the program name and is skipped.
StartupArgs parseCommandLine(int argc, const char* const* argv);

// Raised for a command line the program cannot start with.
class InvalidCommandLine : public std::runtime_error {
  public:
    InvalidCommandLine() : std::runtime_error("无效的命令行参数！") {}
};

// The password digest text holds at least 32 characters and the account is not empty; throws
// InvalidCommandLine otherwise.
void validateStartupArgs(const StartupArgs& args);

// The 16 bytes of the password digest: two characters per byte, the first giving the high four
// bits, each character worth 0-9 (digits) or 10-35 (letters of either case), each byte
// (high * 16 + low) mod 256. Decoding stops at the first character that is neither digit nor
// letter; the bytes it does not reach stay 0.
std::array<uint8_t, 16> decodePasswordDigest(std::string_view password);

}  // namespace chat
