#include "content/history_layout.h"

#include <cstdio>

#include "content/chat_message.h"
#include "util/little_endian.h"
#include "util/text_codec.h"
#include "util/wire_text.h"

namespace chat {
namespace {

std::u16string decimal(int64_t value) {
    return utf8ToUtf16(std::to_string(value));
}

std::u16string dateTimeText(const SystemTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", unsigned{t.year},
                  unsigned{t.month}, unsigned{t.day}, unsigned{t.hour}, unsigned{t.minute},
                  unsigned{t.second});
    return utf8ToUtf16(text);
}

void appendSection(ChatBoxRuns& runs, uint8_t kind, std::span<const uint8_t> payload,
                   const TextStyle& style) {
    switch (static_cast<ChatSectionKind>(kind)) {
        case ChatSectionKind::SectionTextAnsi:
            runs.push_back(TextRun{sectionAnsiText(payload), style, false});
            break;
        case ChatSectionKind::SectionText:
            runs.push_back(TextRun{sectionText(payload), style, false});
            break;
        case ChatSectionKind::SectionEmote: {
            const int32_t number = payload.size() == 4 ? loadLE<int32_t>(payload.data()) : -1;
            runs.push_back(TextRun{u"<表情" + decimal(number) + u">", style, false});
            break;
        }
        case ChatSectionKind::SectionPicture:
            runs.push_back(PictureRun{std::vector<uint8_t>(payload.begin(), payload.end()), 0});
            break;
        case ChatSectionKind::SectionPictureFile:
            runs.push_back(PictureFileRun{getWide(payload.data(), payload.size() / 2)});
            break;
        default:
            break;
    }
}

}  // namespace

ChatBoxRuns layoutStoredMessage(int32_t number, const StoredMessage& message) {
    ChatBoxRuns runs;
    runs.push_back(TextRun{u"(" + decimal(number) + u") " + dateTimeText(message.time) + u"  " +
                               message.nickname + u":\r",
                           nameLineStyle(), false});
    const auto content = message.content;
    size_t at = 0;
    while (content.size() - at >= ChatSection::kHeadSize) {
        const ChatSection head = ChatSection::read(content.data() + at);
        if (head.size < ChatSection::kHeadSize || head.size > content.size() - at) {
            break;
        }
        appendSection(
            runs, head.kind,
            content.subspan(at + ChatSection::kHeadSize, head.size - ChatSection::kHeadSize),
            message.style);
        at += head.size;
    }
    runs.push_back(TextRun{u"\r\n", message.style, false});
    return runs;
}

ChatBoxRuns layoutHistoryPage(std::span<const StoredMessage> messages, int32_t page) {
    ChatBoxRuns runs;
    if (page < 1) {
        return runs;
    }
    const size_t first = static_cast<size_t>(page - 1) * kHistoryPageSize;
    for (size_t i = first; i < messages.size() && i < first + kHistoryPageSize; ++i) {
        ChatBoxRuns message = layoutStoredMessage(static_cast<int32_t>(i + 1), messages[i]);
        runs.insert(runs.end(), std::make_move_iterator(message.begin()),
                    std::make_move_iterator(message.end()));
    }
    return runs;
}

}  // namespace chat
