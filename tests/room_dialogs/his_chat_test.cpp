#include "ui/dialogs/his_chat.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/widgets/chat_box.h"
#include "storage/chat_record_file.h"
#include "ui/dialogs/history_viewer_slots.h"

namespace chat {
namespace {

using Page = CHisChat::PageCommand;

// One text section (kind 1: GBK text and its terminating zero).
std::vector<uint8_t> textSection(const std::string& text) {
    std::vector<uint8_t> bytes(8 + text.size() + 1, 0);
    bytes[0] = static_cast<uint8_t>(bytes.size());
    bytes[1] = static_cast<uint8_t>(bytes.size() >> 8);
    bytes[4] = 1;
    std::copy(text.begin(), text.end(), bytes.begin() + 8);
    return bytes;
}

class HistoryViewerTest : public ::testing::Test {
  protected:
    HistoryViewerTest() : records_(7, std::filesystem::path(dir_.path().toStdString()) / "r.dat") {}

    // Messages "m1", "m2", ... in order, each from the given account.
    void addMessages(const std::vector<std::string>& accounts) {
        for (const std::string& account : accounts) {
            ++written_;
            const SystemTime time{2026, 12, 5, 11, 9, 30, static_cast<uint16_t>(written_ % 60), 0};
            records_.addRecord(time, account, u"nick", false,
                               textSection("m" + std::to_string(written_) + "."), TextStyle{});
        }
    }
    void addMessages(size_t count, const std::string& account) {
        addMessages(std::vector<std::string>(count, account));
    }

    static QString shown(const CHisChat& viewer) { return viewer.recordBox().toPlainText(); }
    // Whether each page button may be pressed, in the order first, previous, next, last.
    static std::vector<bool> enabledButtons(const CHisChat& viewer) {
        std::vector<bool> enabled;
        for (const Page page : {Page::First, Page::Previous, Page::Next, Page::Last}) {
            enabled.push_back(viewer.button(page).isEnabled());
        }
        return enabled;
    }

    QTemporaryDir dir_;
    ChatRecordFile records_;
    int written_ = 0;
};

TEST_F(HistoryViewerTest, PagesThroughFortyOneRecordsTwentyToAPage) {
    addMessages(41, "alice");
    CHisChat viewer(records_, {});
    EXPECT_EQ(viewer.caption(), QStringLiteral("交谈记录"));

    struct Step {
        Page command;  // pressed before looking
        int32_t page;
        QString text;
        int firstShown;
        int lastShown;
        std::vector<bool> enabled;
    };
    // The viewer opens on the newest page; each step presses a button and looks at the page.
    const std::vector<Step> steps = {
        {Page::Next, 3, "3/3", 41, 41, {true, true, false, false}},  // stays on the last page
        {Page::Previous, 2, "2/3", 21, 40, {true, true, true, true}},
        {Page::First, 1, "1/3", 1, 20, {false, false, true, true}},
        {Page::Previous, 1, "1/3", 1, 20, {false, false, true, true}},  // stays on the first
        {Page::Next, 2, "2/3", 21, 40, {true, true, true, true}},
        {Page::Last, 3, "3/3", 41, 41, {true, true, false, false}},
    };
    EXPECT_EQ(viewer.currentPage(), 3);
    EXPECT_EQ(viewer.pageCount(), 3);
    EXPECT_EQ(viewer.pageText(), "3/3");
    for (const Step& step : steps) {
        // A disabled button cannot be clicked; its command must still keep the page in range.
        if (viewer.button(step.command).isEnabled()) {
            viewer.button(step.command).click();
        } else {
            viewer.goTo(step.command);
        }
        const QString text = shown(viewer);
        const QString label = viewer.pageText();
        EXPECT_EQ(viewer.currentPage(), step.page) << label.toStdString();
        EXPECT_EQ(label, step.text);
        for (int n = 1; n <= 41; ++n) {
            const bool wanted = n >= step.firstShown && n <= step.lastShown;
            EXPECT_EQ(text.contains(QStringLiteral("m%1.").arg(n)), wanted)
                << "message " << n << " on " << label.toStdString();
        }
        EXPECT_TRUE(text.contains(QStringLiteral("(%1) 2026-12-11 09:30:").arg(step.firstShown)));
        EXPECT_FALSE(text.contains(QStringLiteral("(%1) ").arg(step.lastShown + 1)));
        EXPECT_EQ(enabledButtons(viewer), step.enabled) << label.toStdString();
    }
}

TEST_F(HistoryViewerTest, PageCountsAndAnEmptyHistory) {
    struct Case {
        size_t matching;
        int32_t pages;
    };
    for (const Case& c : std::vector<Case>{{0, 1}, {1, 1}, {20, 1}, {21, 2}, {40, 2}, {41, 3}}) {
        EXPECT_EQ(CHisChat::pageCountFor(c.matching), c.pages) << c.matching;
    }
    CHisChat viewer(records_, {});
    EXPECT_EQ(viewer.pageText(), "1/1");
    EXPECT_TRUE(shown(viewer).isEmpty());
    EXPECT_EQ(enabledButtons(viewer), std::vector<bool>(4, false));
}

TEST_F(HistoryViewerTest, FilterNumbersOnlyTheSendersRecords) {
    // Records 1..3 by others, then bob's 21 records with others between them.
    addMessages({"carol", "bobby", "BOB"});
    for (int i = 0; i < 21; ++i) {
        addMessages({"bob", "carol"});
    }
    CHisChat viewer(records_, "bob");
    EXPECT_EQ(viewer.pageText(), "2/2");
    EXPECT_EQ(viewer.accountFilter(), "bob");
    // bob's last message is written 45th overall and is the 21st of his.
    EXPECT_TRUE(shown(viewer).contains("(21) "));
    EXPECT_TRUE(shown(viewer).contains("m44."));
    EXPECT_FALSE(shown(viewer).contains("m45."));

    viewer.goTo(Page::First);
    const QString first = shown(viewer);
    EXPECT_TRUE(first.contains("(1) "));
    EXPECT_TRUE(first.contains("m4."));  // bob's first, written after three others
    for (const char* other : {"m1.", "m2.", "m3.", "m5.", "(21) "}) {
        EXPECT_FALSE(first.contains(other)) << other;
    }
}

TEST_F(HistoryViewerTest, PageCountStaysWhileNewRecordsShowOnTheNextDrawing) {
    addMessages(20, "alice");
    CHisChat viewer(records_, {});
    addMessages(1, "alice");
    EXPECT_FALSE(shown(viewer).contains("m21."));
    viewer.goTo(Page::Last);
    EXPECT_EQ(viewer.pageText(), "1/1");
    EXPECT_FALSE(shown(viewer).contains("m21."));  // page 2 is not reachable yet
    EXPECT_TRUE(shown(viewer).contains("m20."));
}

TEST_F(HistoryViewerTest, FilterIsCutAsStoredAccountsAre) {
    const std::string longAccount(70, 'x');
    addMessages(2, longAccount);
    CHisChat viewer(records_, longAccount);
    EXPECT_EQ(viewer.accountFilter(), std::string(63, 'x'));
    EXPECT_TRUE(shown(viewer).contains("m2."));
}

TEST_F(HistoryViewerTest, SlotsReplaceTheirOwnKindAndCloseTogether) {
    addMessages({"bob", "carol"});
    auto viewers = std::make_unique<HistoryViewerSlots>();
    QPointer<CHisChat> room = viewers->openRoomHistory(records_, nullptr);
    QPointer<CHisChat> bob = viewers->openPersonHistory(records_, "bob", nullptr);
    ASSERT_TRUE(room && bob);
    EXPECT_TRUE(room->isVisible());
    EXPECT_TRUE(bob->isVisible());

    QPointer<CHisChat> carol = viewers->openPersonHistory(records_, "carol", nullptr);
    EXPECT_TRUE(bob.isNull());
    EXPECT_EQ(room.data(), viewers->roomViewer());
    EXPECT_EQ(carol.data(), viewers->personViewer());
    EXPECT_TRUE(shown(*carol).contains("m2."));
    EXPECT_FALSE(shown(*carol).contains("m1."));

    QPointer<CHisChat> room2 = viewers->openRoomHistory(records_, nullptr);
    EXPECT_TRUE(room.isNull());
    EXPECT_TRUE(carol);

    // The close button deletes the viewer and empties its slot.
    room2->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(room2.isNull());
    EXPECT_EQ(viewers->roomViewer(), nullptr);

    viewers.reset();  // the room closes
    EXPECT_TRUE(carol.isNull());
}

TEST_F(HistoryViewerTest, ViewersGoWithTheirOwner) {
    auto owner = std::make_unique<QWidget>();
    HistoryViewerSlots viewers;
    viewers.openRoomHistory(records_, owner.get());
    viewers.openPersonHistory(records_, "bob", owner.get());
    owner.reset();
    EXPECT_EQ(viewers.roomViewer(), nullptr);
    EXPECT_EQ(viewers.personViewer(), nullptr);
}

}  // namespace
}  // namespace chat
