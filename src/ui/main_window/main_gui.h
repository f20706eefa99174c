#pragma once
// MainGUI: the program's only top-level window. Its tab strip holds the hall (the room selection
// page) and one tab per open room; it owns the room pages, switches between them, makes tabs of
// rooms with news flash, shows the server's rolling notice in every room and ends the program.
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "app/startup_args.h"
#include "client/chat_client.h"
#include "client/ports/main_window_port.h"
#include "platform/platform_special.h"
#include "ui/controls/dialog_x.h"
#include "ui/hotkey/x11_hot_key.h"
#include "ui/prompts/qt_prompt_port.h"

namespace chat {

class CChatRoom;
class CSelRoom;
class MyTabCtrl;

// Where the window goes: the start-up rectangle, unless its top is 0 or it is smaller than
// 640 x 480; then 800 x 600 centred on the screen.
QRect mainWindowPlacement(const QRect& startup, const QRect& screen);

// Whether a newly opened room's tab is selected: always for a public room; a private room opens
// in the background for staff (system administrators, customer service, the room's owners and
// administrators).
bool switchesToNewRoom(bool privateRoom, uint32_t roleFlags);

class MainGUI : public CDialogX, public MainWindowPort {
    Q_OBJECT

  public:
    static constexpr int kMinimumWidth = 790;
    static constexpr int kMinimumHeight = 480;
    static constexpr int kTabTop = 3;
    static constexpr int kPageTop = 32;
    static constexpr int kFlashIntervalMs = 600;
    static constexpr int kTaskbarAlertMs = 1000;
    static constexpr const char* kHallTitle = "在线服务大厅";

    struct Launch {
        StartupArgs args;
        PlatformSpecial special;
        std::filesystem::path programFolder;
    };

    MainGUI(ChatClient& client, std::shared_ptr<tekna::EventLoop> loop, Launch launch,
            QWidget* parent = nullptr);
    ~MainGUI() override;

    // Places and shows the window, then opens the room selection page.
    void start(const QRect& startup);

    // The user picked a room on the room selection page.
    void enterRoom(int32_t roomId);
    // Show page: -1 is the hall.
    void showPage(int32_t roomId);
    // Close room: -1 closes every room.
    void closeRoom(int32_t roomId);
    // The room's page; nullptr when the room has no tab.
    CChatRoom* findRoomPage(int32_t roomId) const;
    QWidget* pageOf(int32_t roomId) const;
    const std::vector<int32_t>& activationList() const { return activation_; }
    MyTabCtrl* tabStrip() const { return tabs_; }
    CSelRoom* hallPage() const { return hall_; }
    QTimer& flashTimer() { return flashTimer_; }

    // --- MainWindowPort ---
    RoomPagePort& openRoomPage(int32_t roomId, const std::u16string& title, uint32_t attributes,
                               bool privateRoom) override;
    void closeRoomPage(int32_t roomId) override;
    void bringRoomPageToFront(int32_t roomId) override { showPage(roomId); }
    int32_t selectedRoom() const override;
    void markRoomNews(int32_t roomId) override { startFlashing(roomId); }
    bool isActiveWindow() const override { return QWidget::isActiveWindow(); }
    void flashTaskbarButton() override;
    void setSystemNotice(std::u16string text, uint32_t intervalSeconds) override;
    void setRoomSelection(const std::map<uint32_t, RoomRecord>& rooms) override;
    void roomChatterCountsArrived() override {}
    void showCaptionedMessage(std::string_view text, std::string_view caption,
                              tekna::MessageIcon icon) override;
    void openRandomVipDialog(const cmd::RandomVipSettings& settings) override;
    void postQuit() override;
    bool exists() const override { return !destroyed_; }
    void destroy() override;

    void startFlashing(int32_t roomId);
    void stopFlashing(int32_t roomId);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct RoomTab {
        QWidget* page = nullptr;
        CChatRoom* chatRoom = nullptr;  // nullptr for the customer-service page
        bool privateRoom = false;
    };

    void addRoomTab(int32_t roomId, const QString& title, QWidget* page, CChatRoom* chatRoom,
                    bool privateRoom);
    void openServiceRoom();
    void removeRoomTab(int32_t roomId);
    void showLastActiveRoom();
    void showSystemNotice();
    void placeChildren();

    ChatClient& client_;
    std::shared_ptr<tekna::EventLoop> loop_;
    Launch launch_;
    QtPromptPort prompts_;
    QWidget* clientArea_;
    MyTabCtrl* tabs_;
    CSelRoom* hall_;
    std::map<int32_t, RoomTab> rooms_;
    std::vector<int32_t> activation_;
    QTimer flashTimer_;
    QTimer noticeTimer_;
    X11HotKey screenCaptureHotKey_;
    std::u16string notice_;
    bool closing_ = false;
    bool destroyed_ = false;
};

}  // namespace chat
