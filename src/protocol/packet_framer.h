#pragma once
// Cuts the byte stream received from the chat server into packets. The stream is received straight
// into a fixed receive buffer of kMaxPacketSize bytes; each packet, once all its bytes are present,
// is handed in place and in order to the handler, which answers whether the connection goes on.
//
// Re-entrancy. A handler may run a nested event loop (a message box, a wait prompt) in which the
// socket is read again, and it may end the connection:
// - reset() from a handler drops every byte not yet handed on; the packets being handled stay
//   valid until their handlers return, and the interrupted read hands on nothing more.
// - freeSpace()/commit()/feed() from a handler append after the bytes already held and hand on the
//   following packets in order; no packet is handed on twice, and the bytes of every packet whose
//   handler is still running are never moved or overwritten. While handlers run, their packets
//   occupy the front of the buffer, so freeSpace() can shrink, even to nothing: then the caller
//   must not read (that is not a receive failure) until the handlers return.
// - An exception from a handler passes through commit(); its packet counts as handed on, and the
//   packets after it are handed on by the next commit().
// - Once the framer has returned false (invalid size or a handler's false verdict, at any depth),
//   it hands on nothing more and keeps returning false until reset().
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "protocol/packet_header.h"
#include "util/logger.h"

class PacketFramer {
  public:
    // Receives one complete packet (header first, exactly its size); valid only during the call.
    // Returns false when the connection must end.
    using Handler = std::function<bool(std::span<const uint8_t> packet)>;

    // `logger` may be null.
    PacketFramer(Handler handler, tekna::Logger* logger);

    // Where the next received bytes go; report how many arrived with commit(). Moves the bytes not
    // yet handed on to the front first, so each read costs one move of its leftover at most.
    std::span<uint8_t> freeSpace();
    // Takes `received` bytes written into freeSpace() and hands on every packet now complete.
    // Returns false when the connection must end: a header with a size outside 24..kMaxPacketSize,
    // refused as soon as the header is present (logged "从服务器收到一个无效数据包"), or a
    // handler's false verdict (logged "数据包处理器返回false，数据包=<command>"). More than
    // freeSpace() holds is a caller's fault (std::length_error).
    bool commit(size_t received);
    // Receives `bytes` as a sequence of reads, each as large as the free space allows. Raises
    // std::length_error when running handlers hold the whole buffer.
    bool feed(std::span<const uint8_t> bytes);

    // Forgets every byte held, for a new connection.
    void reset();

    // Bytes received but not yet handed on.
    size_t bufferedBytes() const { return count_ - offset_; }

  private:
    bool handOn(std::span<const uint8_t> packet);

    Handler handler_;
    tekna::Logger* logger_;
    std::unique_ptr<uint8_t[]> buffer_;
    // buffer_[0, floor_) must stay in place (packets whose handlers are running), [offset_, count_)
    // holds the bytes not yet handed on; floor_ <= offset_ <= count_ <= kMaxPacketSize.
    size_t floor_ = 0;
    size_t offset_ = 0;
    size_t count_ = 0;
    bool failed_ = false;
};
