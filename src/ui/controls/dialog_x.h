#pragma once
// The skinned window frame of the main window and the history viewer: a frameless top-level window
// that draws its own caption bar (icon, caption text, minimise / maximise-restore / close buttons),
// borders and bottom from skin images, and does its own hit testing for moving and sizing.
// Derived windows place their controls inside contentsRect(): the frame keeps 6 pixels left and
// right, 25 pixels of caption and 8 pixels at the bottom.
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>

namespace chat {

struct FrameStyle {
    bool resizable = true;
    bool minimiseBox = true;
    bool maximiseBox = true;
    // Cut the four corners of the window into a rounded shape on every resize.
    bool cutCorners = false;
};

class CDialogX : public QWidget {
    Q_OBJECT

  public:
    enum class Hit {
        Client,
        Caption,
        Close,
        Maximise,
        Minimise,
        Left,
        Right,
        Top,
        Bottom,
        TopLeft,
        TopRight,
        BottomLeft,
        BottomRight
    };

    static constexpr int kSideWidth = 6;
    static constexpr int kCaptionHeight = 25;
    static constexpr int kBottomHeight = 8;
    static constexpr int kSizingEdge = 3;
    static constexpr int kCloseButtonRightGap = 6;
    static constexpr int kCaptionButtonTop = 3;
    static constexpr QPoint kCaptionTextOrigin{30, 8};
    static constexpr const char* kDefaultCaption = "Morvex";
    static constexpr const char* kDefaultSkinFolder = ":/ui/frame/";

    // Throws std::runtime_error "toolbar.dll Error" when one of the twelve skin images is missing
    // from `skinFolder`.
    explicit CDialogX(QWidget* parent = nullptr, FrameStyle style = {},
                      const QString& skinFolder = QString::fromLatin1(kDefaultSkinFolder));

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Where a point (in window coordinates) lies: a caption button, a sizing edge or corner (only
    // when resizable and not maximised), the caption band (only when not maximised), or the client.
    Hit hitTest(QPoint position) const;
    // The rectangle of a caption button in window coordinates; empty for a button the window lacks.
    QRect captionButtonRect(Hit button) const;
    Hit hotButton() const { return hot_; }
    Hit pressedButton() const { return pressed_; }

    // Maximising fills the available area of the window's screen (without task bars); restoring
    // returns to the rectangle from before.
    bool isFrameMaximised() const { return maximised_; }
    void maximiseFrame();
    void restoreFrame();
    void toggleMaximised();

    // The window shape with the corners cut: at each corner, runs of 5, 3, 2, 1 and 1 pixels.
    static QRegion cornerCutRegion(QSize size);
    // The geometry after dragging `edge` by `delta`, never smaller than `minimum`.
    static QRect resizedGeometry(const QRect& start, Hit edge, QPoint delta, QSize minimum);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    enum SkinPart {
        CloseButton,
        MaximiseButton,
        MinimiseButton,
        RestoreButton,
        LeftBorder,
        LeftCaption,
        RightCaption,
        MiddleCaption,
        RightBorder,
        LeftBottom,
        MiddleBottom,
        RightBottom,
        SkinPartCount
    };

    // A drag that the window system could not take over: moving or sizing by hand.
    struct Drag {
        Hit edge = Hit::Client;
        QPoint startGlobal;
        QRect startGeometry;
    };

    FrameStyle style_;
    std::array<QPixmap, SkinPartCount> skin_;
    QString caption_;
    Hit hot_ = Hit::Client;
    Hit pressed_ = Hit::Client;
    bool maximised_ = false;
    QRect normalGeometry_;
    Drag drag_;

    static bool isCaptionButton(Hit hit);
    static bool isSizingEdge(Hit hit);
    static Qt::Edges edgesOf(Hit hit);
    const QPixmap& buttonImage(Hit button) const;
    void setButtonStates(Hit hot, Hit pressed);
    void act(Hit button);
    void startDrag(Hit edge, QPoint globalPosition);
    void updateCursor(Hit hit);
    void paintFrame(QPainter& painter) const;
};

}  // namespace chat
