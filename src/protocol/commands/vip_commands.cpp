#include "protocol/commands/vip_commands.h"

#include <algorithm>

namespace chat::cmd {
namespace {

bool isWhiteSpace(uint8_t byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

}  // namespace

void VipAccounts::write(std::vector<uint8_t>& out, const Value& accounts) {
    for (size_t i = 0; i < accounts.size(); ++i) {
        if (i > 0) {
            out.push_back(' ');
        }
        out.insert(out.end(), accounts[i].begin(), accounts[i].end());
    }
}

VipAccounts::Value VipAccounts::read(std::span<const uint8_t> bytes) {
    Value accounts;
    auto at = bytes.begin();
    while (true) {
        at = std::find_if_not(at, bytes.end(), isWhiteSpace);
        if (at == bytes.end()) {
            break;
        }
        const auto end = std::find_if(at, bytes.end(), isWhiteSpace);
        accounts.emplace_back(at, end);
        at = end;
    }
    return accounts;
}

}  // namespace chat::cmd
