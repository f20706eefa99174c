#pragma once
// Draws a page of the history view into a chat box: the box is emptied, the page's stored
// messages are drawn oldest first, and the box scrolls to the bottom.
#include <cstdint>
#include <span>

#include "content/history_layout.h"

namespace chat {

class ChatBox;

void renderHistoryPage(ChatBox& box, std::span<const StoredMessage> messages, int32_t page);

}  // namespace chat
