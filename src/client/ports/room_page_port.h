#pragma once
// What the chat client needs from the page of one open room: its chat box, its chatter list and
// addressee list, its announcement pane, its input rules and its rolling-message timer.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/chat_box_layout.h"
#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/chatter_record.h"
#include "protocol/commands/system_time.h"

namespace chat {

// A shown chat message as the room's chat record store keeps it.
struct KeptChatMessage {
    SystemTime time;      // as the sender's message carries it
    std::string account;  // the sender's, GBK
    std::u16string nickname;
    bool whisperToUser = false;
    std::vector<uint8_t> sections;
    TextStyle style;
};

class RoomPagePort {
  public:
    virtual ~RoomPagePort() = default;

    // Chat box. A chat message of chatter `speakerId` is drawn at the end, its range registered
    // with the box (nickname clicks lead back to the speaker) and kept in the room's record store.
    virtual void appendChatMessage(uint32_t speakerId, const ChatMessageLayout& layout,
                                   const KeptChatMessage& kept) = 0;
    // The "系统消息：" line of layoutSystemLine.
    virtual void appendRuns(const ChatBoxRuns& runs) = 0;
    // A notice line (server notices, renamings).
    virtual void appendNotice(std::u16string_view text) = 0;
    // Shows a system line now and twice more, 5 seconds apart.
    virtual void startRepeatedSystemLine(std::u16string text) = 0;
    virtual void scrollToEnd() = 0;
    // The display switch: false while the chat view is paused.
    virtual bool displaying() const = 0;
    // The room's switch that keeps the senders' own text styles.
    virtual bool showsSenderStyles() const = 0;

    // Chatter list view.
    virtual void addChatter(const ChatterRecord& chatter, bool checked) = 0;
    virtual void removeChatter(uint32_t chatterId) = 0;
    // `checked[i]` belongs to `chatters[i]`.
    virtual void replaceChatters(const std::vector<ChatterRecord>& chatters,
                                 const std::vector<bool>& checked) = 0;
    virtual void updateChatter(const ChatterRecord& chatter) = 0;

    // Addressee list: the item data of the selected entry (-1 is everybody), none when nothing is
    // selected; removing drops the first entry with that item data.
    virtual std::optional<int32_t> selectedAddressee() const = 0;
    virtual void removeAddressee(int32_t chatterId) = 0;

    virtual void setAnnouncement(std::u16string text) = 0;
    // The room's rules from the server; `limitInputLength` caps the input box at max characters
    // - 1.
    virtual void applyRoomSettings(const RoomSettingBlock& settings, bool limitInputLength) = 0;
    virtual uint32_t shownMaxPeople() const = 0;
    virtual void showMaxPeople(uint32_t maxPeople) = 0;
    // RoomPeriodTimer; 0 stops it.
    virtual void setRollingTimer(uint32_t milliseconds) = 0;
};

}  // namespace chat
