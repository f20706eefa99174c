#include "ui/room/chat_room.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QMenu>
#include <QResizeEvent>
#include <QUrl>
#include <limits>

#include "admin/account_level.h"
#include "client/chat_client.h"
#include "content/chat_box_layout.h"
#include "content/widgets/link_prompt.h"
#include "media/widgets/picture_picker.h"
#include "platform/web_addresses.h"
#include "storage/user_config.h"
#include "ui/dialogs/reply_dlg.h"
#include "ui/room/affiche_and_chatter.h"
#include "ui/room/affiche_dlg.h"
#include "ui/room/chat_and_my_msg.h"
#include "ui/room/chat_dlg.h"
#include "ui/room/chat_msg_and_input.h"
#include "ui/room/chatters/chatter_dlg.h"
#include "ui/room/input/cinput_dlg.h"
#include "ui/room/room_records.h"
#include "ui/settings/dlg_config.h"
#include "ui/ui_look.h"
#include "ui/verify/dlg_verify_code.h"
#include "util/message_box_port.h"

namespace chat {
namespace {

std::string chatterGoneText(const QString& nickname) {
    return "聊天者“" + nickname.toStdString() + "”已不在本房间！";
}

}  // namespace

CChatRoom::CChatRoom(ChatClient& client, RoomPageServices services, RoomPageValues values,
                     QWidget* parent)
    : QWidget(parent),
      client_(client),
      services_(services),
      values_(std::move(values)),
      maxPeople_(values_.privateRoom ? kPrivateMaxPeople : kDefaultMaxPeople),
      chatArea_(new CChatMsgAndInput(inputContext(), this)),
      records_(
          std::make_unique<RoomRecords>(values_.roomId, client.config().folder(), client.log())) {
    ui::fillBackground(*this, ui::kPageBackground);
    if (!values_.privateRoom) {
        rightPanel_ = new CAfficheAndChatter(chatterContext(), this);
        connect(affiche(), &CAfficheDlg::linkClicked, this, &CChatRoom::openAnnouncementLink);
        connect(chatterDlg(), &CChatterDlg::countChanged, this, [this] { showPeople(); });
        ChatterListWnd& list = chatterDlg()->list();
        connect(&list, &ChatterListWnd::historyRequested, this, [this](std::string account) {
            historyViewers_.openPersonHistory(records_->file(), std::move(account), window());
        });
        connect(&list, &ChatterListWnd::roomHistoryRequested, this,
                [this] { historyViewers_.openRoomHistory(records_->file(), window()); });
        showPeople();
    }
    ChatBox* box = chatBox();
    box->setMaxChars(client.config().maxChatBoxChars());
    connect(box, &ChatBox::nicknameClicked, this, &CChatRoom::nicknameClicked);
    connect(box, &ChatBox::clearedByUser, this, [this] { inputDlg()->inputBox()->setFocus(); });
    connect(box, &ChatBox::autoScrollChanged, this, [this](bool on) {
        if (on) {
            client_.resumeDisplay(values_.roomId);
        }
    });
    connect(&rollingTimer_, &QTimer::timeout, this, &CChatRoom::showRollingMessage);
    connect(inputDlg(), &CInputDlg::pictureRequested, this, &CChatRoom::pickPicture);
    connect(inputDlg(), &CInputDlg::roomMenuRequested, this, &CChatRoom::openRoomMenu);
    connect(inputDlg(), &CInputDlg::settingsRequested, this, &CChatRoom::openSettings);
    connect(inputDlg(), &CInputDlg::quickRepliesRequested, this, &CChatRoom::openQuickReplies);
}

CChatRoom::~CChatRoom() = default;

InputDlgContext CChatRoom::inputContext() {
    InputDlgContext context;
    context.roomId = values_.roomId;
    context.privateRoom = values_.privateRoom;
    context.roomAttributes = values_.attributes;
    context.accountLevel = client_.ownRecord().roleFlags;
    if (const ChatterRecord* own = client_.ownRecordInRoom(values_.roomId)) {
        context.roomRoleBits =
            own->roleFlags & (AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin);
    }
    context.config = &client_.config();
    context.send = [this](const InputBoxContent& content) {
        return client_.sendMessage(values_.roomId, content);
    };
    context.styleChanged = [this](const TextStyle& style) { client_.setOwnMessageStyle(style); };
    context.messages = &services_.messages;
    context.verifyFirstSpeech = [this] { return DlgVerifyCode::ask(this, services_.messages); };
    return context;
}

ChatterListContext CChatRoom::chatterContext() {
    return ChatterListContext{
        client_,
        client_.config(),
        values_.roomId,
        values_.privateRoom,
        [this](int32_t chatterId, const QString& nickname) {
            inputDlg()->chooseAddressee(chatterId, nickname);
        },
        [this] { inputDlg()->inputBox()->setFocus(); },
        [this](std::u16string text) { chatBox()->showSystemLine(text); },
    };
}

ChatBox* CChatRoom::chatBox() const {
    return chatArea_->messageArea()->chatDlg()->chatBox();
}

CInputDlg* CChatRoom::inputDlg() const {
    return chatArea_->inputDlg();
}

CAfficheDlg* CChatRoom::affiche() const {
    return rightPanel_ != nullptr ? rightPanel_->affiche() : nullptr;
}

CChatterDlg* CChatRoom::chatterDlg() const {
    return rightPanel_ != nullptr ? rightPanel_->chatterDlg() : nullptr;
}

void CChatRoom::resizeEvent(QResizeEvent* event) {
    const int w = event->size().width();
    const int h = event->size().height();
    if (rightPanel_ == nullptr) {
        chatArea_->setGeometry(0, 0, w, h);
        return;
    }
    chatArea_->setGeometry(0, 0, w - kRightPanelWidth - kRightPanelGap, h);
    rightPanel_->setGeometry(w - kRightPanelWidth, 0, kRightPanelWidth, h);
}

void CChatRoom::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    inputDlg()->inputBox()->setFocus();
}

void CChatRoom::nicknameClicked(LinkClick click, int32_t chatterId, const QString& nickname) {
    if (click == LinkClick::LeftDoubleClick) {
        return;  // its first press was the click
    }
    if (values_.privateRoom && click == LinkClick::LeftPress) {
        return;
    }
    const auto& chatters = client_.chattersOf(values_.roomId);
    const auto id = static_cast<uint32_t>(chatterId);
    if (!chatters.contains(id)) {
        services_.messages.showMessage(chatterGoneText(nickname), tekna::MessageCaption::None,
                                       tekna::MessageIcon::Warning);
        return;
    }
    ChatterListWnd* list = chatterDlg() != nullptr ? &chatterDlg()->list() : nullptr;
    if (list != nullptr) {
        list->selectChatter(id);
    }
    const auto now = static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
    const auto doubleClickMs = static_cast<uint32_t>(QApplication::doubleClickInterval());
    if (NicknameClicks::greets(client_.ownRecord().roleFlags) &&
        nicknameClicks_.secondClick(id, now, doubleClickMs)) {
        inputDlg()->greet(nickname);
        return;
    }
    if (list == nullptr) {
        return;
    }
    if (click == LinkClick::LeftPress) {
        list->chooseAsAddressee(id);
    } else {
        list->openMenuFor(id, QCursor::pos());
    }
}

void CChatRoom::showRollingMessage() {
    const RoomRecord* room = client_.roomRecord(values_.roomId);
    if (room != nullptr && !room->rollingMessage.empty()) {
        chatBox()->showSystemLine(room->rollingMessage);
    }
}

void CChatRoom::pickPicture() {
    QtPicturePickPrompts prompts(window());
    chat::pickPicture(window(), *inputDlg()->inputBox(), prompts);
    inputDlg()->inputBox()->setFocus();
}

std::unique_ptr<QMenu> CChatRoom::makeRoomMenu() {
    const RoomSettingsMenu rules = roomSettingsMenu(client_.roleFactsIn(values_.roomId));
    if (rules.outcome == RoomSettingsMenu::Outcome::NoRights) {
        services_.messages.showMessage(kNoRoomRightsMessage, tekna::MessageCaption::None,
                                       tekna::MessageIcon::Error);
    }
    if (rules.outcome != RoomSettingsMenu::Outcome::Shown) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(this);
    for (const MenuItem& item : rules.items) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(
            QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        action->setData(item.id);
        action->setEnabled(!item.greyed);
    }
    return menu;
}

void CChatRoom::openRoomMenu(QPoint globalPos) {
    if (const std::unique_ptr<QMenu> menu = makeRoomMenu()) {
        if (const QAction* chosen = menu->exec(globalPos)) {
            runRoomCommand(chosen->data().toInt());
        }
    }
}

void CChatRoom::runRoomCommand(int command) {
    client_.notifyServer(command, values_.roomId);
}

void CChatRoom::openSettings() {
    DlgConfig sheet(settingsContextOf(client_, values_.roomId, services_.screenCaptureHotKey,
                                      services_.messages),
                    window());
    sheet.exec();
    chatBox()->setMaxChars(client_.config().maxChatBoxChars());
    inputDlg()->inputBox()->setFocus();
}

void CChatRoom::openQuickReplies(QPoint bottomRightAt) {
    if (quickReplies_ == nullptr) {
        quickReplies_ = new CReplyDlg(client_.quickReplies(), client_.config(),
                                      client_.ownRecord().account, this);
    }
    quickReplies_->showFor(bottomRightAt, [this](const QString& reply) {
        InputBox* box = inputDlg()->inputBox();
        box->insertPlainText(reply);
        box->setFocus();
    });
}

void CChatRoom::openAnnouncementLink(const std::u16string& target) {
    const std::u16string address = announcementLinkTarget(target, client_.ownRecord().account);
    if (!address.empty()) {
        systemUrlOpener()(QUrl(QString::fromStdU16String(address)));
    }
}

void CChatRoom::refreshOwnRoles() {
    const ChatterRecord* own = client_.ownRecordInRoom(values_.roomId);
    inputDlg()->setRoomRoles(
        own != nullptr ? own->roleFlags & (AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin)
                       : 0);
    if (CChatterDlg* list = chatterDlg()) {
        list->list().refreshRoles();
    }
}

void CChatRoom::showPeople() {
    if (rightPanel_ != nullptr) {
        affiche()->setPeople(chatterDlg()->list().rowCount(), maxPeople_);
    }
}

// --- RoomPagePort ---

void CChatRoom::appendChatMessage(uint32_t speakerId, const ChatMessageLayout& layout,
                                  const KeptChatMessage& kept) {
    chatBox()->showChatMessage(static_cast<int32_t>(speakerId), layout);
    records_->add(kept);
}

void CChatRoom::appendRuns(const ChatBoxRuns& runs) {
    chatBox()->appendRuns(runs);
}

void CChatRoom::appendNotice(std::u16string_view text) {
    chatBox()->showSystemLine(text);
}

void CChatRoom::startRepeatedSystemLine(std::u16string text) {
    chatBox()->showRepeatedSystemLine(std::move(text));
}

void CChatRoom::scrollToEnd() {
    chatBox()->scrollToBottom();
}

bool CChatRoom::displaying() const {
    return chatBox()->autoScroll();
}

void CChatRoom::addChatter(const ChatterRecord& chatter, bool checked) {
    if (CChatterDlg* list = chatterDlg()) {
        list->list().addChatter(chatter, checked);
    }
}

void CChatRoom::removeChatter(uint32_t chatterId) {
    if (CChatterDlg* list = chatterDlg()) {
        list->list().removeChatter(chatterId);
    }
}

void CChatRoom::replaceChatters(const std::vector<ChatterRecord>& chatters,
                                const std::vector<bool>& checked) {
    if (CChatterDlg* list = chatterDlg()) {
        list->list().replaceChatters(chatters, checked);
    }
    refreshOwnRoles();
}

void CChatRoom::updateChatter(const ChatterRecord& chatter) {
    if (CChatterDlg* list = chatterDlg()) {
        list->list().updateChatter(chatter);
    }
    if (chatter.chatterId == client_.ownRecord().chatterId) {
        refreshOwnRoles();
    }
}

std::optional<int32_t> CChatRoom::selectedAddressee() const {
    return inputDlg()->selectedAddressee();
}

void CChatRoom::removeAddressee(int32_t chatterId) {
    inputDlg()->removeAddressee(chatterId);
}

void CChatRoom::setAnnouncement(std::u16string text) {
    if (CAfficheDlg* board = affiche()) {
        board->setAnnouncement(text);
    }
}

void CChatRoom::applyRoomSettings(const RoomSettingBlock& settings, bool limitInputLength) {
    inputDlg()->applyRoomSettings(settings, limitInputLength);
}

void CChatRoom::showMaxPeople(uint32_t maxPeople) {
    maxPeople_ = maxPeople;
    showPeople();
}

void CChatRoom::setRollingTimer(uint32_t milliseconds) {
    rollingTimer_.stop();
    if (milliseconds != 0) {
        rollingTimer_.start(
            static_cast<int>(std::min<uint32_t>(milliseconds, std::numeric_limits<int>::max())));
    }
}

}  // namespace chat
