#include "ui/prompts/dlg_modal_prompt.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/hyper_link_ctrl.h"
#include "ui/prompts/qt_prompt_port.h"
#include "widget_test_support.h"

namespace chat {
namespace {

const QString kWaitText = QStringLiteral("正在与服务通讯，请稍候……");

// Runs `action` from inside the nested event loop of the prompt that is about to open.
void whileOpen(std::function<void()> action) {
    QTimer::singleShot(0, std::move(action));
}

class CDlgModalPromptTest : public ::testing::Test {
  protected:
    void TearDown() override {
        CDlgModalPrompt::closeAll();
        EXPECT_EQ(CDlgModalPrompt::openCount(), 0u);
    }
};

TEST_F(CDlgModalPromptTest, SizeFollowsTheMessage) {
    struct Case {
        QString text;
        bool cancellable;
    };
    const std::vector<Case> cases = {
        {kWaitText, false},
        {kWaitText, true},
        {QStringLiteral("第一行\n第二行要长一些"), false},
        {QStringLiteral("&Alt 不是快捷键"), true},
    };
    for (const Case& c : cases) {
        CDlgModalPrompt prompt(nullptr, c.text, c.cancellable);
        const QSize text = prompt.fontMetrics()
                               .boundingRect(QRect(0, 0, 10000, 10000), Qt::AlignLeft, c.text)
                               .size();
        EXPECT_EQ(prompt.size(),
                  QSize(text.width() + 48, text.height() + 24 + (c.cancellable ? 24 : 0)))
            << c.text.toStdString();
    }
}

TEST_F(CDlgModalPromptTest, OnlyACancellablePromptOffersTheCancelLink) {
    CDlgModalPrompt waiting(nullptr, kWaitText, false);
    EXPECT_EQ(waiting.findChild<tekna::HyperLinkCtrl*>(), nullptr);

    CDlgModalPrompt cancellable(nullptr, kWaitText, true);
    const tekna::HyperLinkCtrl* link = cancellable.cancelLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), QStringLiteral("取消"));
    EXPECT_EQ(link->commandId(), 2);
    EXPECT_GE(link->y(), cancellable.height() - 24);
    EXPECT_LE(std::abs(link->geometry().center().x() - cancellable.rect().center().x()), 1);
}

TEST_F(CDlgModalPromptTest, LooksLikeALightBlueBoxWithBlackText) {
    CDlgModalPrompt prompt(nullptr, kWaitText, true);
    prompt.show();
    const QImage shown = test::render(prompt);
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(80, 80, 128));
    EXPECT_EQ(shown.pixelColor(3, 3), QColor(214, 238, 255));
    EXPECT_TRUE(test::hasColour(shown, Qt::black));
    EXPECT_TRUE(test::hasColour(shown, QColor(0, 0, 255)));
}

TEST_F(CDlgModalPromptTest, CancelLinkAndEscapeEndWithTwo) {
    for (const bool byKey : {false, true}) {
        CDlgModalPrompt prompt(nullptr, kWaitText, true);
        whileOpen([&] {
            if (byKey) {
                QTest::keyClick(&prompt, Qt::Key_Escape);
            } else {
                QTest::mouseClick(prompt.cancelLink(), Qt::LeftButton);
            }
        });
        EXPECT_EQ(prompt.exec(), CDlgModalPrompt::kCancelled);
        EXPECT_EQ(CDlgModalPrompt::openCount(), 0u);
    }
}

TEST_F(CDlgModalPromptTest, UserCannotEndAPromptThatIsNotCancellable) {
    CDlgModalPrompt prompt(nullptr, kWaitText, false);
    whileOpen([&] {
        QTest::keyClick(&prompt, Qt::Key_Escape);
        prompt.close();
        EXPECT_TRUE(prompt.isVisible());
        EXPECT_EQ(CDlgModalPrompt::openCount(), 1u);
        CDlgModalPrompt::closeAll();
    });
    EXPECT_EQ(prompt.exec(), CDlgModalPrompt::kClosedByCloseAll);
}

TEST_F(CDlgModalPromptTest, OpeningASecondPromptClosesTheFirstWithEight) {
    CDlgModalPrompt first(nullptr, kWaitText, true);
    CDlgModalPrompt second(nullptr, QStringLiteral("正在等待服务器响应，请稍候……"), false);
    int secondResult = -1;
    whileOpen([&] {
        whileOpen([&] {
            EXPECT_FALSE(first.isVisible());
            EXPECT_TRUE(second.isVisible());
            EXPECT_EQ(CDlgModalPrompt::openCount(), 1u);
            CDlgModalPrompt::closeAll();
        });
        secondResult = second.exec();
    });
    EXPECT_EQ(first.exec(), CDlgModalPrompt::kClosedByCloseAll);
    EXPECT_EQ(secondResult, CDlgModalPrompt::kClosedByCloseAll);
}

TEST_F(CDlgModalPromptTest, PromptIsCentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(200, 150, 600, 400);
    owner.show();
    CDlgModalPrompt prompt(&owner, kWaitText, false);
    prompt.show();
    EXPECT_LE((prompt.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(),
              2);
}

TEST_F(CDlgModalPromptTest, PortShowsTheUtf8TextAndEndsOnCloseAll) {
    QtPromptPort port;
    whileOpen([&] {
        const auto* prompt = qobject_cast<CDlgModalPrompt*>(QApplication::activeModalWidget());
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(prompt->text(), QStringLiteral("正在连接服务器，请稍候..."));
        EXPECT_TRUE(prompt->isCancellable());
        port.closeAllPrompts();
    });
    EXPECT_EQ(port.showModalPrompt("正在连接服务器，请稍候...", true),
              PromptPort::kClosedByCloseAll);
}

TEST_F(CDlgModalPromptTest, PortSurvivesTheOwnerGoingAwayAfterCloseAll) {
    auto* owner = new QWidget;
    owner->show();
    QtPromptPort port(owner);
    whileOpen([&] {
        // The fatal-error path: close every prompt, then destroy the main window.
        port.closeAllPrompts();
        delete owner;
    });
    EXPECT_EQ(port.showModalPrompt("正在等待服务器响应，请稍候……", false),
              PromptPort::kClosedByCloseAll);
}

}  // namespace
}  // namespace chat
