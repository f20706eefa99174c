#include "protocol/commands/admin_role_commands.h"

#include <algorithm>
#include <string_view>

#include "util/little_endian.h"

namespace chat::cmd {
namespace {

// The NUL-terminated string at the start of `bytes`, or all of `bytes` when no NUL follows.
std::string_view leadingString(std::span<const uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<size_t>(end - bytes.begin())};
}

// Skips the string and its NUL, if any.
std::span<const uint8_t> afterString(std::span<const uint8_t> bytes, std::string_view text) {
    return bytes.subspan(std::min(bytes.size(), text.size() + 1));
}

std::string_view trimControlsAndBlanks(std::string_view text) {
    const auto isTrimmed = [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 1 && code <= 32;
    };
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void appendString(std::vector<uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

}  // namespace

void AdminEntries::write(std::vector<uint8_t>& out, const Value& admins) {
    for (const auto& [account, level] : admins) {
        const size_t at = out.size();
        out.resize(at + sizeof level);
        storeLE(out.data() + at, level);
        appendString(out, account);
    }
    out.resize(out.size() + 4, 0);
}

AdminEntries::Value AdminEntries::read(std::span<const uint8_t> bytes) {
    Value admins;
    while (bytes.size() >= 4 && bytes.front() != 0) {
        const auto level = loadLE<uint32_t>(bytes.data());
        bytes = bytes.subspan(4);
        const std::string_view account = leadingString(bytes);
        admins.insert_or_assign(std::string(account), level);
        bytes = afterString(bytes, account);
    }
    return admins;
}

void OwnerAccounts::write(std::vector<uint8_t>& out, const Value& owners) {
    for (const std::string& owner : owners) {
        appendString(out, owner);
    }
    out.push_back(0);
}

OwnerAccounts::Value OwnerAccounts::read(std::span<const uint8_t> bytes) {
    Value owners;
    while (!bytes.empty() && bytes.front() != 0) {
        const std::string_view line = leadingString(bytes);
        const std::string_view owner = trimControlsAndBlanks(line);
        if (!owner.empty()) {
            owners.emplace_back(owner);
        }
        bytes = afterString(bytes, line);
    }
    return owners;
}

}  // namespace chat::cmd
