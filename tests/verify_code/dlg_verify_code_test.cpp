#include "ui/verify/dlg_verify_code.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/recording_messages.h"
#include "ui/controls/hyper_link_ctrl.h"
#include "ui_controls/widget_test_support.h"

namespace chat {
namespace {

using test::RecordingMessages;
using test::ShownMessage;

const ShownMessage kWrongCode{std::string(kWrongVerifyCodeText), tekna::MessageCaption::None,
                              tekna::MessageIcon::Error};

// The code with the case of every letter turned over.
QString otherCase(const std::u16string& code) {
    QString turned;
    for (const QChar c : QString::fromStdU16String(code)) {
        turned += c.isUpper() ? c.toLower() : c.toUpper();
    }
    return turned;
}

class DlgVerifyCodeTest : public ::testing::Test {
  protected:
    RecordingMessages messages_;
    unsigned state_ = 20261211;
    DlgVerifyCode dialog_{messages_, [this] {
                              state_ = state_ * 1103515245u + 12345u;
                              return (state_ / 65536u) % 32768u;
                          }};

    void SetUp() override { dialog_.show(); }

    void answer(const QString& typed) {
        dialog_.entry()->setText(typed);
        QTest::mouseClick(dialog_.okButton(), Qt::LeftButton);
    }
};

TEST_F(DlgVerifyCodeTest, OpensWithAFourCharacterCodeAndAFourCharacterEntry) {
    EXPECT_EQ(dialog_.windowTitle(), QStringLiteral("验证"));
    EXPECT_EQ(dialog_.code().size(), kVerifyCodeLength);
    QTest::keyClicks(dialog_.entry(), QStringLiteral("abcdef"));
    EXPECT_EQ(dialog_.entry()->text(), QStringLiteral("abcd"));
}

TEST_F(DlgVerifyCodeTest, TheCodeTypedInTheOtherCaseIsAccepted) {
    answer(otherCase(dialog_.code()));
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DlgVerifyCodeTest, AWrongAnswerKeepsTheTextAndReplacesTheCode) {
    const std::u16string first = dialog_.code();
    const QString wrong = QString::fromStdU16String(first).left(3) + QStringLiteral("#");
    answer(wrong);
    EXPECT_EQ(messages_.shown, std::vector<ShownMessage>{kWrongCode});
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(dialog_.entry()->text(), wrong);
    EXPECT_EQ(dialog_.focusWidget(), dialog_.entry());
    ASSERT_NE(dialog_.code(), first);

    answer(QString::fromStdU16String(first));
    EXPECT_EQ(messages_.shown, (std::vector<ShownMessage>{kWrongCode, kWrongCode}));
    EXPECT_TRUE(dialog_.isVisible());

    answer(QString::fromStdU16String(dialog_.code()));
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

TEST_F(DlgVerifyCodeTest, TheLinkReplacesTheCodeWithoutCheckingTheEntry) {
    const std::u16string first = dialog_.code();
    dialog_.entry()->setText(QString::fromStdU16String(first));
    QTest::mouseClick(dialog_.link(), Qt::LeftButton);
    EXPECT_NE(dialog_.code(), first);
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_TRUE(dialog_.isVisible());
}

TEST_F(DlgVerifyCodeTest, CancelAndEscapeCloseWithoutChecking) {
    const std::vector<std::pair<const char*, std::function<void(DlgVerifyCode&)>>> ways = {
        {"cancel button",
         [](DlgVerifyCode& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }},
        {"escape", [](DlgVerifyCode& d) { QTest::keyClick(d.entry(), Qt::Key_Escape); }},
    };
    for (const auto& [name, close] : ways) {
        dialog_.show();
        dialog_.entry()->setText(QString::fromStdU16String(dialog_.code()));
        close(dialog_);
        EXPECT_EQ(dialog_.result(), QDialog::Rejected) << name;
        EXPECT_FALSE(dialog_.isVisible()) << name;
    }
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(DlgVerifyCodeTest, ThePictureShowsTheCodeInBlackOnWhite) {
    auto* picture = dialog_.findChild<VerifyCodePic*>();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->code(), dialog_.code());
    const QImage shown = test::render(*picture);
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, 2), QColor(Qt::white));
    // Outline text inside the frame: some dark pixels away from the border.
    const QImage inside = shown.copy(3, 3, shown.width() - 6, shown.height() - 6);
    EXPECT_TRUE(test::anyPixel(inside, [](QColor c) { return c.lightness() < 100; }));
}

TEST(DlgVerifyCodeAskTest, AskAnswersFalseWhenTheUserCancels) {
    RecordingMessages messages;
    QTimer::singleShot(0, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<DlgVerifyCode*>(window);
                dialog && dialog->isVisible()) {
                QTest::keyClick(dialog->entry(), Qt::Key_Escape);
            }
        }
    });
    EXPECT_FALSE(DlgVerifyCode::ask(nullptr, messages));
}

}  // namespace
}  // namespace chat
