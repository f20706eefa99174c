#pragma once
// CChatAndMyMsg: the message area of a room page, holding the framed chat box.
#include <QWidget>

namespace chat {

class CChatDlg;

class CChatAndMyMsg : public QWidget {
    Q_OBJECT

  public:
    explicit CChatAndMyMsg(QWidget* parent = nullptr);

    CChatDlg* chatDlg() const { return chatDlg_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CChatDlg* chatDlg_;
};

}  // namespace chat
