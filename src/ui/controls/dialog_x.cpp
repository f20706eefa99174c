#include "ui/controls/dialog_x.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <stdexcept>

#include "ui/ui_look.h"

namespace chat {

namespace {

constexpr int kCaptionPointSize = 9;
constexpr int kButtonImages = 3;  // normal, hot, pressed side by side
constexpr QRgb kActiveCaptionText = 0xFFFFFFFF;
constexpr QRgb kInactiveCaptionText = 0xFFC8D8EE;

constexpr std::array<const char*, 12> kSkinNames = {
    "CAPTIONCLOSEBTN",  "CAPTIONMAXBTN",    "CAPTIONMINBTN",     "CAPTIONRESTOREBTN",
    "SKIN_LEFTBORDER",  "SKIN_LEFTCAPTION", "SKIN_RIGHTCAPTION", "SKIN_MIDDLECAPTION",
    "SKIN_RIGHTBORDER", "SKIN_LEFTBOTTOM",  "SKIN_MIDDLEBOTTOM", "SKIN_RIGHTBOTTOM"};

void tileHorizontally(QPainter& painter, const QPixmap& tile, int from, int to, int y) {
    for (int x = from; x < to; x += tile.width()) {
        painter.drawPixmap(x, y, tile, 0, 0, std::min(tile.width(), to - x), tile.height());
    }
}

void tileVertically(QPainter& painter, const QPixmap& tile, int x, int from, int to) {
    for (int y = from; y < to; y += tile.height()) {
        painter.drawPixmap(x, y, tile, 0, 0, tile.width(), std::min(tile.height(), to - y));
    }
}

}  // namespace

CDialogX::CDialogX(QWidget* parent, FrameStyle style, const QString& skinFolder)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      style_(style),
      caption_(QString::fromLatin1(kDefaultCaption)) {
    ui::ensureUiResources();
    for (int part = 0; part < SkinPartCount; ++part) {
        skin_[part] = QPixmap(skinFolder + QString::fromLatin1(kSkinNames[part]) + ".png");
        if (skin_[part].isNull()) {
            throw std::runtime_error("toolbar.dll Error");
        }
    }
    setWindowTitle(caption_);
    setContentsMargins(kSideWidth, kCaptionHeight, kSideWidth, kBottomHeight);
    setMouseTracking(true);
}

void CDialogX::setCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
    update(0, 0, width(), kCaptionHeight);
}

bool CDialogX::isCaptionButton(Hit hit) {
    return hit == Hit::Close || hit == Hit::Maximise || hit == Hit::Minimise;
}

bool CDialogX::isSizingEdge(Hit hit) {
    return edgesOf(hit) != Qt::Edges();
}

QRect CDialogX::captionButtonRect(Hit button) const {
    const auto size = [this](SkinPart part) {
        return QSize(skin_[part].width() / kButtonImages, skin_[part].height());
    };
    QRect close(
        QPoint(width() - kCloseButtonRightGap - size(CloseButton).width(), kCaptionButtonTop),
        size(CloseButton));
    if (button == Hit::Close) {
        return close;
    }
    QRect maximise(close.topLeft(), QSize(0, 0));
    if (style_.maximiseBox) {
        maximise = QRect(QPoint(close.left() - size(MaximiseButton).width(), kCaptionButtonTop),
                         size(MaximiseButton));
    }
    if (button == Hit::Maximise) {
        return style_.maximiseBox ? maximise : QRect();
    }
    if (button == Hit::Minimise && style_.minimiseBox) {
        return QRect(QPoint(maximise.left() - size(MinimiseButton).width(), kCaptionButtonTop),
                     size(MinimiseButton));
    }
    return QRect();
}

CDialogX::Hit CDialogX::hitTest(QPoint p) const {
    for (const Hit button : {Hit::Close, Hit::Maximise, Hit::Minimise}) {
        if (captionButtonRect(button).contains(p)) {
            return button;
        }
    }
    const int w = width();
    const int h = height();
    if (style_.resizable && !maximised_) {
        const bool left = p.x() < kSizingEdge;
        const bool right = p.x() >= w - kSizingEdge;
        const bool top = p.y() < kSizingEdge;
        const bool bottom = p.y() >= h - kSizingEdge;
        if (top && left) {
            return Hit::TopLeft;
        }
        if (top && right) {
            return Hit::TopRight;
        }
        if (bottom && left) {
            return Hit::BottomLeft;
        }
        if (bottom && right) {
            return Hit::BottomRight;
        }
        if (left) {
            return Hit::Left;
        }
        if (right) {
            return Hit::Right;
        }
        if (top) {
            return Hit::Top;
        }
        if (bottom) {
            return Hit::Bottom;
        }
    }
    if (!maximised_ &&
        QRect(QPoint(kSizingEdge, kSizingEdge), QPoint(w - kSizingEdge - 1, kCaptionHeight - 1))
            .contains(p)) {
        return Hit::Caption;
    }
    return Hit::Client;
}

void CDialogX::maximiseFrame() {
    if (maximised_) {
        return;
    }
    normalGeometry_ = geometry();
    maximised_ = true;
    setGeometry(screen()->availableGeometry());
    update();
}

void CDialogX::restoreFrame() {
    if (!maximised_) {
        return;
    }
    maximised_ = false;
    setGeometry(normalGeometry_);
    update();
}

void CDialogX::toggleMaximised() {
    maximised_ ? restoreFrame() : maximiseFrame();
}

QRegion CDialogX::cornerCutRegion(QSize size) {
    const int w = size.width();
    const int h = size.height();
    QRegion region(0, 0, w, h);
    // (column offset from the corner, run length along the vertical edge)
    constexpr std::array<std::pair<int, int>, 5> kRuns = {{{0, 5}, {1, 3}, {2, 2}, {3, 1}, {4, 1}}};
    for (const auto& [column, run] : kRuns) {
        region -= QRegion(column, 0, 1, run);
        region -= QRegion(w - 1 - column, 0, 1, run);
        region -= QRegion(column, h - run, 1, run);
        region -= QRegion(w - 1 - column, h - run, 1, run);
    }
    return region;
}

Qt::Edges CDialogX::edgesOf(Hit hit) {
    switch (hit) {
        case Hit::Left:
            return Qt::LeftEdge;
        case Hit::Right:
            return Qt::RightEdge;
        case Hit::Top:
            return Qt::TopEdge;
        case Hit::Bottom:
            return Qt::BottomEdge;
        case Hit::TopLeft:
            return Qt::TopEdge | Qt::LeftEdge;
        case Hit::TopRight:
            return Qt::TopEdge | Qt::RightEdge;
        case Hit::BottomLeft:
            return Qt::BottomEdge | Qt::LeftEdge;
        case Hit::BottomRight:
            return Qt::BottomEdge | Qt::RightEdge;
        default:
            return {};
    }
}

QRect CDialogX::resizedGeometry(const QRect& start, Hit edge, QPoint delta, QSize minimum) {
    QRect r = start;
    const Qt::Edges edges = edgesOf(edge);
    if (edges & Qt::LeftEdge) {
        r.setLeft(std::min(start.left() + delta.x(), start.right() + 1 - minimum.width()));
    }
    if (edges & Qt::RightEdge) {
        r.setRight(std::max(start.right() + delta.x(), start.left() + minimum.width() - 1));
    }
    if (edges & Qt::TopEdge) {
        r.setTop(std::min(start.top() + delta.y(), start.bottom() + 1 - minimum.height()));
    }
    if (edges & Qt::BottomEdge) {
        r.setBottom(std::max(start.bottom() + delta.y(), start.top() + minimum.height() - 1));
    }
    return r;
}

const QPixmap& CDialogX::buttonImage(Hit button) const {
    switch (button) {
        case Hit::Close:
            return skin_[CloseButton];
        case Hit::Maximise:
            return skin_[maximised_ ? RestoreButton : MaximiseButton];
        default:
            return skin_[MinimiseButton];
    }
}

void CDialogX::setButtonStates(Hit hot, Hit pressed) {
    if (hot_ != hot || pressed_ != pressed) {
        hot_ = hot;
        pressed_ = pressed;
        update(0, 0, width(), kCaptionHeight);
    }
}

void CDialogX::act(Hit button) {
    switch (button) {
        case Hit::Close:
            close();
            break;
        case Hit::Maximise:
            toggleMaximised();
            break;
        case Hit::Minimise:
            showMinimized();
            break;
        default:
            break;
    }
}

void CDialogX::startDrag(Hit edge, QPoint globalPosition) {
    QWindow* handle = windowHandle();
    const bool systemTookIt =
        handle != nullptr && (edge == Hit::Caption ? handle->startSystemMove()
                                                   : handle->startSystemResize(edgesOf(edge)));
    drag_ = systemTookIt ? Drag{} : Drag{edge, globalPosition, geometry()};
}

void CDialogX::updateCursor(Hit hit) {
    switch (hit) {
        case Hit::Left:
        case Hit::Right:
            setCursor(Qt::SizeHorCursor);
            break;
        case Hit::Top:
        case Hit::Bottom:
            setCursor(Qt::SizeVerCursor);
            break;
        case Hit::TopLeft:
        case Hit::BottomRight:
            setCursor(Qt::SizeFDiagCursor);
            break;
        case Hit::TopRight:
        case Hit::BottomLeft:
            setCursor(Qt::SizeBDiagCursor);
            break;
        default:
            unsetCursor();
            break;
    }
}

void CDialogX::mouseMoveEvent(QMouseEvent* event) {
    if (drag_.edge != Hit::Client) {
        const QPoint delta = event->globalPosition().toPoint() - drag_.startGlobal;
        if (drag_.edge == Hit::Caption) {
            move(drag_.startGeometry.topLeft() + delta);
        } else {
            setGeometry(resizedGeometry(drag_.startGeometry, drag_.edge, delta, minimumSize()));
        }
        return;
    }
    const Hit hit = hitTest(event->position().toPoint());
    updateCursor(hit);
    setButtonStates(isCaptionButton(hit) ? hit : Hit::Client, pressed_);
    QWidget::mouseMoveEvent(event);
}

void CDialogX::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Hit hit = hitTest(event->position().toPoint());
    if (isCaptionButton(hit)) {
        setButtonStates(hit, hit);
    } else if (hit == Hit::Caption || isSizingEdge(hit)) {
        startDrag(hit, event->globalPosition().toPoint());
    }
}

void CDialogX::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    drag_ = Drag{};
    const Hit pressed = pressed_;
    const Hit hit = hitTest(event->position().toPoint());
    setButtonStates(isCaptionButton(hit) ? hit : Hit::Client, Hit::Client);
    if (isCaptionButton(pressed) && hit == pressed) {
        act(pressed);
    }
}

void CDialogX::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && style_.maximiseBox &&
        hitTest(event->position().toPoint()) == Hit::Caption) {
        drag_ = Drag{};
        toggleMaximised();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CDialogX::leaveEvent(QEvent* event) {
    if (drag_.edge == Hit::Client) {
        setButtonStates(Hit::Client, Hit::Client);
    }
    QWidget::leaveEvent(event);
}

void CDialogX::resizeEvent(QResizeEvent* event) {
    if (style_.cutCorners) {
        setMask(cornerCutRegion(size()));
    }
    QWidget::resizeEvent(event);
}

void CDialogX::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void CDialogX::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), palette().window());
    paintFrame(painter);
}

void CDialogX::paintFrame(QPainter& painter) const {
    const int w = width();
    const int h = height();
    const QPixmap& leftCaption = skin_[LeftCaption];
    const QPixmap& rightCaption = skin_[RightCaption];
    painter.drawPixmap(0, 0, leftCaption);
    tileHorizontally(painter, skin_[MiddleCaption], leftCaption.width(), w - rightCaption.width(),
                     0);
    painter.drawPixmap(w - rightCaption.width(), 0, rightCaption);

    const QIcon icon = windowIcon();
    if (!icon.isNull()) {
        painter.drawPixmap(kSideWidth + 2, (kCaptionHeight - 16) / 2, icon.pixmap(16, 16));
    }
    int captionEnd = w - kSideWidth;
    for (const Hit button : {Hit::Close, Hit::Maximise, Hit::Minimise}) {
        const QRect area = captionButtonRect(button);
        if (area.isEmpty()) {
            continue;
        }
        captionEnd = std::min(captionEnd, area.left());
        const int state = pressed_ == button ? 2 : (hot_ == button ? 1 : 0);
        painter.drawPixmap(area.topLeft(), buttonImage(button),
                           QRect(QPoint(state * area.width(), 0), area.size()));
    }
    painter.setFont(ui::songFont(kCaptionPointSize));
    painter.setPen(QColor::fromRgb(isActiveWindow() ? kActiveCaptionText : kInactiveCaptionText));
    const QRect textArea(kCaptionTextOrigin, QPoint(captionEnd - 4, kCaptionHeight - 1));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(caption_, Qt::ElideRight, textArea.width()));

    tileVertically(painter, skin_[LeftBorder], 0, kCaptionHeight, h - kBottomHeight);
    tileVertically(painter, skin_[RightBorder], w - skin_[RightBorder].width(), kCaptionHeight,
                   h - kBottomHeight);
    const QPixmap& leftBottom = skin_[LeftBottom];
    const QPixmap& rightBottom = skin_[RightBottom];
    painter.drawPixmap(0, h - kBottomHeight, leftBottom);
    tileHorizontally(painter, skin_[MiddleBottom], leftBottom.width(), w - rightBottom.width(),
                     h - kBottomHeight);
    painter.drawPixmap(w - rightBottom.width(), h - kBottomHeight, rightBottom);
}

}  // namespace chat
