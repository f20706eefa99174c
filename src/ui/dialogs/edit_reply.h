#pragma once
// CEditReply: the modal dialog "添加/编辑常用回复" that adds or edits one quick reply: a hot key of
// one letter or digit and the reply text. OK keeps the dialog open while the hot key is not one
// letter or digit (with a warning), while the text is empty (silently), and while the settings
// file could not keep the text or another reply already has it (with a warning); the list itself
// is not touched here.
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "storage/quick_reply_list.h"

namespace chat {

class CEditReply : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kTitle = "添加/编辑常用回复";
    static constexpr const char* kWarningCaption = "错误";
    static constexpr const char* kNotOneCharacterText = "请输入一个有效快捷键(一个字母或数字)！";
    static constexpr const char* kNotLetterOrDigitText = "请输入合法的快捷键([a..z, 0..9])！";
    static constexpr const char* kDuplicateText = "已有一条内容相同的回复！";

    // Shows a refusal; by default a warning box without owner, captioned "错误".
    using Warning = std::function<void(const QString&)>;

    // `replies` is the list the result will join; `editing` the reply being edited (empty when
    // adding), whose own text does not count as taken.
    CEditReply(const QuickReplyList& replies, QuickReply editing = {}, QWidget* parent = nullptr);

    void setWarning(Warning warning) { warning_ = std::move(warning); }

    // The accepted values.
    char hotKey() const;
    std::u16string text() const;

    QLineEdit& hotKeyEdit() const { return *hotKeyEdit_; }
    QPlainTextEdit& textEdit() const { return *textEdit_; }
    QPushButton& okButton() const { return *okButton_; }

    void accept() override;

  private:
    // Warns and leaves the dialog open with the focus on the field at fault.
    void refuse(QWidget& field, const QString& warning);

    const QuickReplyList& replies_;
    std::u16string editingText_;
    QLineEdit* hotKeyEdit_;
    QPlainTextEdit* textEdit_;
    QPushButton* okButton_;
    Warning warning_;
};

}  // namespace chat
