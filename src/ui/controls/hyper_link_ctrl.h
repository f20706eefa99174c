#pragma once
// A text label that acts as a link: underlined, blue, red while the pointer is over it, with the
// hand cursor; a click (or Space/Enter when it has the focus) reports its command id.
#include <QColor>
#include <QLabel>

namespace tekna {

class HyperLinkCtrl : public QLabel {
    Q_OBJECT

  public:
    static constexpr QRgb kNormalColour = 0xFF0000FF;  // RGB(0, 0, 255)
    static constexpr QRgb kHoverColour = 0xFFFF0000;   // RGB(255, 0, 0)
    static constexpr int kMaxShownLength = 127;

    HyperLinkCtrl(const QString& text, int commandId, QWidget* parent = nullptr);

    int commandId() const { return commandId_; }
    bool isHovered() const { return hovered_; }
    QColor normalColour() const { return normalColour_; }
    QColor hoverColour() const { return hoverColour_; }
    void setNormalColour(const QColor& colour);
    void setHoverColour(const QColor& colour);
    // The colour the text is drawn in now.
    QColor textColour() const { return hovered_ ? hoverColour_ : normalColour_; }
    // The parent's font, underlined.
    QFont linkFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  signals:
    void clicked(int commandId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int commandId_;
    bool hovered_ = false;
    QColor normalColour_{kNormalColour};
    QColor hoverColour_{kHoverColour};

    QString shownText() const { return text().left(kMaxShownLength); }
    void setHovered(bool hovered);
};

}  // namespace tekna
