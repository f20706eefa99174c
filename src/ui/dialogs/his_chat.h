#pragma once
// CHisChat: the framed window "交谈记录" that pages through the stored messages of one room, 20 to
// a page, all of them or only those of one sender. It opens on the newest page; the page count is
// the one found on opening, while every page is drawn from the records as they are when it is
// drawn. The viewer reads the room's record store whenever it draws, so it must be closed before
// the store goes (HistoryViewerSlots closes it with its room).
#include <QLabel>
#include <array>
#include <string>

#include "ui/controls/button_x.h"
#include "ui/controls/dialog_x.h"

namespace chat {

class ChatBox;
class ChatRecordFile;

class CHisChat : public CDialogX {
    Q_OBJECT

  public:
    // The page buttons, by their command ids.
    enum class PageCommand { First = 1063, Previous = 1064, Next = 1065, Last = 1066 };

    static constexpr const char* kCaption = "交谈记录";
    static constexpr QRgb kBackground = 0xFFF7FBFF;  // RGB(247, 251, 255)
    static constexpr size_t kMaxFilterBytes = 63;

    // `gbkAccountFilter` empty shows every sender; a longer filter is cut as the records cut the
    // accounts they keep. The window deletes itself when it is closed.
    CHisChat(const ChatRecordFile& records, std::string gbkAccountFilter, QWidget* owner = nullptr);

    const std::string& accountFilter() const { return accountFilter_; }
    int32_t currentPage() const { return currentPage_; }
    int32_t pageCount() const { return pageCount_; }
    QString pageText() const { return pageText_->text(); }
    ChatBox& recordBox() const { return *recordBox_; }
    vexa::CButtonX& button(PageCommand command) const;

    void goTo(PageCommand command);

    // ⌈matching ÷ 20⌉, and 1 when there is nothing to show.
    static int32_t pageCountFor(size_t matching);

  private:
    void showPage(int32_t page);

    const ChatRecordFile& records_;
    std::string accountFilter_;
    int32_t currentPage_ = 1;
    int32_t pageCount_ = 1;
    ChatBox* recordBox_;
    QLabel* pageText_;
    std::array<vexa::CButtonX*, 4> buttons_{};  // in the order of the command ids
};

}  // namespace chat
