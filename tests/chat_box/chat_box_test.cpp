#include "content/widgets/chat_box.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <filesystem>

#include "admin/account_level.h"
#include "content/widgets/chat_box_history.h"
#include "content/widgets/chat_box_picture_cache.h"
#include "content/widgets/document_pictures.h"
#include "content/widgets/hidden_picture_placeholder.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/rich_text_clipboard.h"
#include "content_widgets/picture_fixtures.h"
#include "platform/md5.h"

namespace chat {
namespace {

constexpr QChar kObjectCharacter(0xFFFC);

std::vector<uint8_t> bytesOf(const QByteArray& bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

ChatMessageLayout message(uint32_t roles, std::u16string nickname,
                          std::vector<DrawableSection> sections, int32_t targetId = 0) {
    ChatMessageLayoutInput input;
    input.speakerRoles = roles;
    input.speakerNickname = std::move(nickname);
    input.sendTime = SystemTime{2026, 12, 5, 11, 9, 5, 7, 0};
    input.targetId = targetId;
    input.localChatterId = 7;
    input.useOwnStyle = true;
    input.style.colour = rgb(0, 0, 255);
    input.style.bold = 1;
    input.sections = std::move(sections);
    return layoutChatMessage(std::move(input));
}

// The character format at the document position (of the character that follows it).
QTextCharFormat formatAt(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

int positionOf(const QTextDocument& document, const QString& text) {
    return document.find(text).selectionStart();
}

class ChatBoxTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(cacheHome.isValid());
        qputenv("XDG_DATA_HOME", cacheHome.path().toUtf8());
        box.resize(400, 300);
        box.show();
    }
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    QTextDocument& document() { return *box.document(); }
    QString text() { return document().toPlainText(); }
    std::vector<EmbeddedObject> objects() { return embeddedObjects(document()); }
    // A system line of exactly `length` characters: icon, "系统消息：", the text, line break.
    void systemLineOfLength(int length, char16_t fill) {
        box.showSystemLine(std::u16string(static_cast<size_t>(length - 7), fill));
    }
    // Lets the event loop run until the box has deleted what its ledger dropped.
    void turnEventLoop() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !box.trimPending(); }, 2000));
        QCoreApplication::processEvents();
    }

    QTemporaryDir cacheHome;
    ChatBox box{nullptr, QStringLiteral(CHAT_EMOTE_SOURCE_FOLDER)};
};

TEST_F(ChatBoxTest, DrawsAChatMessageWithHeaderBodyLinksEmoticonAndPicture) {
    const QByteArray picture = test::encoded(test::filled(12, 10, Qt::green), "png");
    box.showChatMessage(42, message(AccountLevel::kCustomerService, u"小美",
                                    {DrawTextSection{u"看 http://a.cn/x 好"}, DrawEmoteSection{1},
                                     DrawPictureSection{bytesOf(picture)}}));

    const QString expected = QString(kObjectCharacter) +
                             QStringLiteral("小美 09:05:07 <Morvex客服> \n") +
                             QStringLiteral("看 http://a.cn/x 好") + kObjectCharacter +
                             kObjectCharacter + QStringLiteral("\n");
    EXPECT_EQ(text(), expected);

    const std::vector<EmbeddedObject> embedded = objects();
    ASSERT_EQ(embedded.size(), 3u) << "role icon, emoticon, picture";
    for (const EmbeddedObject& object : embedded) {
        EXPECT_EQ(object.userTag, kPictureObjectTag);
        ASSERT_NE(object.picture, nullptr);
    }
    EXPECT_EQ(embedded[0].position, 0);
    EXPECT_EQ(embedded[0].picture->mode(), kPictureModeLocal);
    QFile emoticon(QStringLiteral(CHAT_EMOTE_SOURCE_FOLDER "/0001.gif"));
    ASSERT_TRUE(emoticon.open(QIODevice::ReadOnly));
    EXPECT_EQ(embedded[1].picture->pictureBytes(), emoticon.readAll());
    EXPECT_EQ(embedded[2].picture->pictureBytes(), picture);
    EXPECT_EQ(embedded[2].picture->mode(), kPictureModeReceived);

    const QTextCharFormat nickname = formatAt(document(), 1);
    EXPECT_TRUE(nickname.isAnchor());
    EXPECT_EQ(nickname.anchorHref(), QStringLiteral("小美"));
    EXPECT_EQ(nickname.foreground().color(), QColor(255, 128, 0));
    const QTextCharFormat time = formatAt(document(), positionOf(document(), "09:05:07"));
    EXPECT_FALSE(time.isAnchor());
    EXPECT_EQ(time.foreground().color(), QColor(255, 128, 0));

    const QTextCharFormat body = formatAt(document(), positionOf(document(), "看"));
    EXPECT_FALSE(body.isAnchor());
    EXPECT_EQ(body.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(body.fontWeight(), QFont::Bold);
    EXPECT_EQ(body.fontPointSize(), 9);
    const QTextCharFormat link = formatAt(document(), positionOf(document(), "http://a.cn/x"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("http://a.cn/x"));
    EXPECT_FALSE(formatAt(document(), positionOf(document(), " 好")).isAnchor());

    EXPECT_EQ(document().firstBlock().blockFormat().leftMargin(), 0);
    EXPECT_EQ(document().firstBlock().next().blockFormat().leftMargin(), 12) << "180 twips";

    const ChatBoxEntry entry = box.ledger().entry(0);
    EXPECT_EQ(entry, (ChatBoxEntry{42, 0, static_cast<int32_t>(expected.size()), 1}));
}

TEST_F(ChatBoxTest, WritesTheWhisperText) {
    box.showChatMessage(1, message(0, u"甲", {DrawTextSection{u"嗨"}}, 7));
    EXPECT_TRUE(text().startsWith(QStringLiteral("甲 09:05:07(对您悄悄说)\n")))
        << text().toStdString();
}

TEST_F(ChatBoxTest, DrawsSystemLinesInGreyWithTheirIcon) {
    box.showSystemLine(u"欢迎光临");
    box.showSystemLine(u"");
    EXPECT_EQ(text(), QString(kObjectCharacter) + QStringLiteral("系统消息：欢迎光临\n"));
    const QTextCharFormat format = formatAt(document(), 1);
    EXPECT_EQ(format.foreground().color(), QColor(128, 128, 128));
    EXPECT_EQ(format.fontPointSize(), 9);
    EXPECT_EQ(document().firstBlock().blockFormat().leftMargin(), 60) << "900 twips hanging";
    EXPECT_EQ(document().firstBlock().blockFormat().textIndent(), -60);
    ASSERT_EQ(box.ledger().size(), 1u);
    EXPECT_EQ(box.ledger().entry(0), (ChatBoxEntry{0, 0, 11, 0}));
}

TEST_F(ChatBoxTest, RepeatsASystemLineTwiceMoreThenStops) {
    box.showRepeatedSystemLine(u"送出礼物");
    EXPECT_EQ(text().count(QStringLiteral("送出礼物")), 1);
    EXPECT_TRUE(box.repeatingSystemLine());
    box.nextRepetition();
    EXPECT_TRUE(box.repeatingSystemLine());
    box.nextRepetition();
    EXPECT_EQ(text().count(QStringLiteral("送出礼物")), 3);
    EXPECT_FALSE(box.repeatingSystemLine());

    box.showRepeatedSystemLine(u"一");
    box.showRepeatedSystemLine(u"二");
    box.nextRepetition();
    box.nextRepetition();
    EXPECT_EQ(text().count(QStringLiteral("一")), 1) << "a new line ends the running one";
    EXPECT_EQ(text().count(QStringLiteral("二")), 3);

    box.showRepeatedSystemLine(u"三");
    box.showRepeatedSystemLine(u"");
    EXPECT_FALSE(box.repeatingSystemLine());
}

TEST_F(ChatBoxTest, DropsWholeOldestMessagesOnceTheLimitIsReached) {
    box.setMaxChars(1024);
    for (int round = 0; round < 2; ++round) {
        systemLineOfLength(400, u'a');
        systemLineOfLength(400, u'b');
        turnEventLoop();
        EXPECT_EQ(box.ledger().characterCount(), 800) << round;
        systemLineOfLength(300, u'c');
        turnEventLoop();
        EXPECT_EQ(box.ledger().characterCount(), 700) << round;
        ASSERT_EQ(box.ledger().size(), 2u);
        EXPECT_EQ(box.ledger().entry(0), (ChatBoxEntry{0, 0, 400, 0}));
        EXPECT_EQ(box.ledger().entry(1), (ChatBoxEntry{0, 400, 700, 0}));
        EXPECT_EQ(document().characterCount() - 1, 700);
        EXPECT_TRUE(text().startsWith(QString(kObjectCharacter) + QStringLiteral("系统消息：bbb")));
        EXPECT_EQ(document().firstBlock().blockFormat().leftMargin(), 60)
            << "the new first line keeps its indents";
        box.clearBox();
        EXPECT_EQ(box.ledger().characterCount(), 0);
        EXPECT_TRUE(text().isEmpty());
    }
}

TEST_F(ChatBoxTest, ABurstTrimsOnceAndKeepsLedgerAndDocumentInStep) {
    box.setMaxChars(1024);
    for (int i = 0; i < 60; ++i) {
        systemLineOfLength(100, static_cast<char16_t>(u'A' + i % 26));
    }
    EXPECT_EQ(document().characterCount() - 1, 6000) << "deleted when the event loop turns";
    EXPECT_TRUE(box.trimPending());
    turnEventLoop();
    EXPECT_EQ(box.ledger().size(), 10u);
    EXPECT_EQ(document().characterCount() - 1, 1000);
    for (size_t i = 0; i < box.ledger().size(); ++i) {
        const ChatBoxEntry entry = box.ledger().entry(i);
        EXPECT_EQ(entry.start, static_cast<int32_t>(i) * 100);
        const QString line = text().mid(entry.start, entry.end - entry.start);
        EXPECT_EQ(line.at(0), kObjectCharacter);
        EXPECT_EQ(line.at(8), QChar(u'A' + (50 + static_cast<int>(i)) % 26)) << i;
    }
}

TEST_F(ChatBoxTest, KeepsTheSelectionOnTheSameTextAfterATrim) {
    box.setMaxChars(1024);
    systemLineOfLength(400, u'a');
    box.showSystemLine(u"0123456789" + std::u16string(383, u'b'));
    QTextCursor selection(&document());
    selection.setPosition(406);
    selection.setPosition(411, QTextCursor::KeepAnchor);
    box.setTextCursor(selection);
    ASSERT_EQ(box.textCursor().selectedText(), QStringLiteral("01234"));

    systemLineOfLength(300, u'c');
    turnEventLoop();
    EXPECT_EQ(box.textCursor().selectionStart(), 6);
    EXPECT_EQ(box.textCursor().selectionEnd(), 11);
    EXPECT_EQ(box.textCursor().selectedText(), QStringLiteral("01234"));
}

TEST_F(ChatBoxTest, OffersTheContextMenuCommandsWithTheirState) {
    const QByteArray picture = test::encoded(test::filled(40, 30, Qt::red), "png");
    box.showChatMessage(
        3, message(0, u"乙", {DrawTextSection{u"文字"}, DrawPictureSection{bytesOf(picture)}}));
    turnEventLoop();
    const int picturePosition = objects().at(0).position;
    const QRectF area = DocumentPictures::of(document()).objectRect(picturePosition);
    const QPoint overPicture =
        area.center().toPoint() - QPoint(0, box.verticalScrollBar()->value());

    auto commands = [](QMenu& menu) {
        std::map<int, QAction*> byCommand;
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator()) {
                byCommand[action->data().toInt()] = action;
            }
        }
        return byCommand;
    };
    std::unique_ptr<QMenu> menu = box.makeContextMenu(QPoint(390, 290));
    auto items = commands(*menu);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[ChatBox::kCopyCommand]->text(), QStringLiteral("复制(&C)\tCtrl+C"));
    EXPECT_EQ(items[ChatBox::kSelectAllCommand]->text(), QStringLiteral("全选(&A)\tCtrl+A"));
    EXPECT_EQ(items[ChatBox::kClearCommand]->text(), QStringLiteral("清屏"));
    EXPECT_EQ(items[ChatBox::kSavePictureCommand]->text(), QStringLiteral("图片另存为(&S)"));
    EXPECT_EQ(items[ChatBox::kAutoScrollCommand]->text(), QStringLiteral("是否自动滚屏"));
    EXPECT_FALSE(items[ChatBox::kCopyCommand]->isEnabled()) << "nothing selected";
    EXPECT_FALSE(items[ChatBox::kSavePictureCommand]->isEnabled()) << "no picture under the point";
    EXPECT_TRUE(items[ChatBox::kAutoScrollCommand]->isChecked());

    items[ChatBox::kSelectAllCommand]->trigger();
    menu = box.makeContextMenu(overPicture);
    items = commands(*menu);
    EXPECT_TRUE(items[ChatBox::kCopyCommand]->isEnabled());
    EXPECT_TRUE(items[ChatBox::kSavePictureCommand]->isEnabled());

    QSignalSpy scrollSwitch(&box, &ChatBox::autoScrollChanged);
    items[ChatBox::kAutoScrollCommand]->trigger();
    EXPECT_FALSE(box.autoScroll());
    ASSERT_EQ(scrollSwitch.size(), 1);
    EXPECT_FALSE(scrollSwitch[0][0].toBool());
    menu = box.makeContextMenu(QPoint(1, 1));
    EXPECT_FALSE(commands(*menu)[ChatBox::kAutoScrollCommand]->isChecked());

    QSignalSpy cleared(&box, &ChatBox::clearedByUser);
    commands(*menu)[ChatBox::kClearCommand]->trigger();
    EXPECT_EQ(cleared.size(), 1);
    EXPECT_TRUE(text().isEmpty());
    EXPECT_TRUE(box.ledger().empty());
}

TEST_F(ChatBoxTest, TracesNicknameClicksToTheSpeakerAndPromptsForAddresses) {
    std::vector<QUrl> opened;
    box.setUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    box.showSystemLine(u"进入房间");
    box.showChatMessage(
        42, message(AccountLevel::kInstructor, u"老师", {DrawTextSection{u"见 www.a.cn/k 谢谢"}}));
    box.showChatMessage(9, message(0, u"学生", {DrawTextSection{u"好"}}));
    QSignalSpy nicknames(&box, &ChatBox::nicknameClicked);

    const int teacher = positionOf(document(), "老师");
    for (const LinkClick click :
         {LinkClick::LeftPress, LinkClick::LeftDoubleClick, LinkClick::RightPress}) {
        box.linkClicked(click, teacher + 1);
    }
    ASSERT_EQ(nicknames.size(), 3);
    EXPECT_EQ(nicknames[0][0].value<LinkClick>(), LinkClick::LeftPress);
    EXPECT_EQ(nicknames[2][0].value<LinkClick>(), LinkClick::RightPress);
    EXPECT_EQ(nicknames[0][1].toInt(), 42);
    EXPECT_EQ(nicknames[0][2].toString(), QStringLiteral("老师"));
    box.linkClicked(LinkClick::LeftPress, positionOf(document(), "学生"));
    EXPECT_EQ(nicknames.last()[1].toInt(), 9);
    EXPECT_EQ(box.linkPrompt(), nullptr);

    const int address = positionOf(document(), "www.a.cn/k");
    box.linkClicked(LinkClick::RightPress, address + 3);
    EXPECT_EQ(box.linkPrompt(), nullptr) << "a right click on an address does nothing";
    box.linkClicked(LinkClick::LeftPress, address + 3);
    ASSERT_NE(box.linkPrompt(), nullptr);
    EXPECT_EQ(box.linkPrompt()->address(), QStringLiteral("www.a.cn/k"));
    box.linkPrompt()->openAddress();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("http://www.a.cn/k")));
    EXPECT_EQ(nicknames.size(), 4);

    box.linkClicked(LinkClick::LeftPress, positionOf(document(), "进入"));
    EXPECT_EQ(nicknames.size(), 4) << "plain text is no link";
}

TEST_F(ChatBoxTest, FindsPicturesAndTracesNicknamesInTheMessagesLeftAfterTrims) {
    box.setMaxChars(1024);
    const QByteArray picture = test::encoded(test::filled(6, 6, Qt::red), "png");
    QSignalSpy nicknames(&box, &ChatBox::nicknameClicked);
    for (int i = 0; i < 40; ++i) {
        const uint32_t roles = i % 2 == 0 ? AccountLevel::kCustomerService : 0;
        box.showChatMessage(100 + i, message(roles, u"玩家" + std::u16string(1, u'A' + i % 26),
                                             {DrawTextSection{std::u16string(40, u'x')},
                                              DrawPictureSection{bytesOf(picture)}}));
        if (i % 7 == 0) {
            turnEventLoop();
        }
    }
    turnEventLoop();
    ASSERT_LT(box.ledger().size(), 40u);

    const std::vector<EmbeddedObject> embedded = objects();
    for (const EmbeddedObject& object : embedded) {
        ASSERT_NE(object.picture, nullptr) << object.position;
    }
    EXPECT_EQ(DocumentPictures::of(document()).pictureCount(), embedded.size())
        << "the pictures of dropped messages are let go";
    const EmbeddedObject& last = embedded.back();
    EXPECT_EQ(last.picture->pictureBytes(), picture);
    const QRectF area = DocumentPictures::of(document()).objectRect(last.position);
    EXPECT_EQ(pictureAt(box, area.center().toPoint() - QPoint(0, box.verticalScrollBar()->value())),
              last.picture);

    for (size_t i = 0; i < box.ledger().size(); ++i) {
        const ChatBoxEntry entry = box.ledger().entry(i);
        box.linkClicked(LinkClick::LeftPress, entry.start + entry.iconFlag + 1);
        ASSERT_EQ(nicknames.size(), static_cast<qsizetype>(i) + 1);
        EXPECT_EQ(nicknames.last()[1].toInt(), entry.speakerId);
    }
}

TEST_F(ChatBoxTest, CopiesPicturesWithTheTextForOurRichTextControls) {
    const QByteArray picture = test::encoded(test::filled(6, 6, Qt::blue), "png");
    box.showChatMessage(3, message(AccountLevel::kInstructor, u"乙",
                                   {DrawTextSection{u"看"}, DrawPictureSection{bytesOf(picture)}}));
    box.selectAll();
    box.copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    QTextEdit pasted;
    QTextCursor cursor(pasted.document());
    ASSERT_TRUE(insertRichText(cursor, *copied));
    EXPECT_EQ(pasted.toPlainText(), text());
    const std::vector<EmbeddedObject> embedded = embeddedObjects(*pasted.document());
    ASSERT_EQ(embedded.size(), 2u) << "role icon and picture";
    EXPECT_EQ(embedded[0].picture->pictureBytes(), objects()[0].picture->pictureBytes());
    EXPECT_EQ(embedded[1].picture->pictureBytes(), picture);
}

TEST_F(ChatBoxTest, ScrollsToTheNewestMessageOnlyWhileAutoScrollIsOn) {
    for (int i = 0; i < 40; ++i) {
        box.showSystemLine(u"一行");
    }
    turnEventLoop();
    QScrollBar& bar = *box.verticalScrollBar();
    ASSERT_GT(bar.maximum(), 0);
    EXPECT_EQ(bar.value(), bar.maximum());

    box.setAutoScroll(false);
    bar.setValue(0);
    for (int i = 0; i < 10; ++i) {
        box.showSystemLine(u"又一行");
    }
    turnEventLoop();
    EXPECT_EQ(bar.value(), 0);

    box.setAutoScroll(true);
    EXPECT_EQ(bar.value(), bar.maximum());
}

TEST_F(ChatBoxTest, CachesReceivedPicturesUnderTheirDigestOnce) {
    const QByteArray picture = test::encoded(test::filled(8, 8, Qt::blue), "bmp");
    const std::filesystem::path folder =
        std::filesystem::path(cacheHome.path().toStdString()) / "palvern" / "image";
    const std::string digest = md5HexText(std::string_view(picture.constData(), picture.size()));
    EXPECT_EQ(pictureCachePath(cacheHome.path().toStdString(), bytesOf(picture)), folder / digest);

    for (int i = 0; i < 2; ++i) {
        box.showChatMessage(5, message(0, u"丙", {DrawPictureSection{bytesOf(picture)}}));
    }
    ASSERT_TRUE(std::filesystem::exists(folder / digest));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
    QFile cached(QString::fromStdString((folder / digest).string()));
    ASSERT_TRUE(cached.open(QIODevice::ReadOnly));
    EXPECT_EQ(cached.readAll(), picture);
    EXPECT_EQ(objects().size(), 2u);
}

TEST_F(ChatBoxTest, DrawsThePlaceholderForAHiddenPicture) {
    box.showChatMessage(5, message(0, u"丁", {DrawHiddenPicture{}}));
    const std::vector<EmbeddedObject> embedded = objects();
    ASSERT_EQ(embedded.size(), 1u);
    EXPECT_EQ(embedded[0].userTag, kPictureObjectTag);
    EXPECT_EQ(embedded[0].picture->mode(), kPictureModeReceived);
    EXPECT_EQ(embedded[0].picture->size(), hiddenPicturePlaceholder().size());
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(cacheHome.path().toStdString()) /
                                         "palvern" / "image"))
        << "the placeholder is not a received picture";
}

TEST_F(ChatBoxTest, RendersAHistoryPageIntoAnEmptiedBox) {
    box.showSystemLine(u"旧内容");
    const std::vector<uint8_t> content = {0x0C, 0, 0, 0, 2, 0, 0, 0, 0x60, 0x4F, 0, 0};  // "你"
    std::vector<StoredMessage> stored(2);
    for (StoredMessage& entry : stored) {
        entry.time = SystemTime{2026, 1, 0, 2, 3, 4, 5, 0};
        entry.nickname = u"戊";
        entry.content = content;
    }
    renderHistoryPage(box, stored, 1);
    EXPECT_EQ(text(), QStringLiteral(
                          "(1) 2026-01-02 03:04:05  戊:\n你\n(2) 2026-01-02 03:04:05  戊:\n你\n"));
    EXPECT_TRUE(box.ledger().empty()) << "history is not recorded as messages";
}

}  // namespace
}  // namespace chat
