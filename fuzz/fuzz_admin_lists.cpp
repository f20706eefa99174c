// The lists that administration replies carry without any count: the administrator list (79),
// the owner list (82/83) and the VIP gift accounts (59/60). The first byte picks the list; the
// rest is the list's bytes up to the packet end. What is read is written and read again, and must
// come back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "protocol/commands/admin_role_commands.h"
#include "protocol/commands/vip_commands.h"

namespace {

template <class Codec>
void readWriteRead(std::span<const uint8_t> bytes) {
    const auto first = Codec::read(bytes);
    std::vector<uint8_t> written;
    Codec::write(written, first);
    if (Codec::read(written) != first) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const uint8_t> list(data + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            readWriteRead<chat::cmd::AdminEntries>(list);
            break;
        case 1:
            readWriteRead<chat::cmd::OwnerAccounts>(list);
            break;
        default:
            readWriteRead<chat::cmd::VipAccounts>(list);
            break;
    }
    return 0;
}
