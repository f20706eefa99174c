#include "protocol/commands/chat_commands.h"

#include "protocol/tcp_packet.h"

namespace chat::cmd {

void WideWords::write(std::vector<uint8_t>& out, const Value& words) {
    for (const std::u16string& word : words) {
        WideText::write(out, word);
    }
}

WideWords::Value WideWords::read(std::span<const uint8_t> bytes) {
    return TcpPacket::readWideStringList(bytes);
}

}  // namespace chat::cmd
