#include "ui/room/chatters/chatter_dlg.h"

#include <QPainter>

namespace chat {

namespace {

const QColor kFrameColour(133, 166, 221);

}  // namespace

CChatterDlg::CChatterDlg(ChatterListContext context, QWidget* parent)
    : QWidget(parent), list_(new ChatterListWnd(std::move(context), this)) {
    list_->addObserver(*this);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        if (const std::optional<uint32_t> selected = list_->selectedChatter()) {
            list_->chooseAsAddressee(*selected);
        }
    });
}

CChatterDlg::~CChatterDlg() {
    list_->removeObserver(*this);
}

void CChatterDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(kFrameColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CChatterDlg::resizeEvent(QResizeEvent* /*event*/) {
    list_->setGeometry(1, 1, width() - 2, height() - 2);
}

void CChatterDlg::chatterListChanged(const ChatterListWnd& list) {
    if (list.rowCount() != shownCount_) {
        shownCount_ = list.rowCount();
        emit countChanged(shownCount_);
    }
}

}  // namespace chat
