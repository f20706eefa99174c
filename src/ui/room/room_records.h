#pragma once
// The chat records of an open room page: read from the room's record file when the page opens,
// written back when it closes, and also while it is open — a few seconds after the last new
// record, and at the latest half a minute after the first unsaved one, so that a busy room is
// saved too and a crash or kill loses at most the last seconds.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>

#include "client/ports/room_page_port.h"
#include "storage/chat_record_file.h"

namespace tekna {
class Logger;
}

namespace chat {

// How long after a new record the file is written: once no record came for `quiet`, and at the
// latest `longest` after the first unsaved one.
struct RecordSaveDelays {
    std::chrono::milliseconds quiet{3000};
    std::chrono::milliseconds longest{30000};
};

class RoomRecords : public QObject {
    Q_OBJECT

  public:
    // Loads the room's file from `folder`; a damaged file gives the records read before the
    // damage (and is kept aside when the records are first saved). Problems go to `log`.
    RoomRecords(int32_t roomId, const std::filesystem::path& folder, tekna::Logger* log,
                RecordSaveDelays delays = {}, QObject* parent = nullptr);
    // Saves, as closing the page always does.
    ~RoomRecords() override;

    void add(const KeptChatMessage& message);
    // Writes the file now; errors go to the log.
    void save();
    bool savePending() const { return saveTimer_.isActive(); }
    const ChatRecordFile& file() const { return *file_; }

  private:
    void scheduleSave();

    std::unique_ptr<ChatRecordFile> file_;
    tekna::Logger* log_;
    RecordSaveDelays delays_;
    QTimer saveTimer_;
    QElapsedTimer firstUnsaved_;
};

}  // namespace chat
