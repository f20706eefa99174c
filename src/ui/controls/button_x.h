#pragma once
// A push button drawn from a 54 x 18 skin: three 18 x 18 images side by side (normal, hot,
// pressed), each 3 x 3 cells of 6 pixels giving the corners, the edges and the centre. A skin of
// any other size leaves the button an ordinary push button.
#include <array>

#include <QPixmap>
#include <QPushButton>

namespace vexa {

class CButtonX : public QPushButton {
    Q_OBJECT

  public:
    static constexpr int kCellSize = 6;
    static constexpr int kImageSize = 3 * kCellSize;
    static constexpr int kSkinWidth = 3 * kImageSize;
    static constexpr int kSkinHeight = kImageSize;
    static constexpr QRgb kTextColour = 0xFF000000;
    static constexpr QRgb kDisabledTextColour = 0xFFC0C0C0;  // RGB(192, 192, 192)
    static constexpr const char* kDefaultSkin = ":/ui/button_skin.png";

    enum class SkinImage { Normal = 0, Hot = 1, Pressed = 2 };

    explicit CButtonX(const QString& text, QWidget* parent = nullptr);
    CButtonX(const QString& text, const QPixmap& skin, QWidget* parent = nullptr);

    bool isSkinValid() const { return !skin_.isNull(); }
    bool isHot() const { return hot_; }
    bool isPressed() const { return pressed_; }
    // Pressed (or the dialog's default button) shows the pressed image, else hot the hot image.
    SkinImage currentImage() const;
    QColor textColour() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QPixmap skin_;                 // null when the skin is missing or of the wrong size
    std::array<QColor, 3> fills_;  // per image: the skin pixel at (10, 10)
    bool hot_ = false;
    bool pressed_ = false;

    void setStates(bool hot, bool pressed);
};

}  // namespace vexa
