#include "app/startup_args.h"

#include <string>

#include "util/text_codec.h"

namespace chat {
namespace {

struct Option {
    std::string_view prefix;
    std::string StartupArgs::*field;
};

constexpr Option kOptions[] = {
    {"/account:", &StartupArgs::account},
    {"/pswd:", &StartupArgs::password},
    {"/server:", &StartupArgs::server},
    {"/pid:", &StartupArgs::platformId},
    {"/pidaccount:", &StartupArgs::platformAccount},
    {"/pidpswd:", &StartupArgs::platformPassword},
    {"/chatUrl:", &StartupArgs::chatUrl},
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Walks `text` character by character: a two-byte GBK character must equal the prefix's two bytes
// exactly; single bytes compare without regard to ASCII letter case.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    size_t pos = 0;
    while (pos < prefix.size()) {
        if (pos >= text.size()) {
            return false;
        }
        if (isGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) {
            if (text.substr(pos, 2) != prefix.substr(pos, 2)) {
                return false;
            }
            pos += 2;
        } else {
            if (asciiLower(text[pos]) != asciiLower(prefix[pos])) {
                return false;
            }
            ++pos;
        }
    }
    return pos == prefix.size();
}

void applyToken(StartupArgs& args, std::string_view token) {
    for (const Option& option : kOptions) {
        if (startsWithIgnoringCase(token, option.prefix)) {
            args.*option.field = std::string(token.substr(option.prefix.size()));
            return;
        }
    }
}

void applyTokens(StartupArgs& args, std::string_view line) {
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && isBlank(line[pos])) {
            ++pos;
        }
        const size_t start = pos;
        while (pos < line.size() && !isBlank(line[pos])) {
            ++pos;
        }
        if (pos > start) {
            applyToken(args, line.substr(start, pos - start));
        }
    }
}

int characterValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

StartupArgs parseCommandLine(std::string_view gbkCommandLine) {
    StartupArgs args;
    applyTokens(args, gbkCommandLine);
    return args;
}

StartupArgs parseCommandLine(int argc, const char* const* argv) {
    StartupArgs args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        applyTokens(args, isValidUtf8(argument) ? utf8ToGbk(argument) : std::string(argument));
    }
    return args;
}

void validateStartupArgs(const StartupArgs& args) {
    if (args.password.size() < 32 || args.account.empty()) {
        throw InvalidCommandLine();
    }
}

std::array<uint8_t, 16> decodePasswordDigest(std::string_view password) {
    std::array<uint8_t, 16> digest{};
    for (size_t i = 0; i < digest.size() && 2 * i + 1 < password.size(); ++i) {
        const int high = characterValue(password[2 * i]);
        const int low = characterValue(password[2 * i + 1]);
        if (high < 0 || low < 0) {
            break;
        }
        digest[i] = static_cast<uint8_t>((high * 16 + low) % 256);
    }
    return digest;
}

}  // namespace chat
