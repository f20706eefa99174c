#pragma once
// CChatDlg: the room's chat box inside a one-pixel frame.
#include <QWidget>

#include "content/widgets/chat_box.h"

namespace chat {

class CChatDlg : public QWidget {
    Q_OBJECT

  public:
    explicit CChatDlg(QWidget* parent = nullptr);

    ChatBox* chatBox() const { return chatBox_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ChatBox* chatBox_;
};

}  // namespace chat
