#include "ui/room/chat_and_my_msg.h"

#include <QResizeEvent>

#include "ui/room/chat_dlg.h"
#include "ui/ui_look.h"

namespace chat {

CChatAndMyMsg::CChatAndMyMsg(QWidget* parent) : QWidget(parent), chatDlg_(new CChatDlg(this)) {
    ui::fillBackground(*this, ui::kPanelBackground);
}

void CChatAndMyMsg::resizeEvent(QResizeEvent* event) {
    chatDlg_->setGeometry(QRect(QPoint(0, 0), event->size()));
}

}  // namespace chat
