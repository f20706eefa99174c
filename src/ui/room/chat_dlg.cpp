#include "ui/room/chat_dlg.h"

#include <QPainter>
#include <QResizeEvent>

#include "ui/ui_look.h"

namespace chat {

CChatDlg::CChatDlg(QWidget* parent) : QWidget(parent), chatBox_(new ChatBox(this)) {
    chatBox_->setFrameShape(QFrame::NoFrame);
}

void CChatDlg::resizeEvent(QResizeEvent* event) {
    chatBox_->setGeometry(1, 1, event->size().width() - 2, event->size().height() - 2);
}

void CChatDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QColor(ui::kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace chat
