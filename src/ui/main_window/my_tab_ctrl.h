#pragma once
// MyTabCtrl: the tab strip of the main window. Every tab carries its room id (-1 for the hall);
// the strip draws its tabs itself: the selected one framed, the hall's text navy, a flashing room's
// text alternating red and green at each redraw, and a close box at the right of every room tab.
#include <QColor>
#include <QRect>
#include <QTabBar>

#include <cstdint>
#include <map>

namespace chat {

class MyTabCtrl : public QTabBar {
    Q_OBJECT

  public:
    static constexpr int32_t kHallRoom = -1;
    static constexpr int kTextLeft = 4;
    static constexpr int kCloseBoxSize = 16;
    static constexpr int kCloseBoxRightGap = 4;
    static constexpr int kHeight = 29;
    static constexpr QColor kSelectedFrame{0, 128, 0};
    static constexpr QColor kHallText{0, 0, 128};
    static constexpr QColor kFlashRed{255, 0, 0};
    static constexpr QColor kFlashGreen{15, 150, 40};

    explicit MyTabCtrl(QWidget* parent = nullptr);

    int addRoomTab(int32_t roomId, const QString& text);
    int indexOfRoom(int32_t roomId) const;
    int32_t roomAt(int index) const;
    int32_t selectedRoom() const { return roomAt(currentIndex()); }

    void startFlashing(int32_t roomId);
    // True when the last room stopped flashing.
    bool stopFlashing(int32_t roomId);
    bool isFlashing(int32_t roomId) const { return flash_.contains(roomId); }
    bool anyFlashing() const { return !flash_.empty(); }

    // The 16 x 16 close box of a room tab: 4 pixels from its right edge, vertically centred.
    static QRect closeBoxOf(const QRect& tab);

  signals:
    void closeRequested(int32_t roomId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QSize tabSizeHint(int index) const override;

  private:
    // The room whose close box holds `position`, 0 when none.
    int32_t closeBoxAt(QPoint position) const;
    QColor textColour(int32_t roomId);

    std::map<int32_t, bool> flash_;
    std::map<int32_t, QRect> closeBoxes_;
    QPoint cursor_{-1, -1};
};

}  // namespace chat
