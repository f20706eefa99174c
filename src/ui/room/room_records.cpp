#include "ui/room/room_records.h"

#include <algorithm>
#include <exception>
#include <string>

#include "util/logger.h"

namespace chat {

RoomRecords::RoomRecords(int32_t roomId, const std::filesystem::path& folder, tekna::Logger* log,
                         RecordSaveDelays delays, QObject* parent)
    : QObject(parent),
      file_(std::make_unique<ChatRecordFile>(roomId, folder / ChatRecordFile::fileName(roomId))),
      log_(log),
      delays_(delays) {
    saveTimer_.setSingleShot(true);
    connect(&saveTimer_, &QTimer::timeout, this, &RoomRecords::save);
    try {
        file_->load();
    } catch (const std::exception& error) {
        tekna::logMessage(log_, file_->path().string() + ": " + error.what());
    }
}

RoomRecords::~RoomRecords() {
    save();
}

void RoomRecords::add(const KeptChatMessage& message) {
    file_->addRecord(message.time, message.account, message.nickname, message.whisperToUser,
                     message.sections, message.style);
    scheduleSave();
}

void RoomRecords::scheduleSave() {
    if (!saveTimer_.isActive()) {
        firstUnsaved_.start();
    }
    const auto waited = std::chrono::milliseconds(firstUnsaved_.elapsed());
    saveTimer_.start(
        std::max(std::chrono::milliseconds(0), std::min(delays_.quiet, delays_.longest - waited)));
}

void RoomRecords::save() {
    saveTimer_.stop();
    try {
        file_->save();
    } catch (const std::exception& error) {
        tekna::logMessage(log_, file_->path().string() + ": " + error.what());
    }
}

}  // namespace chat
