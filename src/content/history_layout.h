#pragma once
// The history view's rendering of stored messages: a numbered header line and the stored
// sections in the stored style, twenty messages to a page.
#include <cstdint>
#include <span>
#include <string>

#include "content/chat_box_layout.h"

namespace chat {

inline constexpr int32_t kHistoryPageSize = 20;

// One stored message as the history view needs it (the bytes stay with the record store).
struct StoredMessage {
    SystemTime time;
    std::string account;  // GBK
    std::u16string nickname;
    TextStyle style;
    std::span<const uint8_t> content;  // the message's sections
};

// "(n) YYYY-MM-DD HH:MM:SS  nickname:" in the name-line style, then the sections: texts plain,
// emoticons as "<表情N>" (N = -1 for a section that is not 12 bytes), pictures, picture files;
// other kinds are skipped. The walk stops where fewer than 8 bytes are left or a section does not
// fit (or claims less than its own head).
ChatBoxRuns layoutStoredMessage(int32_t number, const StoredMessage& message);

// Page `page` (from 1) of the messages, which are the matching records oldest first: messages
// 20 × (page − 1) + 1 … 20 × page, numbered from 1 in that order.
ChatBoxRuns layoutHistoryPage(std::span<const StoredMessage> messages, int32_t page);

}  // namespace chat
