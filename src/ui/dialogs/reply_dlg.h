#pragma once
// CReplyDlg: the pop-up list of quick replies that a room's input box opens. A double click on a
// row, or the hot key of a reply (letters in either case, digits, the keypad's digits), inserts the
// reply into the input box it was opened for and hides the pop-up; losing activation hides it too.
// "添加", "编辑" and "删除" change the list through CEditReply, and every change is written to the
// settings file at once (and once more when the pop-up goes).
//
// Edit and delete act on the selected row itself, also when another row has the same hot key, and
// a double click inserts the whole reply however long it is.
#include <QPoint>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "storage/quick_reply_list.h"
#include "ui/controls/hyper_link_ctrl.h"

namespace chat {

class UserConfig;

class CReplyDlg : public QWidget {
    Q_OBJECT

  public:
    enum class Command { Add = 1063, Edit = 1085, Delete = 1084 };

    static constexpr QRgb kBackground = 0xFFF2F7FB;  // RGB(242, 247, 251)
    static constexpr QRgb kFrame = 0xFF85A6DD;       // RGB(133, 166, 221)
    static constexpr int kHotKeyColumnWidth = 60;
    static constexpr int kTextColumnWidth = 350;

    // Replaces the input box's selection with the reply and gives the input box the focus. The
    // room's input box may be gone when it is called: capture it guarded (QPointer).
    using InsertReply = std::function<void(const QString&)>;
    // Asks the user for a reply, starting from `editing` (empty when adding); nothing when the
    // user cancelled. By default the modal CEditReply.
    using ReplyEditor =
        std::function<std::optional<QuickReply>(const QuickReplyList&, const QuickReply& editing)>;

    // Fills `replies` from the settings file for the login account `gbkAccount`.
    CReplyDlg(QuickReplyList& replies, UserConfig& config, std::string gbkAccount,
              QWidget* owner = nullptr);
    // Saves the list once more.
    ~CReplyDlg() override;

    // Shows the pop-up with its lower right corner touching `bottomRightAt` (global), bound to the
    // input box that `insert` writes to. Without an input box the pop-up stays hidden.
    void showFor(QPoint bottomRightAt, InsertReply insert);
    void setReplyEditor(ReplyEditor editor) { editor_ = std::move(editor); }

    QTableWidget& list() const { return *list_; }
    tekna::HyperLinkCtrl& link(Command command) const;
    void run(Command command);

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void fill();
    void save();
    void insert(const std::u16string& text);
    // The reply shown in the row (rows follow the list's order), or none.
    std::optional<QuickReply> replyAt(int row) const;
    // The reply of the selected row.
    std::optional<QuickReply> selectedReply() const;
    std::optional<QuickReply> askForReply(const QuickReply& editing);
    void addReply();
    void editReply();
    void deleteReply();

    QuickReplyList& replies_;
    UserConfig& config_;
    std::string account_;
    QTableWidget* list_;
    tekna::HyperLinkCtrl* addLink_;
    tekna::HyperLinkCtrl* editLink_;
    tekna::HyperLinkCtrl* deleteLink_;
    InsertReply insert_;
    ReplyEditor editor_;
    bool editing_ = false;  // the editor is open: losing activation to it does not hide
};

}  // namespace chat
