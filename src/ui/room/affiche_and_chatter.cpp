#include "ui/room/affiche_and_chatter.h"

#include <QResizeEvent>

#include "ui/room/affiche_dlg.h"
#include "ui/room/chatters/chatter_dlg.h"
#include "ui/ui_look.h"

namespace chat {

CAfficheAndChatter::CAfficheAndChatter(ChatterListContext chatterContext, QWidget* parent)
    : QWidget(parent),
      affiche_(new CAfficheDlg(this)),
      chatters_(new CChatterDlg(std::move(chatterContext), this)) {
    ui::fillBackground(*this, ui::kPanelBackground);
}

void CAfficheAndChatter::resizeEvent(QResizeEvent* event) {
    const int w = event->size().width();
    affiche_->setGeometry(0, 0, w, kAfficheHeight);
    chatters_->setGeometry(0, kChatterTop, w, event->size().height() - kChatterTop);
}

}  // namespace chat
