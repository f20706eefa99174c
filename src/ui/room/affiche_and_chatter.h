#pragma once
// CAfficheAndChatter: the right-hand panel of an ordinary room page, the announcement board above
// the list of people in the room.
#include <QWidget>

#include "ui/room/chatters/chatter_list_wnd.h"

namespace chat {

class CAfficheDlg;
class CChatterDlg;

class CAfficheAndChatter : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAfficheHeight = 130;
    static constexpr int kChatterTop = 135;

    CAfficheAndChatter(ChatterListContext chatterContext, QWidget* parent = nullptr);

    CAfficheDlg* affiche() const { return affiche_; }
    CChatterDlg* chatterDlg() const { return chatters_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CAfficheDlg* affiche_;
    CChatterDlg* chatters_;
};

}  // namespace chat
