#include "content/widgets/emote_picker.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cerrno>
#include <stdexcept>
#include <string>

#include "content/widgets/emote_folder.h"

namespace chat {

namespace {

const QColor kBackground(255, 255, 255);
const QColor kBorder(0, 0, 128);
const QColor kGridLine(225, 225, 225);
const QColor kHotFrame(0, 0, 0);

// One-pixel frame on the edge pixels of the rectangle.
void drawFrame(QPainter& painter, const QRect& rect, const QColor& colour) {
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, colour);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, colour);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), colour);
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), colour);
}

QRect cellRect(QPoint cell) {
    return QRect(EmotePicker::kGridOrigin + EmotePicker::kCellSize * cell.x(),
                 EmotePicker::kGridOrigin + EmotePicker::kCellSize * cell.y(),
                 EmotePicker::kCellSize, EmotePicker::kCellSize);
}

std::runtime_error memoryImageError(const char* what) {
    return std::runtime_error(std::string(what) + " (error = " + std::to_string(errno) + ")");
}

// The cell index along one axis, when the coordinate lies inside the grid's inner pixels.
std::optional<int> cellIndex(int coordinate, int cells) {
    const int first = EmotePicker::kGridOrigin + 1;
    const int last = EmotePicker::kGridOrigin + EmotePicker::kCellSize * cells - 1;
    if (coordinate < first || coordinate > last) {
        return std::nullopt;
    }
    return (coordinate - EmotePicker::kGridOrigin) / EmotePicker::kCellSize;
}

}  // namespace

EmotePicker::EmotePicker(QString folder) : folder_(std::move(folder)) {
    // A pop-up holds the mouse and keyboard while it is open: a click anywhere outside it, even
    // in another program, reaches it first and closes it, so it never outlives its activation.
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

EmotePicker& EmotePicker::shared() {
    static EmotePicker* picker = nullptr;
    if (picker == nullptr) {
        picker = new EmotePicker(defaultEmoteFolder());
        // Widgets must go before the application object does.
        qAddPostRoutine([] {
            delete picker;
            picker = nullptr;
        });
    }
    return *picker;
}

void EmotePicker::prepare() {
    if (prepared_) {
        return;
    }
    files_ = listEmoticonFiles(folder_);
    drawImage();
    prepared_ = true;
}

void EmotePicker::drawImage() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    if (image.isNull()) {
        throw memoryImageError("无法创建内存位图");
    }
    QPainter painter;
    if (!painter.begin(&image)) {
        throw memoryImageError("无法创建内存DC");
    }
    painter.fillRect(image.rect(), kBackground);
    drawFrame(painter, image.rect(), kBorder);
    const int gridRight = kGridOrigin + kColumns * kCellSize;
    const int gridBottom = kGridOrigin + kRows * kCellSize;
    for (int column = 0; column <= kColumns; ++column) {
        painter.fillRect(kGridOrigin + column * kCellSize, kGridOrigin, 1, gridBottom - kGridOrigin,
                         kGridLine);
    }
    for (int row = 0; row <= kRows; ++row) {
        painter.fillRect(kGridOrigin, kGridOrigin + row * kCellSize, gridRight - kGridOrigin, 1,
                         kGridLine);
    }

    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QDir folder(folder_);
    const qsizetype shown = std::min<qsizetype>(files_.size(), kMostEmoticons);
    for (qsizetype i = 0; i < shown; ++i) {
        const QImage emoticon = QImageReader(folder.filePath(files_[i])).read();
        if (emoticon.isNull()) {
            continue;
        }
        const QPoint cell(static_cast<int>(i % kColumns), static_cast<int>(i / kColumns));
        const QRect square(cellRect(cell).topLeft() + QPoint(kEmoticonInset, kEmoticonInset),
                           QSize(kEmoticonSize, kEmoticonSize));
        QRect target(QPoint(), emoticon.size().scaled(square.size(), Qt::KeepAspectRatio));
        target.moveCenter(square.center());
        painter.drawImage(target, emoticon);
    }
    image_ = std::move(image);
}

bool EmotePicker::open(QWidget* anchorButton, QWidget* inputBox, int roomId) {
    inputBox_ = inputBox;
    if (inputBox != nullptr) {
        inputBox->setFocus();
    }
    try {
        prepare();
    } catch (const std::exception& error) {
        QMessageBox::critical(anchorButton, QString(), QString::fromUtf8(error.what()));
        return false;
    }
    roomId_ = roomId;
    hot_.reset();
    if (anchorButton != nullptr) {
        move(anchorButton->mapToGlobal(QPoint(0, 0)) - QPoint(0, kHeight));
        // Owned by the button's window for the window system, not for Qt: the picker outlives
        // the room whose button opened it.
        winId();
        if (QWindow* owner = anchorButton->window()->windowHandle()) {
            windowHandle()->setTransientParent(owner);
        }
    }
    show();
    return true;
}

std::optional<QPoint> EmotePicker::cellAt(QPoint point) const {
    const std::optional<int> column = cellIndex(point.x(), kColumns);
    const std::optional<int> row = cellIndex(point.y(), kRows);
    if (!column || !row || *column + kColumns * *row >= files_.size()) {
        return std::nullopt;
    }
    return QPoint(*column, *row);
}

void EmotePicker::setHotCell(std::optional<QPoint> cell) {
    if (cell != hot_) {
        hot_ = cell;
        update();
    }
}

void EmotePicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
    if (hot_) {
        drawFrame(painter, cellRect(*hot_), kHotFrame);
    }
}

void EmotePicker::mouseMoveEvent(QMouseEvent* event) {
    setHotCell(cellAt(event->position().toPoint()));
}

void EmotePicker::mousePressEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);  // closes the pop-up
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setHotCell(cellAt(event->position().toPoint()));
    if (!hot_) {
        return;
    }
    const int number = hot_->x() + kColumns * hot_->y() + 1;
    const bool keepOpen = event->modifiers().testFlag(Qt::ControlModifier);
    emit emotePicked(number, roomId_);
    if (!keepOpen) {
        close();
    }
}

void EmotePicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EmotePicker::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (inputBox_ != nullptr) {
        inputBox_->setFocus();
    }
}

}  // namespace chat
