#include "ui/main_window/chat_room.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace chat {
namespace {

constexpr int kChatterListWidth = 200;

}  // namespace

CChatRoom::CChatRoom(int32_t roomId, const QString& name, bool privateRoom, QWidget* parent)
    : QWidget(parent),
      roomId_(roomId),
      name_(name),
      privateRoom_(privateRoom),
      announcement_(new QLabel(this)),
      chatBox_(new ChatBox(this)),
      chatters_(new QListWidget(this)) {
    announcement_->setWordWrap(true);
    chatters_->setFixedWidth(kChatterListWidth);
    auto* left = new QVBoxLayout;
    left->addWidget(announcement_);
    left->addWidget(chatBox_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(chatters_);
}

void CChatRoom::appendChatMessage(const ChatMessageLayout& layout,
                                  const KeptChatMessage& /*kept*/) {
    // The port does not name the speaker; nickname clicks are not wired to this page yet.
    chatBox_->showChatMessage(0, layout);
}

void CChatRoom::appendRuns(const ChatBoxRuns& runs) {
    chatBox_->appendRuns(runs);
}

void CChatRoom::appendNotice(std::u16string_view text) {
    chatBox_->appendRuns({TextRun{std::u16string(text) + u"\n", systemLineStyle()}});
}

void CChatRoom::startRepeatedSystemLine(std::u16string text) {
    chatBox_->showRepeatedSystemLine(std::move(text));
}

void CChatRoom::scrollToEnd() {
    chatBox_->scrollToBottom();
}

QListWidgetItem* CChatRoom::findChatter(uint32_t chatterId) const {
    for (int i = 0; i < chatters_->count(); ++i) {
        QListWidgetItem* item = chatters_->item(i);
        if (item->data(Qt::UserRole).toUInt() == chatterId) {
            return item;
        }
    }
    return nullptr;
}

void CChatRoom::addChatter(const ChatterRecord& chatter, bool /*checked*/) {
    auto* item = new QListWidgetItem(QString::fromStdU16String(chatter.nickname), chatters_);
    item->setData(Qt::UserRole, chatter.chatterId);
}

void CChatRoom::removeChatter(uint32_t chatterId) {
    delete findChatter(chatterId);
}

void CChatRoom::replaceChatters(const std::vector<ChatterRecord>& chatters,
                                const std::vector<bool>& checked) {
    chatters_->clear();
    for (size_t i = 0; i < chatters.size(); ++i) {
        addChatter(chatters[i], i < checked.size() && checked[i]);
    }
}

void CChatRoom::updateChatter(const ChatterRecord& chatter) {
    if (QListWidgetItem* item = findChatter(chatter.chatterId)) {
        item->setText(QString::fromStdU16String(chatter.nickname));
    }
}

void CChatRoom::setAnnouncement(std::u16string text) {
    announcement_->setText(QString::fromStdU16String(text));
}

}  // namespace chat
