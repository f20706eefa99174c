#include "ui/dialogs/reply_dlg.h"

#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "storage/user_config.h"
#include "ui/dialogs/edit_reply.h"

namespace chat {

void PrintTo(const QuickReply& reply, std::ostream* out) {
    *out << reply.hotKey << ":" << QString::fromStdU16String(reply.text).toStdString();
}

namespace {

using Command = CReplyDlg::Command;

class FakeFonts : public SystemFontSource {
  public:
    std::optional<SystemFont> iconTitleFont() const override {
        return SystemFont{-12, 400, false, false, false, 134, u"宋体"};
    }
    SystemFont stockSystemFont() const override { return *iconTitleFont(); }
    int32_t verticalDpi() const override { return 96; }
};

class QuickReplyTest : public ::testing::Test {
  protected:
    static constexpr const char* kAccount = "cs01";

    QuickReplyTest() : config_(std::filesystem::path(dir_.path().toStdString()), fonts_) {}

    // Stores the replies in the settings file and opens the pop-up on them.
    CReplyDlg& openOn(const std::vector<QuickReply>& stored) {
        dialog_.reset();  // it saves its list as it goes
        QuickReplyList list;
        for (const QuickReply& reply : stored) {
            list.add(reply.text, reply.hotKey);
        }
        config_.saveQuickReplies(kAccount, list);
        dialog_ = std::make_unique<CReplyDlg>(replies_, config_, kAccount);
        dialog_->setReplyEditor([this](const QuickReplyList&, const QuickReply& editing) {
            edited_.push_back(editing);
            std::optional<QuickReply> answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        dialog_->showFor(QPoint(600, 500),
                         [this](const QString& text) { inserted_.push_back(text); });
        return *dialog_;
    }

    std::vector<QuickReply> storedReplies() const {
        QuickReplyList list;
        config_.loadQuickReplies(kAccount, list);
        return list.replies();
    }
    std::vector<QString> rows() const {
        std::vector<QString> shown;
        for (int row = 0; row < dialog_->list().rowCount(); ++row) {
            shown.push_back(dialog_->list().item(row, 0)->text() + "|" +
                            dialog_->list().item(row, 1)->text());
        }
        return shown;
    }
    void selectRow(int row) { dialog_->list().selectRow(row); }

    QTemporaryDir dir_;
    FakeFonts fonts_;
    UserConfig config_;
    QuickReplyList replies_;
    std::unique_ptr<CReplyDlg> dialog_;
    std::vector<QString> inserted_;
    std::deque<std::optional<QuickReply>> answers_;  // what the editor answers, in turn
    std::vector<QuickReply> edited_;                 // what the editor was opened with
};

TEST_F(QuickReplyTest, OpensOnTheStoredRepliesAtItsAnchor) {
    CReplyDlg& dialog = openOn({{'a', u"您好"}, {'2', u"请稍等"}});
    EXPECT_EQ(rows(), (std::vector<QString>{"a|您好", "2|请稍等"}));
    EXPECT_EQ(dialog.list().horizontalHeaderItem(0)->text(), "快捷键");
    EXPECT_EQ(dialog.list().horizontalHeaderItem(1)->text(), "回答内容");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.frameGeometry().bottomRight(), QPoint(599, 499));

    dialog.showFor(QPoint(600, 500), {});  // a room without input box
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(QuickReplyTest, HotKeysInsertTheFirstReplyWithThatKey) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString inserted;  // empty: nothing happens and the pop-up stays
    };
    const std::vector<Case> cases = {
        {Qt::Key_A, Qt::NoModifier, "small a"},   {Qt::Key_A, Qt::ShiftModifier, "small a"},
        {Qt::Key_5, Qt::KeypadModifier, "five"},  {Qt::Key_5, Qt::NoModifier, "five"},
        {Qt::Key_Z, Qt::NoModifier, "capital Z"}, {Qt::Key_B, Qt::NoModifier, ""},
        {Qt::Key_Down, Qt::NoModifier, ""},       {Qt::Key_Space, Qt::NoModifier, ""},
        {Qt::Key_0, Qt::KeypadModifier, "zero"},
    };
    CReplyDlg& dialog = openOn({{'a', u"small a"},
                                {'A', u"capital A"},
                                {'5', u"five"},
                                {'Z', u"capital Z"},
                                {'0', u"zero"}});
    for (const Case& c : cases) {
        inserted_.clear();
        dialog.showFor(QPoint(600, 500),
                       [this](const QString& text) { inserted_.push_back(text); });
        QTest::keyClick(&dialog.list(), static_cast<Qt::Key>(c.key), c.modifiers);
        if (c.inserted.isEmpty()) {
            EXPECT_TRUE(inserted_.empty()) << c.key;
            EXPECT_TRUE(dialog.isVisible()) << c.key;
        } else {
            EXPECT_EQ(inserted_, std::vector<QString>{c.inserted}) << c.key;
            EXPECT_FALSE(dialog.isVisible()) << c.key;
        }
    }
}

TEST_F(QuickReplyTest, DoubleClickInsertsTheRowsWholeReply) {
    const std::u16string longReply(1500, u'长');
    CReplyDlg& dialog = openOn({{'a', u"first"}, {'b', longReply}});
    QTableWidget& list = dialog.list();
    const QRect cell = list.visualItemRect(list.item(1, 0));
    // A double click follows the press and release of its first click.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(inserted_, std::vector<QString>{QString::fromStdU16String(longReply)});
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(QuickReplyTest, LosingActivationHides) {
    CReplyDlg& dialog = openOn({{'a', u"first"}});
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&dialog, &deactivate);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(inserted_.empty());
}

TEST_F(QuickReplyTest, EscapeHides) {
    CReplyDlg& dialog = openOn({{'a', u"first"}});
    QTest::keyClick(dialog.findChild<QTableWidget*>(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(inserted_.empty());
}

TEST_F(QuickReplyTest, ChangesAreStoredAtOnce) {
    struct Case {
        const char* name;
        std::vector<QuickReply> stored;
        int selected;  // -1: none
        Command command;
        std::optional<QuickReply> answer;  // the editor's answer, when it opens
        std::vector<QuickReply> after;
    };
    const std::vector<Case> cases = {
        {"add",
         {{'a', u"one"}},
         -1,
         Command::Add,
         QuickReply{'b', u"two"},
         {{'a', u"one"}, {'b', u"two"}}},
        {"add an existing text",
         {{'a', u"one"}},
         -1,
         Command::Add,
         QuickReply{'b', u"one"},
         {{'a', u"one"}}},
        {"add cancelled", {{'a', u"one"}}, -1, Command::Add, std::nullopt, {{'a', u"one"}}},
        {"edit moves the reply to the end",
         {{'a', u"one"}, {'b', u"two"}},
         0,
         Command::Edit,
         QuickReply{'c', u"uno"},
         {{'b', u"two"}, {'c', u"uno"}}},
        // Two rows share a hot key: the selected one is edited, not the first with that key.
        {"edit the second of a shared key",
         {{'a', u"one"}, {'A', u"two"}},
         1,
         Command::Edit,
         QuickReply{'A', u"deux"},
         {{'a', u"one"}, {'A', u"deux"}}},
        {"edit without selection",
         {{'a', u"one"}},
         -1,
         Command::Edit,
         std::nullopt,
         {{'a', u"one"}}},
        {"delete the second of a shared key",
         {{'a', u"one"}, {'A', u"two"}},
         1,
         Command::Delete,
         std::nullopt,
         {{'a', u"one"}}},
        {"delete without selection",
         {{'a', u"one"}},
         -1,
         Command::Delete,
         std::nullopt,
         {{'a', u"one"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edited_.clear();
        CReplyDlg& dialog = openOn(c.stored);
        answers_ = {c.answer};
        if (c.selected >= 0) {
            selectRow(c.selected);
        }
        QTest::mouseClick(&dialog.link(c.command), Qt::LeftButton);
        EXPECT_EQ(replies_.replies(), c.after);
        EXPECT_EQ(storedReplies(), c.after);
        EXPECT_EQ(dialog.list().rowCount(), static_cast<int>(c.after.size()));
        if (c.command == Command::Edit && c.selected >= 0) {
            ASSERT_EQ(edited_.size(), 1u);
            EXPECT_EQ(edited_[0], c.stored[static_cast<size_t>(c.selected)]);
        }
    }
}

TEST_F(QuickReplyTest, ListIsSavedWhenThePopUpGoes) {
    openOn({{'a', u"one"}});
    replies_.add(u"two", 'b');
    dialog_.reset();
    EXPECT_EQ(storedReplies(), (std::vector<QuickReply>{{'a', u"one"}, {'b', u"two"}}));
}

TEST(CEditReplyTest, OkRefusesWhatCannotBeKept) {
    QuickReplyList replies;
    replies.add(u"Hello", 'h');
    replies.add(u"Bye", 'b');
    struct Case {
        QString hotKey;
        QString text;
        QuickReply editing;
        QString warning;  // empty: no warning
        bool accepted;
    };
    const QString notOne = QString::fromUtf8(CEditReply::kNotOneCharacterText);
    const QString notLetter = QString::fromUtf8(CEditReply::kNotLetterOrDigitText);
    const QString duplicate = QString::fromUtf8(CEditReply::kDuplicateText);
    const std::vector<Case> cases = {
        {"x", "Thanks", {}, "", true},
        {"7", "Thanks", {}, "", true},
        {"", "Thanks", {}, notOne, false},
        {"#", "Thanks", {}, notLetter, false},
        {"中", "Thanks", {}, notLetter, false},
        {"x", "", {}, "", false},  // an empty reply keeps the dialog open without a word
        {"x", "a=b", {}, "回复内容不能包含等号“=”！", false},
        {"x", " padded", {}, "回复内容的开头和结尾不能是空白字符！", false},
        {"x", "two\nlines", {}, "回复内容不能换行！", false},
        {"x", "hello", {}, "已有一条只是字母大小写不同的回复！", false},
        {"x", "Bye", {}, duplicate, false},
        {"x", "Bye", {'h', u"Hello"}, duplicate, false},  // editing Hello into Bye would lose it
        {"x", "Hello", {'h', u"Hello"}, "", true},        // a new hot key for the same text
        {"x", "HELLO", {'h', u"Hello"}, "", true},
    };
    for (const Case& c : cases) {
        CEditReply dialog(replies, c.editing);
        std::vector<QString> warnings;
        dialog.setWarning([&](const QString& text) { warnings.push_back(text); });
        dialog.hotKeyEdit().setText(c.hotKey);
        dialog.textEdit().setPlainText(c.text);
        dialog.okButton().click();
        const std::string trace = (c.hotKey + " " + c.text).toStdString();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << trace;
        EXPECT_EQ(warnings,
                  c.warning.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.warning})
            << trace;
        if (c.accepted) {
            EXPECT_EQ(dialog.hotKey(), c.hotKey.toLatin1().front()) << trace;
            EXPECT_EQ(dialog.text(), c.text.toStdU16String()) << trace;
        }
    }
}

TEST(CEditReplyTest, OpensFilledWithTheReplyBeingEdited) {
    QuickReplyList replies;
    CEditReply dialog(replies, QuickReply{'k', u"您好"});
    EXPECT_EQ(dialog.windowTitle(), "添加/编辑常用回复");
    EXPECT_EQ(dialog.hotKeyEdit().text(), "k");
    EXPECT_EQ(dialog.hotKeyEdit().maxLength(), 1);
    EXPECT_EQ(dialog.textEdit().toPlainText(), "您好");
}

}  // namespace
}  // namespace chat
