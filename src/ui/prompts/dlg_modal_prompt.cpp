#include "ui/prompts/dlg_modal_prompt.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "ui/controls/hyper_link_ctrl.h"

namespace chat {

namespace {

const QString kCancelText = QStringLiteral("取消");

// The open prompts of the process.
struct OpenPrompts {
    std::mutex lock;
    std::vector<CDlgModalPrompt*> prompts;
};

OpenPrompts& openPrompts() {
    static OpenPrompts open;
    return open;
}

QSize measure(const QFontMetrics& metrics, const QString& text) {
    return metrics
        .boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), Qt::AlignLeft | Qt::AlignTop,
                      text)
        .size();
}

}  // namespace

CDlgModalPrompt::CDlgModalPrompt(QWidget* owner, const QString& text, bool cancellable)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), text_(text) {
    setModal(true);
    QPalette fill = palette();
    fill.setColor(QPalette::Window, QColor::fromRgb(kFillColour));
    setPalette(fill);
    if (cancellable) {
        cancelLink_ = new tekna::HyperLinkCtrl(kCancelText, kCancelCommandId, this);
        connect(cancelLink_, &tekna::HyperLinkCtrl::clicked, this, [this] { done(kCancelled); });
    }
    layOut();
}

CDlgModalPrompt::~CDlgModalPrompt() {
    leaveList();
}

void CDlgModalPrompt::layOut() {
    const QSize textSize = measure(fontMetrics(), text_);
    textBandHeight_ = textSize.height() + kVerticalPadding;
    const int height = textBandHeight_ + (cancelLink_ != nullptr ? kCancelBandHeight : 0);
    setFixedSize(textSize.width() + kHorizontalPadding, height);
    if (cancelLink_ != nullptr) {
        const QSize linkSize = measure(QFontMetrics(cancelLink_->linkFont()), kCancelText);
        cancelLink_->setGeometry((width() - linkSize.width()) / 2,
                                 textBandHeight_ + (kCancelBandHeight - linkSize.height()) / 2,
                                 linkSize.width(), linkSize.height());
    }
}

void CDlgModalPrompt::centreOverOwner() {
    const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner != nullptr) {
        area = owner->frameGeometry();
    } else if (const QScreen* desktop = QGuiApplication::primaryScreen()) {
        area = desktop->geometry();
    }
    QRect box(QPoint(0, 0), size());
    box.moveCenter(area.center());
    move(box.topLeft());
}

void CDlgModalPrompt::closeAll() {
    std::vector<CDlgModalPrompt*> open;
    {
        const std::lock_guard guard(openPrompts().lock);
        open.swap(openPrompts().prompts);
    }
    // Ended outside the lock: ending a prompt takes the lock again to leave the list.
    for (CDlgModalPrompt* prompt : open) {
        prompt->done(kClosedByCloseAll);
    }
}

std::size_t CDlgModalPrompt::openCount() {
    const std::lock_guard guard(openPrompts().lock);
    return openPrompts().prompts.size();
}

void CDlgModalPrompt::leaveList() {
    const std::lock_guard guard(openPrompts().lock);
    std::erase(openPrompts().prompts, this);
}

void CDlgModalPrompt::showEvent(QShowEvent* event) {
    closeAll();
    {
        const std::lock_guard guard(openPrompts().lock);
        openPrompts().prompts.push_back(this);
    }
    centreOverOwner();
    QDialog::showEvent(event);
}

void CDlgModalPrompt::done(int result) {
    leaveList();
    QDialog::done(result);
}

void CDlgModalPrompt::reject() {
    if (isCancellable()) {
        done(kCancelled);
    }
}

void CDlgModalPrompt::closeEvent(QCloseEvent* event) {
    // Closing from the window system counts as cancelling; a prompt that cannot be cancelled stays.
    event->ignore();
    reject();
}

void CDlgModalPrompt::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor::fromRgb(kBorderColour));
    painter.setBrush(QColor::fromRgb(kFillColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, width(), textBandHeight_), Qt::AlignCenter, text_);
}

}  // namespace chat
