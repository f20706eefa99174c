#pragma once
// The per-process message counter. Composing takes the next value (the first message of a run
// carries 1); once a message has been sent and shown locally its sequence is remembered, so the
// server's echo of it can be recognised and dropped.
#include <atomic>
#include <cstdint>

namespace chat {

class MessageSequence {
  public:
    int32_t next() { return counter_.fetch_add(1) + 1; }

    void markSent(int32_t sequence) { lastSent_ = sequence; }
    int32_t lastSent() const { return lastSent_; }

    // A received message of the local user that is already shown locally.
    bool isOwnEcho(bool speakerIsLocalUser, int32_t sequence) const {
        return speakerIsLocalUser && sequence <= lastSent_;
    }

  private:
    std::atomic<int32_t> counter_{0};
    int32_t lastSent_ = 0;
};

}  // namespace chat
