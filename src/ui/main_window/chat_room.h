#pragma once
// CChatRoom: the page of one open room. For now a plain page: the announcement, the chat box and
// the chatter list by nickname.
#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "client/ports/room_page_port.h"
#include "content/widgets/chat_box.h"

namespace chat {

class CChatRoom : public QWidget, public RoomPagePort {
    Q_OBJECT

  public:
    CChatRoom(int32_t roomId, const QString& name, bool privateRoom, QWidget* parent = nullptr);

    int32_t roomId() const { return roomId_; }
    const QString& name() const { return name_; }
    bool isPrivateRoom() const { return privateRoom_; }
    QString chatText() const { return chatBox_->toPlainText(); }
    uint32_t rollingInterval() const { return rollingMs_; }
    int chatterCount() const { return chatters_->count(); }

    void appendChatMessage(const ChatMessageLayout& layout, const KeptChatMessage& kept) override;
    void appendRuns(const ChatBoxRuns& runs) override;
    void appendNotice(std::u16string_view text) override;
    void startRepeatedSystemLine(std::u16string text) override;
    void scrollToEnd() override;
    bool displaying() const override { return true; }
    bool showsSenderStyles() const override { return true; }

    void addChatter(const ChatterRecord& chatter, bool checked) override;
    void removeChatter(uint32_t chatterId) override;
    void replaceChatters(const std::vector<ChatterRecord>& chatters,
                         const std::vector<bool>& checked) override;
    void updateChatter(const ChatterRecord& chatter) override;

    std::optional<int32_t> selectedAddressee() const override { return -1; }
    void removeAddressee(int32_t /*chatterId*/) override {}

    void setAnnouncement(std::u16string text) override;
    void applyRoomSettings(const RoomSettingBlock& /*settings*/,
                           bool /*limitInputLength*/) override {}
    uint32_t shownMaxPeople() const override { return maxPeople_; }
    void showMaxPeople(uint32_t maxPeople) override { maxPeople_ = maxPeople; }
    void setRollingTimer(uint32_t milliseconds) override { rollingMs_ = milliseconds; }

  private:
    QListWidgetItem* findChatter(uint32_t chatterId) const;

    int32_t roomId_;
    QString name_;
    bool privateRoom_;
    QLabel* announcement_;
    ChatBox* chatBox_;
    QListWidget* chatters_;
    uint32_t maxPeople_ = 0;
    uint32_t rollingMs_ = 0;
};

}  // namespace chat
