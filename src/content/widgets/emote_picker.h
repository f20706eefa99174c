#pragma once
// The emoticon picker: a 296 x 80 pop-up above the input bar's emoticon button with a grid of
// 12 x 3 emoticons. Picking one tells the main window through emotePicked(number, room id).
// One picker serves the whole process (shared()); it reads its folder once, on first opening.
#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace chat {

class EmotePicker : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 296;
    static constexpr int kHeight = 80;
    static constexpr int kColumns = 12;
    static constexpr int kRows = 3;
    static constexpr int kCellSize = 24;
    static constexpr int kGridOrigin = 4;
    static constexpr int kEmoticonInset = 2;  // the 20 x 20 emoticon square inside its cell
    static constexpr int kEmoticonSize = 20;
    static constexpr int kMostEmoticons = kColumns * kRows;

    // Reads the emoticons of `folder` on first opening.
    explicit EmotePicker(QString folder);

    // The process's picker, made on first use with the folder "emote/" beside the program.
    static EmotePicker& shared();

    // Lists the folder and draws the picker's image, the first time only. Throws
    // std::runtime_error with the user-facing text when the folder holds no emoticon or the image
    // cannot be made.
    void prepare();

    // Moves the focus to the input box, prepares the picker and opens it with its bottom-left
    // corner on the anchor button's top-left corner. Errors are shown in an error box; then the
    // picker stays closed and the result is false.
    bool open(QWidget* anchorButton, QWidget* inputBox, int roomId);

    const QStringList& emoticonFiles() const { return files_; }
    // The picker as drawn, without the hot cell frame.
    const QImage& image() const { return image_; }
    // (column, row) of the hot cell, if any.
    std::optional<QPoint> hotCell() const { return hot_; }
    int roomId() const { return roomId_; }

    // The cell at a point of the picker, when it holds an emoticon.
    std::optional<QPoint> cellAt(QPoint point) const;

  signals:
    // Emoticon `number` (its place in the name order, from 1) was picked for room `roomId`.
    void emotePicked(int number, int roomId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void drawImage();
    void setHotCell(std::optional<QPoint> cell);

    QString folder_;
    bool prepared_ = false;
    QStringList files_;
    QImage image_;
    std::optional<QPoint> hot_;
    QPointer<QWidget> inputBox_;
    int roomId_ = 0;
};

}  // namespace chat
