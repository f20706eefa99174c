#pragma once
// CChatMsgAndInput: the chat area of a room page, the message area above the input bar.
#include <QWidget>

#include "ui/room/input/cinput_dlg.h"

namespace chat {

class CChatAndMyMsg;

class CChatMsgAndInput : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kInputHeight = 115;
    static constexpr int kInputGap = 5;

    CChatMsgAndInput(InputDlgContext inputContext, QWidget* parent = nullptr);

    CChatAndMyMsg* messageArea() const { return messages_; }
    CInputDlg* inputDlg() const { return input_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CChatAndMyMsg* messages_;
    CInputDlg* input_;
};

}  // namespace chat
