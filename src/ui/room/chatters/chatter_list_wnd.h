#pragma once
// ChatterListWnd: the list of the people in one room. One owner-drawn row per chatter, sorted by
// the chatter order (the local user first, then by role and nickname), with the context menu that
// starts every action on a person: whispering to them, hiding their messages, a private chat,
// their history and the administration commands.
#include <QListWidget>
#include <QPixmap>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "admin/admin_menus.h"
#include "protocol/commands/chatter_record.h"

class QMenu;

namespace chat {

class ChatClient;
class UserConfig;

// What the list needs from the room page around it.
struct ChatterListContext {
    ChatClient& client;  // the local user, their roles and rights; sends the private chat request
    UserConfig& config;  // the black list
    int32_t roomId = 0;
    bool privateRoom = false;
    // Selects the chatter in the input box's addressee list, adding an entry first when there is
    // none with this chatter id.
    std::function<void(int32_t chatterId, QString nickname)> chooseAddressee;
    // Moves the keyboard focus to the input box's edit field.
    std::function<void()> focusInput;
    // Shows a "系统消息：" line in the room's chat box.
    std::function<void(std::u16string text)> showSystemLine;
};

class ChatterListWnd : public QListWidget {
    Q_OBJECT

  public:
    static constexpr int kRowHeight = 18;
    static constexpr int kTextLeft = 20;  // the icon's band; the selection band starts after it

    // Called after every change of the rows, once they are sorted again.
    class IObserver {
      public:
        virtual ~IObserver() = default;
        virtual void chatterListChanged(const ChatterListWnd& list) = 0;
    };

    enum class RowIcon { Male, Female, SexNotTold, BlackListed };

    // Whether the user may see addresses, and so the columns, is fixed here.
    explicit ChatterListWnd(ChatterListContext context, QWidget* parent = nullptr);
    ~ChatterListWnd() override;

    // `shown` (the account is not on the black list) does not change the row: the drawing looks
    // the black list up itself. A chatter already listed has its row updated instead.
    void addChatter(const ChatterRecord& chatter, bool shown);
    // Nothing happens for a chatter without a row.
    void updateChatter(const ChatterRecord& chatter);
    void removeChatter(uint32_t chatterId);
    // The whole list anew (the room's chatter list arrived); of two records with one id the first
    // stays. `shown` as for addChatter.
    void replaceChatters(const std::vector<ChatterRecord>& chatters,
                         const std::vector<bool>& shown);

    void addObserver(IObserver& observer);
    void removeObserver(IObserver& observer);

    // Works out again whether the user may see the chatters' addresses (the server tells the
    // user's own roles in the room after the list was made) and shows the columns that follow.
    void refreshRoles();

    int rowCount() const { return count(); }
    bool showsAddresses() const { return showsAddresses_; }
    // Chatter ids in row order.
    std::vector<uint32_t> rowIds() const;
    // The column texts of a row as drawn.
    QStringList rowTexts(int row) const;
    RowIcon rowIcon(int row) const;
    const ChatterRecord* chatter(uint32_t chatterId) const;

    std::optional<uint32_t> selectedChatter() const;
    // Selects the chatter's row and scrolls to it; false when it has none.
    bool selectChatter(uint32_t chatterId);

    // Selects the chatter's row and builds its context menu; null when the chatter has no row or
    // the menu would be empty.
    std::unique_ptr<QMenu> contextMenuFor(uint32_t chatterId);
    // Shows that menu at `globalPos` and runs the chosen command.
    void openMenuFor(uint32_t chatterId, QPoint globalPos);
    // A command of the context menu on the selected chatter; nothing without a selection.
    void runCommand(int command);

    // The double-click action: anybody but the local user becomes the addressee; the focus moves
    // to the input box in every case.
    void chooseAsAddressee(uint32_t chatterId);

  signals:
    // The history of one account (GBK) in this room, or of the whole room.
    void historyRequested(std::string gbkAccount);
    void roomHistoryRequested();
    // An administration entry was chosen and passed its check (kick, mute, details, account
    // level, reset nickname, VIP gift, random VIP). The VIP gift is passed on for any chatter:
    // its handler explains why a chatter with a role cannot have one.
    void adminCommandRequested(int command, uint32_t chatterId);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    class RowDelegate;
    class RowItem;

    uint32_t localChatterId() const;
    RoomRoleFacts roleFacts() const;
    QListWidgetItem* findRow(uint32_t chatterId) const;
    void setRow(QListWidgetItem& row, const ChatterRecord& chatter) const;
    void insertRow(const ChatterRecord& chatter);
    void sortAndNotify();
    void toggleFilter(const ChatterRecord& chatter);
    void paintRow(QPainter& painter, const QRect& rect, bool selected, int row) const;

    ChatterListContext context_;
    bool showsAddresses_;
    std::map<uint32_t, ChatterRecord> chatters_;
    std::vector<IObserver*> observers_;
    std::array<QPixmap, 4> icons_;  // by RowIcon
};

}  // namespace chat
