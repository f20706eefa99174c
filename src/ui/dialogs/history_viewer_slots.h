#pragma once
// The history viewers of one room: one slot for the history of a single person and one for the
// whole room. Opening a viewer closes the one that holds the same slot; the other stays. The room
// page owns the slots beside its record store, and they close both viewers when they go, so no
// viewer outlives the records it draws from.
#include <QPointer>
#include <string>

#include "ui/dialogs/his_chat.h"

namespace chat {

class HistoryViewerSlots {
  public:
    HistoryViewerSlots() = default;
    ~HistoryViewerSlots();
    HistoryViewerSlots(const HistoryViewerSlots&) = delete;
    HistoryViewerSlots& operator=(const HistoryViewerSlots&) = delete;

    CHisChat* openRoomHistory(const ChatRecordFile& records, QWidget* owner);
    // `gbkAccount` is the person's account as the wire carries it.
    CHisChat* openPersonHistory(const ChatRecordFile& records, std::string gbkAccount,
                                QWidget* owner);

    // The open viewers; null for a slot that is empty or whose viewer was closed.
    CHisChat* roomViewer() const { return room_.data(); }
    CHisChat* personViewer() const { return person_.data(); }

    void closeAll();

  private:
    static CHisChat* open(QPointer<CHisChat>& slot, const ChatRecordFile& records,
                          std::string filter, QWidget* owner);
    static void close(QPointer<CHisChat>& slot);

    QPointer<CHisChat> room_;
    QPointer<CHisChat> person_;
};

}  // namespace chat
