#include "protocol/processor_registry.h"

#include <string>

#include "protocol/packet_header.h"

namespace registry_detail {

bool readCommand(std::span<const uint8_t> packet, uint16_t& command) {
    if (packet.size() < kPacketHeaderSize) {
        return false;
    }
    command = PacketHeader::read(packet.data()).command;
    return true;
}

void reportUnknownPacket(tekna::Logger* log, uint16_t command) {
    tekna::logMessage(log, "未知数据包：#" + std::to_string(command));
}

void reportShortPacket(tekna::Logger* log, size_t size) {
    tekna::logMessage(log, "数据包不完整，长度：" + std::to_string(size));
}

void reportProcessorFailure(tekna::Logger* log, tekna::MessageBoxPort& messages,
                            const std::exception& failure) {
    messages.showMessage(failure.what(), tekna::MessageCaption::Error, tekna::MessageIcon::Error);
    tekna::logMessage(log, failure.what());
}

}  // namespace registry_detail
