// The announcement board: the shown text, its links, clicks on them and the people count.
#include "ui/room/affiche_dlg.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

#include <gtest/gtest.h>

#include "ui/ui_look.h"

namespace chat {
namespace {

class AfficheDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::ensureUiResources();
        board.resize(200, 130);
        board.show();
    }

    QString shownText() const { return board.control()->toPlainText(); }
    QString anchorAt(int position) const {
        QTextCursor cursor(board.control()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat().anchorHref();
    }
    // Clicks the middle of the character at `position`.
    void clickCharacter(int position) {
        QTextBrowser* control = board.control();
        QTextCursor cursor(control->document());
        cursor.setPosition(position);
        const QRect before = control->cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect after = control->cursorRect(cursor);
        const QPoint middle((before.left() + after.left()) / 2, before.center().y());
        QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, middle);
    }

    CAfficheDlg board;
};

TEST_F(AfficheDlgTest, ShowsTwoLinksInPlaceOfTheirAnchorsAndKeepsTheRest) {
    board.setAnnouncement(
        u"请看<a href=\"http://a.example/\">活动</a>和<a "
        u"href=\"http://b.example/\">规则</a>。谢谢");
    EXPECT_EQ(shownText(), QStringLiteral("请看活动和规则。谢谢"));
    EXPECT_EQ(anchorAt(2), QStringLiteral("http://a.example/"));
    EXPECT_EQ(anchorAt(5), QStringLiteral("http://b.example/"));
    EXPECT_TRUE(anchorAt(4).isEmpty());
    EXPECT_TRUE(anchorAt(8).isEmpty());

    QSignalSpy clicked(&board, &CAfficheDlg::linkClicked);
    clickCharacter(6);
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].value<std::u16string>(), u"http://b.example/");
    clickCharacter(4);
    EXPECT_EQ(clicked.size(), 1);
}

TEST_F(AfficheDlgTest, WithoutLinksShowsTheTextUnchangedAndWrittenAddressesStillOpen) {
    board.setAnnouncement(u"<b>维护</b> 详见 http://c.example/x 谢谢");
    EXPECT_EQ(shownText(), QStringLiteral("<b>维护</b> 详见 http://c.example/x 谢谢"));
    EXPECT_EQ(board.linkTargetAt(16), u"http://c.example/x");
    EXPECT_TRUE(board.linkTargetAt(3).empty());
    board.setAnnouncement(u"");
    EXPECT_TRUE(shownText().isEmpty());
    EXPECT_TRUE(board.linkTargetAt(0).empty());
}

TEST_F(AfficheDlgTest, LineBreaksKeepTheLinkPositions) {
    board.setAnnouncement(u"第一行\r\n第二行\r<a href=\"http://d/\">链接</a>");
    EXPECT_EQ(board.linkTargetAt(9), u"http://d/");
    EXPECT_EQ(anchorAt(9), QStringLiteral("http://d/"));
    EXPECT_EQ(board.control()->document()->blockCount(), 3);
}

TEST_F(AfficheDlgTest, PeopleCountReadsCountOverMaximum) {
    EXPECT_EQ(board.peopleText(), QStringLiteral("(0/0)"));
    board.setPeople(3, 200);
    EXPECT_EQ(board.peopleText(), QStringLiteral("(3/200)"));
}

TEST_F(AfficheDlgTest, ControlSitsUnderTheTitleBand) {
    EXPECT_EQ(board.control()->geometry(), QRect(5, 25, 190, 100));
}

}  // namespace
}  // namespace chat
