#pragma once
// The chat box's list of the messages it shows (display order, oldest first) and its running
// character count. When the count reaches the configured size, whole messages are dropped from
// the top; the ledger says which ranges the box must delete and how its selection moves, so any
// widget can follow it.
//
// Positions are kept relative to a base that grows by each dropped length, so dropping a message
// costs the same however many messages remain.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace chat {

// One message in the box: its speaker (0 for system lines), its character range, and 1 when it
// opens with a role icon.
struct ChatBoxEntry {
    int32_t speakerId = 0;
    int32_t start = 0;
    int32_t end = 0;
    int32_t iconFlag = 0;
    bool operator==(const ChatBoxEntry&) const = default;
};

struct TextRange {
    int32_t start = 0;
    int32_t end = 0;
    bool operator==(const TextRange&) const = default;
};

struct TrimResult {
    // The ranges to delete, in this order, each in the positions current when it is deleted.
    // Valid until the ledger records or clears again.
    std::span<const TextRange> removals;
    int32_t removedLength = 0;

    // A selection taken before the trim, moved back by the removed length (not below 0).
    TextRange shift(TextRange selection) const;
};

class ChatBoxLedger {
  public:
    // Adds the message (positions as they are in the box now) and its length to the count, then
    // drops the oldest messages while the count is at least `maxChars`.
    TrimResult record(const ChatBoxEntry& entry, int32_t maxChars);
    // The box was emptied: no messages, count 0.
    void clear();

    int32_t characterCount() const { return characterCount_; }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The message at `index` (0 = oldest) in current positions.
    ChatBoxEntry entry(size_t index) const;

    // The message whose nickname link is [linkStart, linkEnd): its start plus icon flag is the
    // link's start and it reaches beyond the link's end.
    std::optional<ChatBoxEntry> messageWithNicknameAt(int32_t linkStart, int32_t linkEnd) const;

  private:
    struct Stored {
        int32_t speakerId;
        int64_t start;  // relative to base_
        int64_t end;
        int32_t iconFlag;
    };

    ChatBoxEntry current(const Stored& stored) const;

    std::deque<Stored> entries_;
    std::vector<TextRange> removals_;  // of the last record; reused so trimming does not allocate
    int64_t base_ = 0;
    int32_t characterCount_ = 0;
};

}  // namespace chat
