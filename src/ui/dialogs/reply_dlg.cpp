#include "ui/dialogs/reply_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "storage/user_config.h"
#include "ui/dialogs/edit_reply.h"

namespace chat {

namespace {

constexpr QSize kSize{440, 220};
constexpr int kMargin = 4;
constexpr int kLinkSpacing = 12;
constexpr int kRowHeight = 20;

std::optional<QuickReply> editWithDialog(const QuickReplyList& replies, const QuickReply& editing,
                                         QWidget* owner) {
    CEditReply dialog(replies, editing, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QuickReply{dialog.hotKey(), dialog.text()};
}

// The hot key that a key of the keyboard stands for: its letter or digit (the keypad's digits
// too), or 0 for any other key.
char hotKeyOfKey(int qtKey) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<char>('0' + (qtKey - Qt::Key_0));
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return static_cast<char>('A' + (qtKey - Qt::Key_A));
    }
    return 0;
}

}  // namespace

CReplyDlg::CReplyDlg(QuickReplyList& replies, UserConfig& config, std::string gbkAccount,
                     QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint),
      replies_(replies),
      config_(config),
      account_(std::move(gbkAccount)),
      list_(new QTableWidget(0, 2, this)),
      addLink_(new tekna::HyperLinkCtrl(QStringLiteral("添加"), int(Command::Add), this)),
      editLink_(new tekna::HyperLinkCtrl(QStringLiteral("编辑"), int(Command::Edit), this)),
      deleteLink_(new tekna::HyperLinkCtrl(QStringLiteral("删除"), int(Command::Delete), this)) {
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    setPalette(look);

    list_->setHorizontalHeaderLabels({QStringLiteral("快捷键"), QStringLiteral("回答内容")});
    list_->setColumnWidth(0, kHotKeyColumnWidth);
    list_->setColumnWidth(1, kTextColumnWidth);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->installEventFilter(this);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (const std::optional<QuickReply> reply = replyAt(row)) {
            insert(reply->text);
        }
    });

    auto* links = new QHBoxLayout;
    links->setSpacing(kLinkSpacing);
    links->addStretch();
    for (tekna::HyperLinkCtrl* link : {addLink_, editLink_, deleteLink_}) {
        connect(link, &tekna::HyperLinkCtrl::clicked, this,
                [this](int commandId) { run(static_cast<Command>(commandId)); });
        links->addWidget(link);
    }
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    column->addWidget(list_, 1);
    column->addLayout(links);
    resize(kSize);

    editor_ = [this](const QuickReplyList& all, const QuickReply& editing) {
        return editWithDialog(all, editing, this);
    };
    config_.loadQuickReplies(account_, replies_);
    fill();
}

CReplyDlg::~CReplyDlg() {
    save();
}

tekna::HyperLinkCtrl& CReplyDlg::link(Command command) const {
    switch (command) {
        case Command::Add:
            return *addLink_;
        case Command::Edit:
            return *editLink_;
        case Command::Delete:
            break;
    }
    return *deleteLink_;
}

void CReplyDlg::showFor(QPoint bottomRightAt, InsertReply insert) {
    insert_ = std::move(insert);
    if (!insert_) {
        hide();
        return;
    }
    fill();
    move(bottomRightAt - QPoint(width(), height()));
    show();
    raise();
    activateWindow();
    list_->setFocus();
}

void CReplyDlg::run(Command command) {
    switch (command) {
        case Command::Add:
            addReply();
            break;
        case Command::Edit:
            editReply();
            break;
        case Command::Delete:
            deleteReply();
            break;
    }
}

void CReplyDlg::fill() {
    list_->setUpdatesEnabled(false);
    list_->setRowCount(0);
    const auto& all = replies_.replies();
    list_->setRowCount(static_cast<int>(all.size()));
    for (size_t i = 0; i < all.size(); ++i) {
        const int row = static_cast<int>(i);
        list_->setItem(row, 0, new QTableWidgetItem(QString(QChar::fromLatin1(all[i].hotKey))));
        list_->setItem(row, 1, new QTableWidgetItem(QString::fromStdU16String(all[i].text)));
    }
    list_->setUpdatesEnabled(true);
}

void CReplyDlg::save() {
    config_.saveQuickReplies(account_, replies_);
}

void CReplyDlg::insert(const std::u16string& text) {
    hide();
    if (insert_) {
        insert_(QString::fromStdU16String(text));
    }
}

std::optional<QuickReply> CReplyDlg::replyAt(int row) const {
    const auto& all = replies_.replies();
    if (row < 0 || static_cast<size_t>(row) >= all.size()) {
        return std::nullopt;
    }
    return all[static_cast<size_t>(row)];
}

std::optional<QuickReply> CReplyDlg::selectedReply() const {
    const QList<QTableWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? std::nullopt : replyAt(selected.front()->row());
}

std::optional<QuickReply> CReplyDlg::askForReply(const QuickReply& editing) {
    editing_ = true;
    std::optional<QuickReply> reply = editor_(replies_, editing);
    editing_ = false;
    if (isVisible()) {
        activateWindow();
    }
    return reply;
}

void CReplyDlg::addReply() {
    const std::optional<QuickReply> reply = askForReply({});
    if (reply && replies_.add(reply->text, reply->hotKey)) {
        save();
        fill();
    }
}

void CReplyDlg::editReply() {
    const std::optional<QuickReply> old = selectedReply();
    if (!old) {
        return;
    }
    const std::optional<QuickReply> reply = askForReply(*old);
    if (!reply) {
        return;
    }
    replies_.removeByText(old->text);
    replies_.add(reply->text, reply->hotKey);
    save();
    fill();
}

void CReplyDlg::deleteReply() {
    if (const std::optional<QuickReply> old = selectedReply()) {
        replies_.removeByText(old->text);
        save();
        fill();
    }
}

bool CReplyDlg::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && !editing_) {
        hide();
    }
    return QWidget::event(event);
}

bool CReplyDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            hide();
            return true;
        }
        const char hotKey = hotKeyOfKey(static_cast<QKeyEvent*>(event)->key());
        if (hotKey != 0) {
            if (const std::optional<std::u16string> text = replies_.findByHotKey(hotKey)) {
                insert(*text);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CReplyDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setPen(QColor::fromRgb(kFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace chat
