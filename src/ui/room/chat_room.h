#pragma once
// CChatRoom: the page of one open room. The chat area (the chat box above the input bar) on the
// left and, in ordinary rooms, the announcement above the list of people on the right. The page
// keeps the room's chat records, answers clicks on nicknames in the chat box and shows the room's
// rolling message on its timer.
#include <QTimer>
#include <QWidget>
#include <memory>

#include "client/nickname_clicks.h"
#include "client/ports/room_page_port.h"
#include "content/widgets/chat_box.h"
#include "ui/dialogs/history_viewer_slots.h"
#include "ui/room/chatters/chatter_list_wnd.h"
#include "ui/room/input/cinput_dlg.h"

class QMenu;

namespace tekna {
class MessageBoxPort;
}

namespace chat {

class HotKeyPort;

class CAfficheAndChatter;
class CAfficheDlg;
class CChatMsgAndInput;
class CChatterDlg;
class CInputDlg;
class CReplyDlg;
class ChatClient;
class RoomRecords;

// What every room page shares with the main window.
struct RoomPageServices {
    tekna::MessageBoxPort& messages;
    HotKeyPort& screenCaptureHotKey;  // the settings dialog registers it again
};

// What the page is made with when its room opens.
struct RoomPageValues {
    int32_t roomId = 0;
    QString name;
    bool privateRoom = false;
    uint32_t attributes = 0;  // the room's flags; 0x8 lets everybody send pictures
};

class CChatRoom : public QWidget, public RoomPagePort {
    Q_OBJECT

  public:
    static constexpr int kRightPanelWidth = 200;
    static constexpr int kRightPanelGap = 5;
    static constexpr uint32_t kDefaultMaxPeople = 200;
    static constexpr uint32_t kPrivateMaxPeople = 2;

    // Opens the room's chat records from the settings folder of the client's configuration.
    CChatRoom(ChatClient& client, RoomPageServices services, RoomPageValues values,
              QWidget* parent = nullptr);
    ~CChatRoom() override;

    int32_t roomId() const { return values_.roomId; }
    const QString& name() const { return values_.name; }
    bool isPrivateRoom() const { return values_.privateRoom; }
    ChatBox* chatBox() const;
    CInputDlg* inputDlg() const;
    CChatMsgAndInput* chatArea() const { return chatArea_; }
    // Null in a private room.
    CAfficheAndChatter* rightPanel() const { return rightPanel_; }
    CAfficheDlg* affiche() const;
    CChatterDlg* chatterDlg() const;
    RoomRecords& records() const { return *records_; }
    QTimer& rollingTimer() { return rollingTimer_; }

    // A nickname at the head of a message in the chat box was clicked.
    void nicknameClicked(LinkClick click, int32_t chatterId, const QString& nickname);
    // The room's rolling message as a system line, when the room has one.
    void showRollingMessage();
    // The picture button: a picture file chosen by the user goes into the input box.
    void pickPicture();
    // The System button's room menu, as the user's roles allow it; null when there is none to
    // show (the user may get a message instead).
    std::unique_ptr<QMenu> makeRoomMenu();
    void openRoomMenu(QPoint globalPos);
    // A command of the room menu. The notify entries are sent now; the others open the
    // administration dialogs, which are not built yet.
    void runRoomCommand(int command);
    // The settings dialog for this room, modal; the input box has the focus afterwards.
    void openSettings();
    // The quick replies pop-up with its bottom-right corner at the point; a chosen reply goes
    // into the input box.
    void openQuickReplies(QPoint bottomRightAt);
    CReplyDlg* quickReplies() const { return quickReplies_; }
    HistoryViewerSlots& historyViewers() { return historyViewers_; }

    // --- RoomPagePort ---
    void appendChatMessage(uint32_t speakerId, const ChatMessageLayout& layout,
                           const KeptChatMessage& kept) override;
    void appendRuns(const ChatBoxRuns& runs) override;
    void appendNotice(std::u16string_view text) override;
    void startRepeatedSystemLine(std::u16string text) override;
    void scrollToEnd() override;
    bool displaying() const override;
    bool showsSenderStyles() const override { return true; }
    void addChatter(const ChatterRecord& chatter, bool checked) override;
    void removeChatter(uint32_t chatterId) override;
    void replaceChatters(const std::vector<ChatterRecord>& chatters,
                         const std::vector<bool>& checked) override;
    void updateChatter(const ChatterRecord& chatter) override;
    std::optional<int32_t> selectedAddressee() const override;
    void removeAddressee(int32_t chatterId) override;
    void setAnnouncement(std::u16string text) override;
    void applyRoomSettings(const RoomSettingBlock& settings, bool limitInputLength) override;
    uint32_t shownMaxPeople() const override { return maxPeople_; }
    void showMaxPeople(uint32_t maxPeople) override;
    void setRollingTimer(uint32_t milliseconds) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // A page that comes to the front gives its input box the keyboard focus.
    void showEvent(QShowEvent* event) override;

  private:
    InputDlgContext inputContext();
    ChatterListContext chatterContext();
    void openAnnouncementLink(const std::u16string& target);
    // The user's own roles in the room arrive after the page was made, with the room's chatters.
    void refreshOwnRoles();
    void showPeople();

    ChatClient& client_;
    RoomPageServices services_;
    RoomPageValues values_;
    uint32_t maxPeople_;
    CChatMsgAndInput* chatArea_;
    CAfficheAndChatter* rightPanel_ = nullptr;
    std::unique_ptr<RoomRecords> records_;
    // Declared after the records they show, so that they close first.
    HistoryViewerSlots historyViewers_;
    CReplyDlg* quickReplies_ = nullptr;
    NicknameClicks nicknameClicks_;
    QTimer rollingTimer_;
};

}  // namespace chat
