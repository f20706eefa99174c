#include "ui/main_window/main_gui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPalette>

#include "admin/account_level.h"
#include "client/settings_rules.h"
#include "content/chat_box_layout.h"
#include "platform/web_addresses.h"
#include "ui/main_window/my_tab_ctrl.h"
#include "ui/pages/sel_room.h"
#include "ui/pages/web_service.h"
#include "ui/prompts/qt_message_box_port.h"
#include "ui/room/chat_room.h"

namespace chat {
namespace {

constexpr int32_t kServiceRoom = 1;
constexpr QSize kFallbackSize{800, 600};
constexpr QSize kSmallestStartup{640, 480};
const QColor kBackground{237, 241, 246};

}  // namespace

QRect mainWindowPlacement(const QRect& startup, const QRect& screen) {
    if (startup.top() != 0 && startup.width() >= kSmallestStartup.width() &&
        startup.height() >= kSmallestStartup.height()) {
        return startup;
    }
    QRect placed({0, 0}, kFallbackSize);
    placed.moveCenter(screen.center());
    return placed;
}

bool switchesToNewRoom(bool privateRoom, uint32_t roleFlags) {
    constexpr uint32_t kOpensInBackground = AccountLevel::kSystemAdmin |
                                            AccountLevel::kCustomerService |
                                            AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin;
    return !privateRoom || (roleFlags & kOpensInBackground) == 0;
}

MainGUI::MainGUI(ChatClient& client, std::shared_ptr<tekna::EventLoop> loop, Launch launch,
                 QWidget* parent)
    : CDialogX(parent, FrameStyle{.cutCorners = true}),
      client_(client),
      loop_(std::move(loop)),
      launch_(std::move(launch)),
      prompts_(this),
      clientArea_(new QWidget(this)),
      tabs_(new MyTabCtrl(clientArea_)),
      hall_(new CSelRoom([this](int32_t room) { enterRoom(room); }, clientArea_)) {
    const QString caption = QString::fromStdString(mainWindowCaption(launch_.special));
    setCaption(caption);
    setWindowTitle(caption);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    QPalette background = clientArea_->palette();
    background.setColor(QPalette::Window, kBackground);
    clientArea_->setPalette(background);
    clientArea_->setAutoFillBackground(true);

    tabs_->addRoomTab(MyTabCtrl::kHallRoom, QString::fromUtf8(kHallTitle));
    connect(tabs_, &QTabBar::currentChanged, this,
            [this](int index) { showPage(tabs_->roomAt(index)); });
    connect(tabs_, &MyTabCtrl::closeRequested, this, [this](int32_t room) { closeRoom(room); });

    flashTimer_.setInterval(kFlashIntervalMs);
    connect(&flashTimer_, &QTimer::timeout, tabs_, qOverload<>(&QWidget::update));
    connect(&noticeTimer_, &QTimer::timeout, this, &MainGUI::showSystemNotice);
    showPage(MyTabCtrl::kHallRoom);
    placeChildren();
}

MainGUI::~MainGUI() = default;

void MainGUI::start(const QRect& startup) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(mainWindowPlacement(
        startup, screen != nullptr ? screen->availableGeometry() : QRect({0, 0}, kFallbackSize)));
    show();
    // The key is taken for the program as long as it runs; the screenshot it starts arrives with
    // the screen capturer.
    registerScreenCaptureHotKey(screenCaptureHotKey_, client_.config().screenCaptureHotKey());
    hall_->navigate(
        roomSelectionPageAddress(roomSelectionPageBase(launch_.programFolder), launch_.args));
}

void MainGUI::enterRoom(int32_t roomId) {
    const LoginIdentity identity{launch_.args.account, decodePasswordDigest(launch_.args.password)};
    client_.connect(ClientWindows{*this, prompts_, loop_}, identity, launch_.args.server, roomId);
    if (client_.ended() || destroyed_) {
        return;
    }
    if (roomId == kServiceRoom) {
        openServiceRoom();
    } else {
        client_.enterRoom(roomId);
    }
}

void MainGUI::openServiceRoom() {
    if (rooms_.contains(kServiceRoom)) {
        showPage(kServiceRoom);
        return;
    }
    auto* page = new CWebService(launch_.args, readSharedUserText(), clientArea_);
    addRoomTab(kServiceRoom, QString::fromUtf8(CWebService::kTabTitle), page, nullptr, false);
    showPage(kServiceRoom);
}

RoomPagePort& MainGUI::openRoomPage(int32_t roomId, const std::u16string& title,
                                    uint32_t attributes, bool privateRoom) {
    if (CChatRoom* open = findRoomPage(roomId)) {
        showPage(roomId);
        return *open;
    }
    removeRoomTab(roomId);  // a web page under the same id gives way to the chat room
    const QString name = QString::fromStdU16String(title);
    auto* page = new CChatRoom(client_, {client_.messageBoxes(), screenCaptureHotKey_},
                               RoomPageValues{roomId, name, privateRoom, attributes}, clientArea_);
    addRoomTab(roomId, name, page, page, privateRoom);
    const ChatterRecord* own = client_.ownRecordInRoom(roomId);
    if (switchesToNewRoom(privateRoom,
                          own != nullptr ? own->roleFlags : client_.ownRecord().roleFlags)) {
        showPage(roomId);
    }
    return *page;
}

void MainGUI::addRoomTab(int32_t roomId, const QString& title, QWidget* page, CChatRoom* chatRoom,
                         bool privateRoom) {
    page->setGeometry(0, kPageTop, clientArea_->width(), clientArea_->height() - kPageTop);
    page->hide();
    rooms_[roomId] = RoomTab{page, chatRoom, privateRoom};
    {
        // Adding the first room tab would otherwise select it at once.
        const QSignalBlocker blocker(tabs_);
        tabs_->addRoomTab(roomId, title);
    }
    activation_.push_back(roomId);
}

void MainGUI::showPage(int32_t roomId) {
    if (roomId == MyTabCtrl::kHallRoom) {
        hall_->show();
    } else {
        hall_->hide();
        stopFlashing(roomId);
    }
    for (const auto& [id, tab] : rooms_) {
        tab.page->setVisible(id == roomId);
    }
    const auto shown = rooms_.find(roomId);
    if (shown != rooms_.end() && !shown->second.privateRoom) {
        std::erase(activation_, roomId);
        activation_.push_back(roomId);
    }
    const int index = tabs_->indexOfRoom(roomId);
    if (index >= 0 && index != tabs_->currentIndex()) {
        tabs_->setCurrentIndex(index);
    }
}

void MainGUI::closeRoom(int32_t roomId) {
    if (closing_) {
        return;
    }
    closing_ = true;
    std::vector<int32_t> closing;
    if (roomId == -1) {
        for (const auto& entry : rooms_) {
            closing.push_back(entry.first);
        }
    } else if (rooms_.contains(roomId)) {
        closing.push_back(roomId);
    }
    for (const int32_t room : closing) {
        // The chat client sends the leave command and closes the tabs of the rooms it entered;
        // the customer-service tab is closed here.
        client_.leaveRoom(room);
        removeRoomTab(room);
    }
    closing_ = false;
    showLastActiveRoom();
}

void MainGUI::closeRoomPage(int32_t roomId) {
    removeRoomTab(roomId);
    if (!closing_) {
        showLastActiveRoom();
    }
}

void MainGUI::removeRoomTab(int32_t roomId) {
    const auto found = rooms_.find(roomId);
    if (found == rooms_.end()) {
        return;
    }
    QWidget* page = found->second.page;
    rooms_.erase(found);
    std::erase(activation_, roomId);
    stopFlashing(roomId);
    {
        const QSignalBlocker blocker(tabs_);
        tabs_->removeTab(tabs_->indexOfRoom(roomId));
    }
    delete page;
}

void MainGUI::showLastActiveRoom() {
    showPage(activation_.empty() ? MyTabCtrl::kHallRoom : activation_.back());
}

int32_t MainGUI::selectedRoom() const {
    const int32_t room = tabs_->selectedRoom();
    return room == MyTabCtrl::kHallRoom ? 0 : room;
}

CChatRoom* MainGUI::findRoomPage(int32_t roomId) const {
    const auto found = rooms_.find(roomId);
    return found != rooms_.end() ? found->second.chatRoom : nullptr;
}

QWidget* MainGUI::pageOf(int32_t roomId) const {
    if (roomId == MyTabCtrl::kHallRoom) {
        return hall_;
    }
    const auto found = rooms_.find(roomId);
    return found != rooms_.end() ? found->second.page : nullptr;
}

void MainGUI::startFlashing(int32_t roomId) {
    tabs_->startFlashing(roomId);
    if (!flashTimer_.isActive()) {
        flashTimer_.start();
    }
}

void MainGUI::stopFlashing(int32_t roomId) {
    if (tabs_->stopFlashing(roomId)) {
        flashTimer_.stop();
    }
}

void MainGUI::flashTaskbarButton() {
    QApplication::alert(this, kTaskbarAlertMs);
}

void MainGUI::setSystemNotice(std::u16string text, uint32_t intervalSeconds) {
    noticeTimer_.stop();
    notice_ = std::move(text);
    if (notice_.empty()) {
        return;
    }
    QTimer::singleShot(0, this, &MainGUI::showSystemNotice);
    if (intervalSeconds != 0) {
        noticeTimer_.start(static_cast<int>(
            std::min<uint64_t>(intervalSeconds * 1000ULL, std::numeric_limits<int>::max())));
    }
}

void MainGUI::showSystemNotice() {
    if (notice_.empty()) {
        return;
    }
    const ChatBoxRuns line = layoutSystemLine(notice_);
    for (const auto& entry : rooms_) {
        if (entry.second.chatRoom != nullptr) {
            entry.second.chatRoom->appendRuns(line);
        }
    }
}

void MainGUI::setRoomSelection(const std::map<uint32_t, RoomRecord>& rooms) {
    hall_->setRooms(rooms);
}

void MainGUI::showCaptionedMessage(std::string_view text, std::string_view caption,
                                   tekna::MessageIcon icon) {
    showMessageBox(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   {QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                    messageBoxIcon(icon)});
}

void MainGUI::openRandomVipDialog(const cmd::RandomVipSettings& /*settings*/) {
    // The random VIP dialog belongs to the administration windows, which this window does not
    // host yet.
}

void MainGUI::postQuit() {
    // Queued, so that it also ends a nested loop of a prompt or message box that is open now.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void MainGUI::destroy() {
    destroyed_ = true;
    flashTimer_.stop();
    noticeTimer_.stop();
    hide();
}

void MainGUI::closeEvent(QCloseEvent* event) {
    event->accept();
    if (destroyed_) {
        return;
    }
    closeRoom(-1);
    destroy();
    postQuit();
}

void MainGUI::resizeEvent(QResizeEvent* event) {
    CDialogX::resizeEvent(event);
    placeChildren();
}

void MainGUI::placeChildren() {
    clientArea_->setGeometry(contentsRect());
    const int width = clientArea_->width();
    const int pageHeight = clientArea_->height() - kPageTop;
    tabs_->setGeometry(0, kTabTop, width, MyTabCtrl::kHeight);
    hall_->setGeometry(0, kPageTop, width, pageHeight);
    for (const auto& entry : rooms_) {
        entry.second.page->setGeometry(0, kPageTop, width, pageHeight);
    }
}

}  // namespace chat
