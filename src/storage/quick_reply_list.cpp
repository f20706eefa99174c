#include "storage/quick_reply_list.h"

#include <algorithm>
#include <cctype>

#include "storage/ini_document.h"

namespace chat {

bool QuickReplyList::add(std::u16string text, char hotKey) {
    if (text.empty() || std::any_of(replies_.begin(), replies_.end(),
                                    [&](const QuickReply& r) { return r.text == text; })) {
        return false;
    }
    replies_.push_back(QuickReply{hotKey, std::move(text)});
    return true;
}

std::optional<std::u16string> QuickReplyList::findByHotKey(char hotKey) const {
    const auto folded = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    for (const QuickReply& reply : replies_) {
        if (folded(reply.hotKey) == folded(hotKey)) {
            return reply.text;
        }
    }
    return std::nullopt;
}

void QuickReplyList::removeByText(std::u16string_view text) {
    std::erase_if(replies_, [&](const QuickReply& r) { return r.text == text; });
}

std::string quickReplyTextProblem(std::u16string_view text, const QuickReplyList& list,
                                  std::u16string_view replacing) {
    if (text.empty()) {
        return "回复内容不能为空！";
    }
    if (text.find(u'=') != std::u16string_view::npos) {
        return "回复内容不能包含等号“=”！";
    }
    if (text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos) {
        return "回复内容不能换行！";
    }
    if (text.front() <= u' ' || text.back() <= u' ') {
        return "回复内容的开头和结尾不能是空白字符！";
    }
    if (text.front() == u'[') {
        return "回复内容不能以“[”开头！";
    }
    for (const QuickReply& reply : list.replies()) {
        if (reply.text != text && reply.text != replacing &&
            equalsIgnoringAsciiCase(reply.text, text)) {
            return "已有一条只是字母大小写不同的回复！";
        }
    }
    return {};
}

}  // namespace chat
