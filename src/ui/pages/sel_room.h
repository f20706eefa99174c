#pragma once
// CSelRoom: the room selection page of the hall tab. A click on a room link of the platform's page
// enters that room instead of following the link.
#include <QWebEnginePage>

#include <cstdint>
#include <functional>
#include <map>

#include "protocol/commands/room_record.h"
#include "ui/pages/framed_browser_page.h"

namespace chat {

// Decides each navigation of the room selection page with decideRoomLink.
class RoomLinkPage : public QWebEnginePage {
    Q_OBJECT

  public:
    RoomLinkPage(std::function<void(int32_t)> enterRoom, QObject* parent);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

  private:
    std::function<void(int32_t)> enterRoom_;
};

class CSelRoom : public FramedBrowserPage {
    Q_OBJECT

  public:
    // `enterRoom` runs after the navigation has been refused, from the event loop (it may wait in
    // modal prompts).
    CSelRoom(std::function<void(int32_t)> enterRoom, QWidget* parent = nullptr);

    // The chat client's copy of the room table.
    void setRooms(const std::map<uint32_t, RoomRecord>& rooms) { rooms_ = rooms; }
    const std::map<uint32_t, RoomRecord>& rooms() const { return rooms_; }

  private:
    std::map<uint32_t, RoomRecord> rooms_;
};

}  // namespace chat
