#include "ui/dialogs/edit_reply.h"

#include <QFormLayout>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>

namespace chat {

namespace {

constexpr QSize kInitialSize{360, 220};

bool isAsciiLetterOrDigit(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

void showWarningBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(CEditReply::kWarningCaption), text,
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace

CEditReply::CEditReply(const QuickReplyList& replies, QuickReply editing, QWidget* parent)
    : QDialog(parent),
      replies_(replies),
      editingText_(std::move(editing.text)),
      hotKeyEdit_(new QLineEdit(this)),
      textEdit_(new QPlainTextEdit(this)),
      okButton_(new QPushButton(QStringLiteral("确定"), this)),
      warning_(showWarningBox) {
    setWindowTitle(QString::fromUtf8(kTitle));
    hotKeyEdit_->setMaxLength(1);
    if (editing.hotKey != 0) {
        hotKeyEdit_->setText(QString(QChar::fromLatin1(editing.hotKey)));
    }
    textEdit_->setPlainText(QString::fromStdU16String(editingText_));

    auto* cancelButton = new QPushButton(QStringLiteral("取消"), this);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &CEditReply::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CEditReply::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("快捷键:"), hotKeyEdit_);
    fields->addRow(QStringLiteral("回复内容:"), textEdit_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addLayout(buttons);
    resize(kInitialSize);
}

char CEditReply::hotKey() const {
    const QString key = hotKeyEdit_->text();
    return key.isEmpty() ? '\0' : key.front().toLatin1();
}

std::u16string CEditReply::text() const {
    return textEdit_->toPlainText().toStdU16String();
}

void CEditReply::accept() {
    const QString key = hotKeyEdit_->text();
    if (key.size() != 1) {
        refuse(*hotKeyEdit_, QString::fromUtf8(kNotOneCharacterText));
        return;
    }
    if (!isAsciiLetterOrDigit(key.front())) {
        refuse(*hotKeyEdit_, QString::fromUtf8(kNotLetterOrDigitText));
        return;
    }
    const std::u16string reply = text();
    if (reply.empty()) {
        return;
    }
    const std::string problem = quickReplyTextProblem(reply, replies_, editingText_);
    if (!problem.empty()) {
        refuse(*textEdit_, QString::fromStdString(problem));
        return;
    }
    // Another reply with this very text would make the list drop the edited one.
    const auto& all = replies_.replies();
    if (reply != editingText_ &&
        std::any_of(all.begin(), all.end(), [&](const QuickReply& r) { return r.text == reply; })) {
        refuse(*textEdit_, QString::fromUtf8(kDuplicateText));
        return;
    }
    QDialog::accept();
}

void CEditReply::refuse(QWidget& field, const QString& warning) {
    warning_(warning);
    field.setFocus();
}

}  // namespace chat
