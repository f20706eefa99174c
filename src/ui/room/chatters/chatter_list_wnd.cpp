#include "ui/room/chatters/chatter_list_wnd.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <numeric>

#include "admin/account_level.h"
#include "admin/chatter_order.h"
#include "client/chat_client.h"
#include "storage/user_config.h"
#include "ui/ui_look.h"

namespace chat {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kTextsRole = Qt::UserRole + 1;
const QColor kSelectionBand(214, 235, 214);
constexpr int kFontPoints = 9;
constexpr int kIconSize = 16;

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

bool drawnBold(uint32_t roleFlags) {
    return (roleFlags & (AccountLevel::kCustomerService | AccountLevel::kRoomOwner)) != 0;
}

}  // namespace

// Rows sort by the chatter order of the list they belong to.
class ChatterListWnd::RowItem : public QListWidgetItem {
  public:
    using QListWidgetItem::QListWidgetItem;

    bool operator<(const QListWidgetItem& other) const override {
        const auto& list = static_cast<const ChatterListWnd&>(*listWidget());
        return compareChatters(data(kIdRole).toUInt(), other.data(kIdRole).toUInt(),
                               list.localChatterId(), list.chatters_) < 0;
    }
};

class ChatterListWnd::RowDelegate : public QStyledItemDelegate {
  public:
    explicit RowDelegate(ChatterListWnd& list) : QStyledItemDelegate(&list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        list_.paintRow(*painter, option.rect, (option.state & QStyle::State_Selected) != 0,
                       index.row());
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        const auto& widths = kChatterColumnWidths;
        const size_t columns =
            list_.showsAddresses_ ? widths.size() : kChatterColumnsWithoutAddresses;
        return {std::accumulate(widths.begin(), widths.begin() + columns, kTextLeft), kRowHeight};
    }

  private:
    ChatterListWnd& list_;
};

ChatterListWnd::ChatterListWnd(ChatterListContext context, QWidget* parent)
    : QListWidget(parent),
      context_(std::move(context)),
      showsAddresses_(roleFacts().canViewAddresses()) {
    ui::ensureUiResources();
    icons_ = {QPixmap(QStringLiteral(":/ui/chatters/male.png")),
              QPixmap(QStringLiteral(":/ui/chatters/female.png")),
              QPixmap(QStringLiteral(":/ui/chatters/unknown.png")),
              QPixmap(QStringLiteral(":/ui/chatters/blocked.png"))};
    setFont(ui::songFont(kFontPoints));
    setItemDelegate(new RowDelegate(*this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
}

ChatterListWnd::~ChatterListWnd() = default;

uint32_t ChatterListWnd::localChatterId() const {
    return context_.client.ownRecord().chatterId;
}

RoomRoleFacts ChatterListWnd::roleFacts() const {
    const ChatterRecord* own = context_.client.ownRecordInRoom(context_.roomId);
    return RoomRoleFacts::of(context_.client.ownRecord().roleFlags, own ? own->roleFlags : 0,
                             context_.client.rights(), context_.roomId);
}

QListWidgetItem* ChatterListWnd::findRow(uint32_t chatterId) const {
    for (int row = 0; row < count(); ++row) {
        if (item(row)->data(kIdRole).toUInt() == chatterId) {
            return item(row);
        }
    }
    return nullptr;
}

void ChatterListWnd::setRow(QListWidgetItem& row, const ChatterRecord& chatter) const {
    QStringList texts;
    for (const std::u16string& text : chatterColumnTexts(chatter, showsAddresses_)) {
        texts.append(toQString(text));
    }
    row.setText(texts.front());
    row.setData(kTextsRole, texts);
}

void ChatterListWnd::insertRow(const ChatterRecord& chatter) {
    chatters_.insert_or_assign(chatter.chatterId, chatter);
    QListWidgetItem* row = findRow(chatter.chatterId);
    if (row == nullptr) {
        row = new RowItem(this);
        row->setData(kIdRole, chatter.chatterId);
    }
    setRow(*row, chatter);
}

void ChatterListWnd::sortAndNotify() {
    sortItems();
    // An observer may unregister itself while it is told.
    const std::vector<IObserver*> observers = observers_;
    for (IObserver* observer : observers) {
        observer->chatterListChanged(*this);
    }
}

void ChatterListWnd::addChatter(const ChatterRecord& chatter, bool /*shown*/) {
    insertRow(chatter);
    sortAndNotify();
}

void ChatterListWnd::updateChatter(const ChatterRecord& chatter) {
    if (findRow(chatter.chatterId) == nullptr) {
        return;
    }
    insertRow(chatter);
    sortAndNotify();
}

void ChatterListWnd::removeChatter(uint32_t chatterId) {
    delete findRow(chatterId);
    chatters_.erase(chatterId);
    sortAndNotify();
}

void ChatterListWnd::replaceChatters(const std::vector<ChatterRecord>& chatters,
                                     const std::vector<bool>& /*shown*/) {
    clear();
    chatters_.clear();
    for (const ChatterRecord& chatter : chatters) {
        // Of two records with one id the first stays, as in the room's chatter map.
        if (!chatters_.contains(chatter.chatterId)) {
            insertRow(chatter);
        }
    }
    sortAndNotify();
}

void ChatterListWnd::refreshRoles() {
    const bool shows = roleFacts().canViewAddresses();
    if (shows == showsAddresses_) {
        return;
    }
    showsAddresses_ = shows;
    for (int row = 0; row < count(); ++row) {
        const auto found = chatters_.find(item(row)->data(kIdRole).toUInt());
        if (found != chatters_.end()) {
            setRow(*item(row), found->second);
        }
    }
    viewport()->update();
}

void ChatterListWnd::addObserver(IObserver& observer) {
    if (std::ranges::find(observers_, &observer) == observers_.end()) {
        observers_.push_back(&observer);
    }
}

void ChatterListWnd::removeObserver(IObserver& observer) {
    std::erase(observers_, &observer);
}

std::vector<uint32_t> ChatterListWnd::rowIds() const {
    std::vector<uint32_t> ids;
    for (int row = 0; row < count(); ++row) {
        ids.push_back(item(row)->data(kIdRole).toUInt());
    }
    return ids;
}

QStringList ChatterListWnd::rowTexts(int row) const {
    const QListWidgetItem* rowItem = item(row);
    return rowItem ? rowItem->data(kTextsRole).toStringList() : QStringList{};
}

const ChatterRecord* ChatterListWnd::chatter(uint32_t chatterId) const {
    const auto found = chatters_.find(chatterId);
    return found == chatters_.end() ? nullptr : &found->second;
}

ChatterListWnd::RowIcon ChatterListWnd::rowIcon(int row) const {
    const QListWidgetItem* rowItem = item(row);
    const ChatterRecord* record = rowItem ? chatter(rowItem->data(kIdRole).toUInt()) : nullptr;
    if (record == nullptr) {
        return RowIcon::SexNotTold;
    }
    if (record->chatterId != localChatterId() && context_.config.isBlackListed(record->account)) {
        return RowIcon::BlackListed;
    }
    return static_cast<RowIcon>(sexImageIndex(record->sex));
}

void ChatterListWnd::paintRow(QPainter& painter, const QRect& rect, bool selected, int row) const {
    painter.fillRect(rect, palette().base());
    if (selected) {
        painter.fillRect(rect.adjusted(kTextLeft, 0, 0, 0), kSelectionBand);
    }
    const QPixmap& icon = icons_[static_cast<size_t>(rowIcon(row))];
    painter.drawPixmap(rect.left() + 1, rect.top() + (rect.height() - kIconSize) / 2, kIconSize,
                       kIconSize, icon);

    const ChatterRecord* record = chatter(item(row)->data(kIdRole).toUInt());
    const uint32_t flags = record ? record->roleFlags : 0;
    QFont rowFont = font();
    rowFont.setBold(drawnBold(flags));
    painter.setFont(rowFont);
    const RoleColour colour = roleColour(flags);
    painter.setPen(QColor(colour.red, colour.green, colour.blue));

    int left = rect.left() + kTextLeft;
    const QStringList texts = rowTexts(row);
    for (qsizetype column = 0; column < texts.size(); ++column) {
        const int width = kChatterColumnWidths[static_cast<size_t>(column)];
        painter.drawText(QRect(left, rect.top(), width, rect.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts[column]);
        left += width;
    }
}

std::optional<uint32_t> ChatterListWnd::selectedChatter() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.front()->data(kIdRole).toUInt();
}

bool ChatterListWnd::selectChatter(uint32_t chatterId) {
    QListWidgetItem* row = findRow(chatterId);
    if (row == nullptr) {
        return false;
    }
    setCurrentItem(row);
    scrollToItem(row);
    return true;
}

std::unique_ptr<QMenu> ChatterListWnd::contextMenuFor(uint32_t chatterId) {
    if (!selectChatter(chatterId)) {
        return nullptr;
    }
    const ChatterRecord& record = chatters_.at(chatterId);
    const ClickedChatter clicked{record.roleFlags, chatterId == localChatterId(),
                                 context_.config.isBlackListed(record.account), record.account,
                                 record.nickname};
    const std::vector<MenuItem> items = chatterMenu(roleFacts(), clicked, context_.privateRoom);
    if (items.empty()) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    for (const MenuItem& entry : items) {
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(
            QString::fromUtf8(entry.text.data(), static_cast<qsizetype>(entry.text.size())));
        action->setData(entry.id);
        action->setEnabled(!entry.greyed);
        connect(action, &QAction::triggered, this, [this, id = entry.id] { runCommand(id); });
    }
    return menu;
}

void ChatterListWnd::openMenuFor(uint32_t chatterId, QPoint globalPos) {
    if (const std::unique_ptr<QMenu> menu = contextMenuFor(chatterId)) {
        menu->exec(globalPos);
    }
}

void ChatterListWnd::contextMenuEvent(QContextMenuEvent* event) {
    if (QListWidgetItem* row = itemAt(event->pos())) {
        setCurrentItem(row);
    }
    if (const std::optional<uint32_t> selected = selectedChatter()) {
        openMenuFor(*selected, event->globalPos());
    }
}

void ChatterListWnd::runCommand(int command) {
    const std::optional<uint32_t> selected = selectedChatter();
    const ChatterRecord* record = selected ? chatter(*selected) : nullptr;
    if (record == nullptr) {
        return;
    }
    const SelectedChatter target{record->chatterId == localChatterId(), record->roleFlags};
    switch (command) {
        case MenuCommand::kFilterChatter:
            toggleFilter(*record);
            return;
        case MenuCommand::kPrivateChat:
            if (mayRunChatterCommand(command, roleFacts(), target)) {
                context_.client.requestPrivateChat(record->chatterId, context_.roomId);
            }
            return;
        case MenuCommand::kChatterHistory:
            emit historyRequested(record->account);
            return;
        case MenuCommand::kRoomHistory:
            emit roomHistoryRequested();
            return;
        case MenuCommand::kVipGift:
            emit adminCommandRequested(command, record->chatterId);
            return;
        case MenuCommand::kKick:
        case MenuCommand::kMute:
        case MenuCommand::kDetails:
        case MenuCommand::kRightsManagement:
        case MenuCommand::kResetNickName:
        case MenuCommand::kRandomVip:
            if (mayRunChatterCommand(command, roleFacts(), target)) {
                emit adminCommandRequested(command, record->chatterId);
            }
            return;
        default:
            return;
    }
}

void ChatterListWnd::toggleFilter(const ChatterRecord& chatter) {
    UserConfig& config = context_.config;
    const bool hide = !config.isBlackListed(chatter.account);
    if (hide) {
        config.addToBlackList(chatter.account);
    } else {
        config.removeFromBlackList(chatter.account);
    }
    if (context_.showSystemLine) {
        context_.showSystemLine(hide ? hiddenChatterNotice(chatter.nickname)
                                     : shownChatterNotice(chatter.nickname));
    }
    viewport()->update();
}

void ChatterListWnd::chooseAsAddressee(uint32_t chatterId) {
    const ChatterRecord* record = chatter(chatterId);
    if (record != nullptr && chatterId != localChatterId() && context_.chooseAddressee) {
        context_.chooseAddressee(static_cast<int32_t>(chatterId), toQString(record->nickname));
    }
    if (context_.focusInput) {
        context_.focusInput();
    }
}

}  // namespace chat
