#pragma once
// CChatterDlg: the framed pane of a room page that holds the room's chatter list. A double click
// on a row chooses that chatter as the addressee of the input box.
#include <QWidget>

#include "ui/room/chatters/chatter_list_wnd.h"

namespace chat {

class CChatterDlg : public QWidget, private ChatterListWnd::IObserver {
    Q_OBJECT

  public:
    explicit CChatterDlg(ChatterListContext context, QWidget* parent = nullptr);
    ~CChatterDlg() override;

    ChatterListWnd& list() { return *list_; }
    const ChatterListWnd& list() const { return *list_; }

  signals:
    // The number of rows, each time it changes.
    void countChanged(int count);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void chatterListChanged(const ChatterListWnd& list) override;

    ChatterListWnd* list_;
    int shownCount_ = 0;
};

}  // namespace chat
