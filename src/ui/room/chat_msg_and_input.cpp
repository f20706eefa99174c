#include "ui/room/chat_msg_and_input.h"

#include <QResizeEvent>

#include "ui/room/chat_and_my_msg.h"

namespace chat {

CChatMsgAndInput::CChatMsgAndInput(InputDlgContext inputContext, QWidget* parent)
    : QWidget(parent),
      messages_(new CChatAndMyMsg(this)),
      input_(new CInputDlg(std::move(inputContext), this)) {}

void CChatMsgAndInput::resizeEvent(QResizeEvent* event) {
    const int w = event->size().width();
    const int h = event->size().height();
    messages_->setGeometry(0, 0, w, h - kInputHeight - kInputGap);
    input_->setGeometry(0, h - kInputHeight, w, kInputHeight);
}

}  // namespace chat
