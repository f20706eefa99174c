#include "ui/controls/dialog_x.h"

#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace chat {
namespace {

using Hit = CDialogX::Hit;

class CDialogXTest : public ::testing::Test {
  protected:
    static constexpr QRect kPlace{100, 80, 400, 300};

    std::unique_ptr<CDialogX> frame(FrameStyle style = {}) {
        auto window = std::make_unique<CDialogX>(nullptr, style);
        window->setGeometry(kPlace);
        window->show();
        return window;
    }
    static QPoint centre(const QRect& r) { return r.center(); }
};

TEST_F(CDialogXTest, HitTestingFindsButtonsEdgesCornersAndTheCaption) {
    const auto window = frame();
    struct Case {
        QPoint at;
        Hit hit;
    };
    const std::vector<Case> cases = {
        {{0, 0}, Hit::TopLeft},      {{2, 2}, Hit::TopLeft},         {{399, 0}, Hit::TopRight},
        {{0, 299}, Hit::BottomLeft}, {{397, 297}, Hit::BottomRight}, {{0, 150}, Hit::Left},
        {{2, 150}, Hit::Left},       {{399, 150}, Hit::Right},       {{200, 0}, Hit::Top},
        {{200, 299}, Hit::Bottom},   {{3, 150}, Hit::Client},        {{200, 3}, Hit::Caption},
        {{30, 24}, Hit::Caption},    {{200, 25}, Hit::Client},       {{200, 150}, Hit::Client},
        {{200, 296}, Hit::Client},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(window->hitTest(c.at), c.hit) << c.at.x() << "," << c.at.y();
    }
    for (const Hit button : {Hit::Close, Hit::Maximise, Hit::Minimise}) {
        EXPECT_EQ(window->hitTest(centre(window->captionButtonRect(button))), button);
    }
}

TEST_F(CDialogXTest, CaptionButtonsLineUpFromTheRightEdge) {
    const auto window = frame();
    const QRect close = window->captionButtonRect(Hit::Close);
    const QRect maximise = window->captionButtonRect(Hit::Maximise);
    const QRect minimise = window->captionButtonRect(Hit::Minimise);
    EXPECT_EQ(close.right(), 400 - 6 - 1);
    EXPECT_EQ(maximise.right() + 1, close.left());
    EXPECT_EQ(minimise.right() + 1, maximise.left());
    EXPECT_LT(close.bottom(), CDialogX::kCaptionHeight);

    const auto noMaximise = frame({.resizable = true, .minimiseBox = true, .maximiseBox = false});
    EXPECT_TRUE(noMaximise->captionButtonRect(Hit::Maximise).isEmpty());
    EXPECT_EQ(noMaximise->captionButtonRect(Hit::Minimise).right() + 1,
              noMaximise->captionButtonRect(Hit::Close).left());
    const auto closeOnly = frame({.resizable = false, .minimiseBox = false, .maximiseBox = false});
    EXPECT_TRUE(closeOnly->captionButtonRect(Hit::Minimise).isEmpty());
}

TEST_F(CDialogXTest, FixedSizeWindowHasNoSizingEdges) {
    const auto window = frame({.resizable = false});
    EXPECT_EQ(window->hitTest({0, 0}), Hit::Client);
    EXPECT_EQ(window->hitTest({200, 0}), Hit::Client);
    EXPECT_EQ(window->hitTest({200, 5}), Hit::Caption);
    EXPECT_EQ(window->hitTest({399, 150}), Hit::Client);
}

TEST_F(CDialogXTest, MaximiseFillsTheAvailableAreaAndRestoreReturns) {
    const auto window = frame();
    QTest::mouseClick(window.get(), Qt::LeftButton, {},
                      centre(window->captionButtonRect(Hit::Maximise)));
    EXPECT_TRUE(window->isFrameMaximised());
    EXPECT_EQ(window->geometry(), window->screen()->availableGeometry());
    // Maximised: no sizing edges, and the caption no longer moves the window.
    EXPECT_EQ(window->hitTest({0, 0}), Hit::Client);
    EXPECT_EQ(window->hitTest({200, 10}), Hit::Client);
    QTest::mousePress(window.get(), Qt::LeftButton, {}, {200, 12});
    QTest::mouseMove(window.get(), {260, 60});
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, {260, 60});
    EXPECT_EQ(window->geometry(), window->screen()->availableGeometry());

    QTest::mouseClick(window.get(), Qt::LeftButton, {},
                      centre(window->captionButtonRect(Hit::Maximise)));
    EXPECT_FALSE(window->isFrameMaximised());
    EXPECT_EQ(window->geometry(), kPlace);
}

TEST_F(CDialogXTest, DoubleClickOnTheCaptionTogglesOnlyWithAMaximiseBox) {
    const auto window = frame();
    QTest::mouseDClick(window.get(), Qt::LeftButton, {}, {200, 12});
    EXPECT_TRUE(window->isFrameMaximised());
    window->restoreFrame();

    const auto fixed = frame({.maximiseBox = false});
    QTest::mouseDClick(fixed.get(), Qt::LeftButton, {}, {200, 12});
    EXPECT_FALSE(fixed->isFrameMaximised());
    EXPECT_EQ(fixed->geometry(), kPlace);
}

TEST_F(CDialogXTest, ButtonActsOnlyWhenReleasedOverItself) {
    const auto window = frame();
    const QPoint close = centre(window->captionButtonRect(Hit::Close));
    QTest::mousePress(window.get(), Qt::LeftButton, {}, close);
    EXPECT_EQ(window->pressedButton(), Hit::Close);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, {200, 150});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pressedButton(), Hit::Client);

    QTest::mouseClick(window.get(), Qt::LeftButton, {}, close);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CDialogXTest, PointerOverAButtonMakesItHot) {
    const auto window = frame();
    QTest::mouseMove(window.get(), centre(window->captionButtonRect(Hit::Minimise)));
    EXPECT_EQ(window->hotButton(), Hit::Minimise);
    QTest::mouseMove(window.get(), {200, 150});
    EXPECT_EQ(window->hotButton(), Hit::Client);
}

TEST_F(CDialogXTest, DraggingTheCaptionMovesTheWindow) {
    const auto window = frame();
    QTest::mousePress(window.get(), Qt::LeftButton, {}, {200, 12});
    QTest::mouseMove(window.get(), {230, 32});
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, {230, 32});
    EXPECT_EQ(window->geometry(), kPlace.translated(30, 20));
}

TEST_F(CDialogXTest, DraggingAnEdgeResizesButNotBelowTheMinimum) {
    struct Case {
        Hit edge;
        QPoint delta;
        QRect expected;
    };
    const QRect start(100, 80, 400, 300);
    const QSize minimum(200, 150);
    const std::vector<Case> cases = {
        {Hit::Right, {50, 99}, QRect(100, 80, 450, 300)},
        {Hit::Left, {-20, 0}, QRect(80, 80, 420, 300)},
        {Hit::Top, {0, 30}, QRect(100, 110, 400, 270)},
        {Hit::BottomRight, {10, 20}, QRect(100, 80, 410, 320)},
        {Hit::TopLeft, {300, 300}, QRect(300, 230, 200, 150)},
        {Hit::BottomLeft, {-5, -500}, QRect(95, 80, 405, 150)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDialogX::resizedGeometry(start, c.edge, c.delta, minimum), c.expected)
            << static_cast<int>(c.edge);
    }
}

TEST_F(CDialogXTest, CornerCutsAreRoundedRuns) {
    const QRegion shape = CDialogX::cornerCutRegion({100, 80});
    struct Case {
        QPoint at;
        bool inside;
    };
    const std::vector<Case> cases = {
        {{0, 0}, false},   {{0, 4}, false},  {{0, 5}, true},   {{1, 2}, false},  {{1, 3}, true},
        {{2, 1}, false},   {{2, 2}, true},   {{4, 0}, false},  {{4, 1}, true},   {{5, 0}, true},
        {{99, 0}, false},  {{99, 5}, true},  {{95, 0}, false}, {{0, 79}, false}, {{0, 74}, true},
        {{99, 79}, false}, {{96, 78}, true}, {{50, 40}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shape.contains(c.at), c.inside) << c.at.x() << "," << c.at.y();
    }
}

TEST_F(CDialogXTest, CaptionTextDefaultsToMorvex) {
    const auto window = frame();
    EXPECT_EQ(window->caption(), QStringLiteral("Morvex"));
    window->setCaption(QStringLiteral("Morvex在线客服"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Morvex在线客服"));
}

TEST_F(CDialogXTest, MissingSkinImageIsReported) {
    try {
        CDialogX broken(nullptr, {}, QStringLiteral(":/no/such/skin/"));
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "toolbar.dll Error");
    }
}

}  // namespace
}  // namespace chat
