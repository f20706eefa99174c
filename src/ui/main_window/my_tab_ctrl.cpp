#include "ui/main_window/my_tab_ctrl.h"

#include <qdrawutil.h>
#include <QMouseEvent>
#include <QPainter>
#include <QVariant>

namespace chat {

MyTabCtrl::MyTabCtrl(QWidget* parent) : QTabBar(parent) {
    setMouseTracking(true);
    setUsesScrollButtons(false);
    setExpanding(false);
    setDrawBase(false);
}

int MyTabCtrl::addRoomTab(int32_t roomId, const QString& text) {
    const int index = addTab(text);
    setTabData(index, roomId);
    return index;
}

int MyTabCtrl::indexOfRoom(int32_t roomId) const {
    for (int i = 0; i < count(); ++i) {
        if (roomAt(i) == roomId) {
            return i;
        }
    }
    return -1;
}

int32_t MyTabCtrl::roomAt(int index) const {
    return index < 0 ? 0 : tabData(index).toInt();
}

void MyTabCtrl::startFlashing(int32_t roomId) {
    flash_.try_emplace(roomId, false);
    update();
}

bool MyTabCtrl::stopFlashing(int32_t roomId) {
    if (flash_.erase(roomId) == 0) {
        return false;
    }
    update();
    return flash_.empty();
}

QRect MyTabCtrl::closeBoxOf(const QRect& tab) {
    return {tab.right() + 1 - kCloseBoxRightGap - kCloseBoxSize,
            tab.top() + (tab.height() - kCloseBoxSize) / 2, kCloseBoxSize, kCloseBoxSize};
}

QColor MyTabCtrl::textColour(int32_t roomId) {
    if (roomId == kHallRoom) {
        return kHallText;
    }
    const auto flashing = flash_.find(roomId);
    if (flashing == flash_.end()) {
        return Qt::black;
    }
    flashing->second = !flashing->second;
    return flashing->second ? kFlashRed : kFlashGreen;
}

void MyTabCtrl::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    closeBoxes_.clear();
    for (int i = 0; i < count(); ++i) {
        const QRect tab = tabRect(i);
        const int32_t room = roomAt(i);
        if (i == currentIndex()) {
            painter.setPen(kSelectedFrame);
            painter.drawRect(tab.adjusted(0, 3, -1, -4));
        }
        painter.setPen(textColour(room));
        painter.drawText(tab.adjusted(kTextLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         tabText(i));
        if (room == kHallRoom) {
            continue;
        }
        const QRect box = closeBoxOf(tab);
        closeBoxes_[room] = box;
        if (box.contains(cursor_)) {
            qDrawShadeRect(&painter, box, palette(), false);
        }
        painter.setPen(QPen(Qt::darkGray, 2));
        painter.drawLine(box.adjusted(4, 4, -4, -4).topLeft(),
                         box.adjusted(4, 4, -4, -4).bottomRight());
        painter.drawLine(box.adjusted(4, 4, -4, -4).topRight(),
                         box.adjusted(4, 4, -4, -4).bottomLeft());
    }
}

int32_t MyTabCtrl::closeBoxAt(QPoint position) const {
    for (int i = 0; i < count(); ++i) {
        const int32_t room = roomAt(i);
        if (room != kHallRoom && closeBoxOf(tabRect(i)).contains(position)) {
            return room;
        }
    }
    return 0;
}

void MyTabCtrl::mousePressEvent(QMouseEvent* event) {
    const int32_t room = closeBoxAt(event->position().toPoint());
    if (room != 0 && event->button() == Qt::LeftButton) {
        emit closeRequested(room);
        return;
    }
    QTabBar::mousePressEvent(event);
}

void MyTabCtrl::mouseMoveEvent(QMouseEvent* event) {
    cursor_ = event->position().toPoint();
    setCursor(closeBoxAt(cursor_) != 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
    QTabBar::mouseMoveEvent(event);
}

void MyTabCtrl::leaveEvent(QEvent* event) {
    cursor_ = {-1, -1};
    update();
    QTabBar::leaveEvent(event);
}

QSize MyTabCtrl::tabSizeHint(int index) const {
    const int textWidth = fontMetrics().horizontalAdvance(tabText(index));
    const int closeWidth = roomAt(index) == kHallRoom ? 0 : kCloseBoxSize + kCloseBoxRightGap;
    return {kTextLeft + textWidth + 8 + closeWidth, kHeight};
}

}  // namespace chat
