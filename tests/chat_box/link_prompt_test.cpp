#include "content/widgets/link_prompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QLabel>
#include <QPointer>

namespace chat {
namespace {

TEST(OpenableAddress, OpensOnlyWebFileTransferAndMailAddresses) {
    struct Case {
        const char* text;
        const char* opened;  // null: not opened
    };
    const Case cases[] = {
        {"http://a.cn/x?y=1", "http://a.cn/x?y=1"},
        {"https://a.cn", "https://a.cn"},
        {"ftp://files.a.cn/f.zip", "ftp://files.a.cn/f.zip"},
        {"www.a.cn/page", "http://www.a.cn/page"},
        {"WWW.A.CN", "http://WWW.A.CN"},
        {"mailto://kf@a.cn", "mailto://kf@a.cn"},
        {"HTTP://a.cn", "HTTP://a.cn"},
        {"file:///etc/passwd", nullptr},
        {"javascript:alert(1)", nullptr},
        {"smb://host/share", nullptr},
        {"http://", nullptr},
        {"小美", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const auto url = openableAddress(QString::fromUtf8(c.text));
        if (c.opened == nullptr) {
            EXPECT_FALSE(url.has_value()) << c.text;
        } else {
            ASSERT_TRUE(url.has_value()) << c.text;
            EXPECT_EQ(url->scheme().toLower(),
                      QUrl(QString::fromUtf8(c.opened)).scheme().toLower());
            EXPECT_EQ(url->toString().toLower(), QString::fromUtf8(c.opened).toLower()) << c.text;
        }
    }
}

class LinkPromptTest : public testing::Test {
  protected:
    QPointer<LinkPrompt> open(const QString& address) {
        auto* prompt = new LinkPrompt(
            address, [this](const QUrl& url) { opened.push_back(url); }, nullptr);
        prompt->show();
        return prompt;
    }
    static void choose(LinkPrompt& prompt, int id) {
        QLabel* label = prompt.choice(id);
        ASSERT_NE(label, nullptr) << id;
        emit label->linkActivated(QStringLiteral("#"));
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<QUrl> opened;
};

TEST_F(LinkPromptTest, ShowsTheQuestionAndItsThreeChoices) {
    QPointer<LinkPrompt> prompt = open(QStringLiteral("http://a.cn"));
    const QList<QLabel*> labels = prompt->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* label : labels) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.join('|').contains(QStringLiteral("您是否确认要打开这个网址？")));
    EXPECT_TRUE(prompt->choice(LinkPrompt::kOpenId)->text().contains(QStringLiteral("直接打开")));
    EXPECT_TRUE(prompt->choice(LinkPrompt::kCopyId)->text().contains(QStringLiteral("复制网址")));
    EXPECT_TRUE(prompt->choice(LinkPrompt::kCancelId)->text().contains(QStringLiteral("取消")));
    delete prompt;
}

TEST_F(LinkPromptTest, EachChoiceDoesItsWorkAndClosesThePrompt) {
    QPointer<LinkPrompt> prompt = open(QStringLiteral("www.a.cn/x"));
    choose(*prompt, LinkPrompt::kOpenId);
    settle();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://www.a.cn/x")));
    EXPECT_TRUE(prompt.isNull());

    QApplication::clipboard()->clear();
    prompt = open(QStringLiteral("https://a.cn/复制"));
    choose(*prompt, LinkPrompt::kCopyId);
    settle();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("https://a.cn/复制"));
    EXPECT_TRUE(prompt.isNull());

    prompt = open(QStringLiteral("https://a.cn"));
    choose(*prompt, LinkPrompt::kCancelId);
    settle();
    EXPECT_TRUE(prompt.isNull());
    EXPECT_EQ(opened.size(), 1u) << "cancel opens nothing";
}

TEST_F(LinkPromptTest, DoesNotOpenAnAddressOfAnotherScheme) {
    QPointer<LinkPrompt> prompt = open(QStringLiteral("file:///etc/passwd"));
    choose(*prompt, LinkPrompt::kOpenId);
    settle();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(prompt.isNull());
}

TEST_F(LinkPromptTest, ClosesWhenItLosesActivation) {
    QPointer<LinkPrompt> prompt = open(QStringLiteral("http://a.cn"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(prompt, &deactivate);
    settle();
    EXPECT_TRUE(prompt.isNull());
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace chat
