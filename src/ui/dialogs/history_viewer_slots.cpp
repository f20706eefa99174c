#include "ui/dialogs/history_viewer_slots.h"

namespace chat {

HistoryViewerSlots::~HistoryViewerSlots() {
    closeAll();
}

CHisChat* HistoryViewerSlots::openRoomHistory(const ChatRecordFile& records, QWidget* owner) {
    return open(room_, records, {}, owner);
}

CHisChat* HistoryViewerSlots::openPersonHistory(const ChatRecordFile& records,
                                                std::string gbkAccount, QWidget* owner) {
    return open(person_, records, std::move(gbkAccount), owner);
}

void HistoryViewerSlots::closeAll() {
    close(room_);
    close(person_);
}

CHisChat* HistoryViewerSlots::open(QPointer<CHisChat>& slot, const ChatRecordFile& records,
                                   std::string filter, QWidget* owner) {
    close(slot);
    slot = new CHisChat(records, std::move(filter), owner);
    slot->show();
    return slot.data();
}

void HistoryViewerSlots::close(QPointer<CHisChat>& slot) {
    // Deleted at once rather than later: the records it draws from may go right after this.
    delete slot.data();
    slot.clear();
}

}  // namespace chat
