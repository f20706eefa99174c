#include "content/chat_box_ledger.h"

#include <algorithm>
#include <cstdlib>

namespace chat {
namespace {

int32_t lengthOf(int64_t start, int64_t end) {
    return static_cast<int32_t>(std::llabs(end - start));
}

}  // namespace

TextRange TrimResult::shift(TextRange selection) const {
    return TextRange{std::max(selection.start - removedLength, 0),
                     std::max(selection.end - removedLength, 0)};
}

ChatBoxEntry ChatBoxLedger::current(const Stored& stored) const {
    return ChatBoxEntry{stored.speakerId, static_cast<int32_t>(stored.start - base_),
                        static_cast<int32_t>(stored.end - base_), stored.iconFlag};
}

ChatBoxEntry ChatBoxLedger::entry(size_t index) const {
    return current(entries_.at(index));
}

TrimResult ChatBoxLedger::record(const ChatBoxEntry& entry, int32_t maxChars) {
    entries_.push_back(
        Stored{entry.speakerId, entry.start + base_, entry.end + base_, entry.iconFlag});
    characterCount_ += lengthOf(entry.start, entry.end);

    TrimResult result;
    removals_.clear();
    while (characterCount_ >= maxChars && !entries_.empty()) {
        const ChatBoxEntry oldest = current(entries_.front());
        const int32_t length = lengthOf(oldest.start, oldest.end);
        removals_.push_back(TextRange{oldest.start, oldest.end});
        result.removedLength += length;
        characterCount_ -= length;
        base_ += length;
        entries_.pop_front();
    }
    result.removals = removals_;
    return result;
}

void ChatBoxLedger::clear() {
    entries_.clear();
    removals_.clear();
    base_ = 0;
    characterCount_ = 0;
}

std::optional<ChatBoxEntry> ChatBoxLedger::messageWithNicknameAt(int32_t linkStart,
                                                                 int32_t linkEnd) const {
    for (const Stored& stored : entries_) {
        const ChatBoxEntry candidate = current(stored);
        if (candidate.start + candidate.iconFlag == linkStart && candidate.end > linkEnd) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace chat
