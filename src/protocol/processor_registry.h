#pragma once
// Every packet the server sends is handled by one stateless processor chosen by the command id of
// its header. The registry owns the processors, keeps the connection alive through unknown ids
// and through standard exceptions raised by a processor, and otherwise returns the processor's
// verdict (false ends the connection).
//
// Both classes are templates over the context a processor works on: the chat client passes
// itself (its worker slot, rooms, filters, windows), tests pass a small fake. The context is
// whatever the caller defines; the registry only forwards a reference to it.
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <span>
#include <utility>

#include "util/logger.h"
#include "util/message_box_port.h"

namespace TcpPacketProcessor {

template <typename Context>
class Processor {
  public:
    virtual ~Processor() = default;
    // `packet` is the complete packet, header first, valid only during the call.
    // Returns true to keep the connection, false to end it.
    virtual bool process(Context& context, std::span<const uint8_t> packet) = 0;
};

}  // namespace TcpPacketProcessor

namespace registry_detail {

// The command id of a complete packet; none when the packet is shorter than its header.
bool readCommand(std::span<const uint8_t> packet, uint16_t& command);
void reportUnknownPacket(tekna::Logger* log, uint16_t command);
void reportShortPacket(tekna::Logger* log, size_t size);
void reportProcessorFailure(tekna::Logger* log, tekna::MessageBoxPort& messages,
                            const std::exception& failure);

}  // namespace registry_detail

template <typename Context>
class ProcessorRegistry {
  public:
    using Processor = TcpPacketProcessor::Processor<Context>;
    using ProcessorMap = std::map<uint16_t, std::unique_ptr<Processor>>;

    // The registry is filled once here; there is no adding or removing later.
    ProcessorRegistry(ProcessorMap processors, tekna::MessageBoxPort& messages)
        : processors_(std::move(processors)), messages_(messages) {}

    // The log may change (the chat client opens it on the first connection); null writes nothing.
    void setLog(tekna::Logger* log) { log_ = log; }

    // Window thread: hands one complete packet to its processor.
    bool dispatch(Context& context, std::span<const uint8_t> packet) {
        uint16_t command = 0;
        if (!registry_detail::readCommand(packet, command)) {
            registry_detail::reportShortPacket(log_, packet.size());
            return true;
        }
        const auto found = processors_.find(command);
        if (found == processors_.end()) {
            registry_detail::reportUnknownPacket(log_, command);
            return true;
        }
        try {
            return found->second->process(context, packet);
        } catch (const std::exception& failure) {
            registry_detail::reportProcessorFailure(log_, messages_, failure);
            return true;
        }
    }

    bool contains(uint16_t command) const { return processors_.contains(command); }
    size_t size() const { return processors_.size(); }

  private:
    ProcessorMap processors_;
    tekna::MessageBoxPort& messages_;
    tekna::Logger* log_ = nullptr;
};
