#include "ui/controls/hyper_link_ctrl.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "widget_test_support.h"

namespace chat {
namespace {

using test::hasColour;
using test::render;

class HyperLinkCtrlTest : public ::testing::Test {
  protected:
    QWidget parent_;
    tekna::HyperLinkCtrl* link_ =
        new tekna::HyperLinkCtrl(QStringLiteral("打开客服页面"), 7, &parent_);

    void SetUp() override {
        link_->resize(link_->sizeHint());
        parent_.show();
    }
};

TEST_F(HyperLinkCtrlTest, DrawsBlueUnderlinedTextWithTheHandCursor) {
    EXPECT_EQ(link_->textColour(), QColor(0, 0, 255));
    EXPECT_TRUE(link_->linkFont().underline());
    EXPECT_EQ(link_->cursor().shape(), Qt::PointingHandCursor);
    const QImage shown = render(*link_);
    EXPECT_TRUE(hasColour(shown, QColor(0, 0, 255)));
    EXPECT_FALSE(hasColour(shown, QColor(255, 0, 0)));
}

TEST_F(HyperLinkCtrlTest, TurnsRedWhilePointedAtAndBackOnLeaving) {
    test::sendEnter(link_);
    EXPECT_TRUE(link_->isHovered());
    EXPECT_TRUE(hasColour(render(*link_), QColor(255, 0, 0)));
    test::sendLeave(link_);
    EXPECT_FALSE(link_->isHovered());
    const QImage shown = render(*link_);
    EXPECT_TRUE(hasColour(shown, QColor(0, 0, 255)));
    EXPECT_FALSE(hasColour(shown, QColor(255, 0, 0)));
}

TEST_F(HyperLinkCtrlTest, OwnColoursReplaceTheDefaults) {
    link_->setNormalColour(QColor(0, 128, 0));
    link_->setHoverColour(QColor(128, 0, 128));
    EXPECT_TRUE(hasColour(render(*link_), QColor(0, 128, 0)));
    test::sendEnter(link_);
    EXPECT_TRUE(hasColour(render(*link_), QColor(128, 0, 128)));
}

TEST_F(HyperLinkCtrlTest, ClickAndKeyboardReportTheCommandId) {
    QSignalSpy clicks(link_, &tekna::HyperLinkCtrl::clicked);
    QTest::mouseClick(link_, Qt::LeftButton);
    QTest::mouseClick(link_, Qt::RightButton);
    QTest::keyClick(link_, Qt::Key_Space);
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 7);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 7);
}

TEST_F(HyperLinkCtrlTest, ReleasingOutsideIsNoClick) {
    QSignalSpy clicks(link_, &tekna::HyperLinkCtrl::clicked);
    QTest::mousePress(link_, Qt::LeftButton);
    QTest::mouseRelease(link_, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(HyperLinkCtrlTest, ShowsAtMost127Characters) {
    link_->setText(QString(200, QLatin1Char('x')));
    const QFontMetrics metrics(link_->linkFont());
    EXPECT_EQ(link_->sizeHint().width(), metrics.horizontalAdvance(QString(127, QLatin1Char('x'))));
}

}  // namespace
}  // namespace chat
