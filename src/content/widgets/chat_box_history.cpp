#include "content/widgets/chat_box_history.h"

#include "content/widgets/chat_box.h"

namespace chat {

void renderHistoryPage(ChatBox& box, std::span<const StoredMessage> messages, int32_t page) {
    box.clearBox();
    box.appendRuns(layoutHistoryPage(messages, page));
    box.scrollToBottom();
}

}  // namespace chat
