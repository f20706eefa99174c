// A room page's chat records: written while the room is open, after a quiet time and at the latest
// after the longest delay even while messages keep coming, and when the page closes.
#include "ui/room/room_records.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace chat {
namespace {

using namespace std::chrono_literals;

constexpr int32_t kRoom = 9;

KeptChatMessage message(std::string account) {
    KeptChatMessage kept;
    kept.account = std::move(account);
    kept.nickname = u"某人";
    kept.sections = {1, 0, 0, 0};
    return kept;
}

class RoomRecordsTest : public ::testing::Test {
  protected:
    size_t savedCount() const {
        ChatRecordFile saved(kRoom, folder() / ChatRecordFile::fileName(kRoom));
        saved.load();
        return saved.count("");
    }
    std::filesystem::path folder() const { return dir.path().toStdString(); }

    QTemporaryDir dir;
};

TEST_F(RoomRecordsTest, SavesAfterAQuietTimeWhileTheRoomIsOpen) {
    RoomRecords records(kRoom, folder(), nullptr, {50ms, 10s});
    records.add(message("a"));
    records.add(message("b"));
    EXPECT_TRUE(records.savePending());
    EXPECT_EQ(savedCount(), 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !records.savePending(); }, 2000));
    EXPECT_EQ(savedCount(), 2u);
}

TEST_F(RoomRecordsTest, ABusyRoomIsSavedAfterTheLongestDelay) {
    RoomRecords records(kRoom, folder(), nullptr, {200ms, 400ms});
    QElapsedTimer busy;
    busy.start();
    // A message every 50 ms never leaves the room quiet for 200 ms.
    while (savedCount() == 0 && busy.elapsed() < 3000) {
        records.add(message("a"));
        QTest::qWait(50);
    }
    EXPECT_GT(savedCount(), 0u);
    EXPECT_LT(busy.elapsed(), 3000);
}

TEST_F(RoomRecordsTest, ClosingSavesAndOpeningLoadsWhatWasSaved) {
    {
        RoomRecords records(kRoom, folder(), nullptr);
        records.add(message("a"));
    }
    EXPECT_EQ(savedCount(), 1u);
    RoomRecords reopened(kRoom, folder(), nullptr);
    EXPECT_EQ(reopened.file().count("a"), 1u);
    EXPECT_FALSE(reopened.savePending());
}

}  // namespace
}  // namespace chat
