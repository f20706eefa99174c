#include "ui/controls/button_x.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "widget_test_support.h"

namespace chat {
namespace {

using Image = vexa::CButtonX::SkinImage;

class CButtonXTest : public ::testing::Test {
  protected:
    QWidget parent_;
    vexa::CButtonX* button_ = new vexa::CButtonX(QStringLiteral("发送"), &parent_);

    void SetUp() override {
        button_->setGeometry(10, 10, 80, 26);
        parent_.resize(120, 60);
        parent_.show();
    }
    QColor skinFill(Image image) {
        return QPixmap(QString::fromLatin1(vexa::CButtonX::kDefaultSkin))
            .toImage()
            .pixelColor(static_cast<int>(image) * vexa::CButtonX::kImageSize + 10, 10);
    }
    // The button's inside, away from the text and the edges.
    QColor shownFill() { return test::render(*button_).pixelColor(8, 13); }
};

TEST_F(CButtonXTest, FollowsThePointerAndTheLeftButton) {
    enum class Step { Enter, Press, Release, Leave };
    struct Case {
        std::vector<Step> steps;
        Image image;
    };
    const std::vector<Case> cases = {
        {{}, Image::Normal},
        {{Step::Enter}, Image::Hot},
        {{Step::Enter, Step::Press}, Image::Pressed},
        {{Step::Enter, Step::Press, Step::Release}, Image::Hot},
        {{Step::Enter, Step::Leave}, Image::Normal},
        {{Step::Enter, Step::Press, Step::Leave}, Image::Normal},
    };
    for (const Case& c : cases) {
        test::sendLeave(button_);
        for (const Step step : c.steps) {
            switch (step) {
                case Step::Enter:
                    test::sendEnter(button_);
                    break;
                case Step::Press:
                    QTest::mousePress(button_, Qt::LeftButton);
                    break;
                case Step::Release:
                    QTest::mouseRelease(button_, Qt::LeftButton);
                    break;
                case Step::Leave:
                    test::sendLeave(button_);
                    break;
            }
        }
        EXPECT_EQ(button_->currentImage(), c.image) << c.steps.size() << " steps";
        EXPECT_EQ(shownFill(), skinFill(c.image)) << c.steps.size() << " steps";
    }
}

TEST_F(CButtonXTest, ClickStillReachesTheOwner) {
    QSignalSpy clicks(button_, &QPushButton::clicked);
    QTest::mouseClick(button_, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(CButtonXTest, DefaultButtonShowsThePressedImage) {
    button_->setDefault(true);
    EXPECT_EQ(button_->currentImage(), Image::Pressed);
}

TEST_F(CButtonXTest, DisabledButtonDrawsGreyTextAndDoesNotTurnHot) {
    EXPECT_TRUE(
        test::anyPixel(test::render(*button_), [](QColor c) { return c.lightness() < 60; }));
    button_->setEnabled(false);
    test::sendEnter(button_);
    EXPECT_EQ(button_->currentImage(), Image::Normal);
    EXPECT_EQ(button_->textColour(), QColor(192, 192, 192));
    EXPECT_FALSE(
        test::anyPixel(test::render(*button_), [](QColor c) { return c.lightness() < 120; }));
}

TEST_F(CButtonXTest, SkinOfTheWrongSizeLeavesAnOrdinaryButton) {
    for (const QSize size : {QSize(0, 0), QSize(54, 17), QSize(55, 18), QSize(18, 54)}) {
        QPixmap skin(size);
        if (!size.isEmpty()) {
            skin.fill(Qt::red);
        }
        vexa::CButtonX plain(QStringLiteral("确定"), skin);
        EXPECT_FALSE(plain.isSkinValid()) << size.width() << "x" << size.height();
    }
    EXPECT_TRUE(button_->isSkinValid());
}

}  // namespace
}  // namespace chat
