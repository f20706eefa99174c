#pragma once
// What the chat client needs from the main window: the room tabs, the notices shown over all
// rooms, the room selection page and the end of the program.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/commands/room_record.h"
#include "protocol/commands/vip_commands.h"
#include "util/message_box_port.h"

namespace chat {

class RoomPagePort;

class MainWindowPort {
  public:
    virtual ~MainWindowPort() = default;

    // Room tabs. openRoomPage adds a tab and returns its page; the page lives until closeRoomPage.
    virtual RoomPagePort& openRoomPage(int32_t roomId, const std::u16string& title,
                                       uint32_t attributes, bool privateRoom) = 0;
    virtual void closeRoomPage(int32_t roomId) = 0;
    virtual void bringRoomPageToFront(int32_t roomId) = 0;
    // The room of the selected tab; 0 for the room selection page.
    virtual int32_t selectedRoom() const = 0;
    virtual void markRoomNews(int32_t roomId) = 0;
    virtual bool isActiveWindow() const = 0;
    virtual void flashTaskbarButton() = 0;

    // The server-wide system message and its repeat interval (SysNotifyTimer).
    virtual void setSystemNotice(std::u16string text, uint32_t intervalSeconds) = 0;
    // The room selection page: its copy of the room table, and message 1305 (counts arrived).
    virtual void setRoomSelection(const std::map<uint32_t, RoomRecord>& rooms) = 0;
    virtual void roomChatterCountsArrived() = 0;
    // A message box with a caption of the server's replies ("OK", "提示！", ...).
    virtual void showCaptionedMessage(std::string_view text, std::string_view caption,
                                      tekna::MessageIcon icon) = 0;
    // The random VIP dialog, modal over the main window.
    virtual void openRandomVipDialog(const cmd::RandomVipSettings& settings) = 0;

    // The end: quit the message loop; whether the window still exists; destroy it.
    virtual void postQuit() = 0;
    virtual bool exists() const = 0;
    virtual void destroy() = 0;
};

}  // namespace chat
