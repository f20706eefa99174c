#include "ui/pages/sel_room.h"

#include <QTimer>
#include <QUrl>

#include "ui/pages/room_link.h"

namespace chat {

RoomLinkPage::RoomLinkPage(std::function<void(int32_t)> enterRoom, QObject* parent)
    : QWebEnginePage(parent), enterRoom_(std::move(enterRoom)) {}

bool RoomLinkPage::acceptNavigationRequest(const QUrl& url, NavigationType /*type*/,
                                           bool /*isMainFrame*/) {
    const RoomLinkDecision decision = decideRoomLink(url.toString().toStdU16String());
    if (decision.roomToEnter > 0) {
        // Entering waits in modal prompts; the browser must get its answer first.
        QTimer::singleShot(0, this, [this, room = decision.roomToEnter] { enterRoom_(room); });
    }
    return decision.navigate;
}

CSelRoom::CSelRoom(std::function<void(int32_t)> enterRoom, QWidget* parent)
    : FramedBrowserPage(parent) {
    browser()->setPage(new RoomLinkPage(std::move(enterRoom), browser()));
}

}  // namespace chat
