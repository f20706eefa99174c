#include "client/chat_client.h"

#include <stdexcept>

#include "admin/account_level.h"
#include "admin/chatter_order.h"
#include "client/client_processors.h"
#include "client/ports/main_window_port.h"
#include "client/ports/prompt_port.h"
#include "client/ports/room_page_port.h"
#include "protocol/commands/commands.h"
#include "protocol/tcp_packet.h"
#include "storage/chat_log.h"
#include "storage/user_config.h"
#include "util/blank_trim.h"
#include "util/text_codec.h"
#include "util/wire_text.h"

namespace chat {

namespace {

constexpr size_t kNicknameCharacters = 11;
constexpr size_t kAccountBytes = 63;

std::u16string cutNickname(std::u16string_view text) {
    return std::u16string(text.substr(0, utf16PrefixLength(text, kNicknameCharacters)));
}

std::u16string accountNickname(const std::string& gbkAccount) {
    return cutNickname(gbkToUtf16(gbkAccount));
}

bool isStaff(uint32_t roleFlags) {
    return (roleFlags & AccountLevel::kStaff) != 0;
}

template <class Command>
void sendCommand(ChatClient& client, const Command& command) {
    const std::vector<uint8_t> packet = buildPacket(command);
    client.send(packet);
}

}  // namespace

// Forwards the worker's events to the client for as long as the client lives.
class ChatClient::WorkerEventSink : public IoServer::WorkerEvents {
  public:
    explicit WorkerEventSink(ChatClient* client) : client_(client) {}
    void detach() { client_ = nullptr; }

    bool onWorkerEvent(uint32_t event) override {
        return client_ != nullptr && client_->onConnectionEvent(event);
    }
    void onSocketSetupFailed(std::string_view text) override {
        if (client_ != nullptr) {
            client_->onSocketSetupFailed(text);
        }
    }

  private:
    ChatClient* client_;
};

ChatClient::ChatClient(UserConfig& config, tekna::MessageBoxPort& messages,
                       const EthernetAdapters& adapters, const HostResolver& resolver,
                       ChatClientOptions options)
    : config_(config),
      messages_(messages),
      adapters_(adapters),
      resolver_(resolver),
      options_(std::move(options)),
      framer_([this](std::span<const uint8_t> packet) { return dispatch(packet); }, nullptr),
      registry_(makeChatClientProcessors(), messages) {
    ownRecord_.reserved92 = 1;
    ownRecord_.sex = 'U';
    ownRecord_.reserved97 = 1;
}

ChatClient::~ChatClient() {
    if (eventSink_) {
        eventSink_->detach();
    }
    if (worker_) {
        IoServer::stopWorker(worker_);
    }
}

// --- Connection lifecycle ---

void ChatClient::connect(const ClientWindows& windows, const LoginIdentity& identity,
                         const std::string& commandLineHost, int32_t roomId) {
    if (mainWindow_ == nullptr) {
        mainWindow_ = &windows.mainWindow;
        prompts_ = &windows.prompts;
        loop_ = windows.loop;
        identity_ = identity;
        log_ = options_.openLog ? options_.openLog() : createChatLog();
        framer_ = PacketFramer([this](std::span<const uint8_t> packet) { return dispatch(packet); },
                               log_.get());
        registry_.setLog(log_.get());
    }
    if (roomId == 1 || connectRequested_) {
        return;
    }
    connectRequested_ = true;
    eventSink_ = std::make_shared<WorkerEventSink>(this);
    IoServer::startWorker(
        worker_,
        chatServerAddresses(resolver_, commandLineHost, options_.defaultHost, options_.port), loop_,
        eventSink_, options_.timeouts);
    if (prompts_->showModalPrompt(client_text::kConnecting, true) == PromptPort::kCancelled) {
        mainWindow_->postQuit();
    }
}

bool ChatClient::onConnectionEvent(uint32_t event) {
    if (ended_) {
        return false;
    }
    switch (event) {
        case IoServer::WorkerEvent::kConnected:
            framer_.reset();
            sendCommand(*this, cmd::Hello{});
            if (prompts_->showModalPrompt(client_text::kLoggingIn, true) ==
                PromptPort::kCancelled) {
                endProgram();
            }
            return true;
        case IoServer::WorkerEvent::kDataReadable:
            if (!readAndFrame()) {
                fail(client_text::kCommunicationFailed);
                return false;
            }
            return true;
        case IoServer::WorkerEvent::kNoServerReachable:
            fail(client_text::kNoServer);
            return false;
        case IoServer::WorkerEvent::kConnectionLost:
            fail(client_text::kConnectionLost);
            return false;
        default:
            return true;
    }
}

bool ChatClient::readAndFrame() {
    if (!worker_) {
        return false;
    }
    const std::span<uint8_t> space = framer_.freeSpace();
    if (space.empty()) {
        return true;  // the packets being handled fill the buffer: read after they are done
    }
    const IoServer::Worker::Received received = worker_->receive(space);
    if (received.count == 0) {
        worker_->readFailed(received.error, log_.get());
        messages_.showMessage("从服务器取数据失败，错误代码 " + std::to_string(received.error),
                              tekna::MessageCaption::None, tekna::MessageIcon::Error);
        return false;
    }
    return framer_.commit(received.count);
}

void ChatClient::onSocketSetupFailed(std::string_view text) {
    if (ended_) {
        return;
    }
    messages_.showMessage(text, tekna::MessageCaption::None, tekna::MessageIcon::Error);
    endProgram();
}

void ChatClient::stopWorkerFlag() {
    if (worker_) {
        worker_->stop();
    }
}

void ChatClient::fail(std::string_view text) {
    stopWorkerFlag();
    messages_.showMessage(text, tekna::MessageCaption::None, tekna::MessageIcon::Error);
    endProgram();
}

void ChatClient::endProgram() {
    if (ended_ || mainWindow_ == nullptr) {
        return;
    }
    ended_ = true;
    stopWorkerFlag();
    mainWindow_->postQuit();
    if (mainWindow_->exists()) {
        prompts_->closeAllPrompts();
        leaveRoom(-1);
        mainWindow_->destroy();
    }
}

void ChatClient::send(std::span<const uint8_t> packet) {
    if (worker_) {
        worker_->send(packet, log_.get());
    }
}

void ChatClient::closeAllPrompts() {
    if (prompts_ != nullptr) {
        prompts_->closeAllPrompts();
    }
}

void ChatClient::onHeartbeat() {
    sendCommand(*this, cmd::Heartbeat{});
}

void ChatClient::onServerText(std::string_view prefix, const std::string& gbkText) {
    tekna::logMessage(log_.get(), std::string(prefix) + gbkToUtf8(gbkText));
}

void ChatClient::onFailWithMessage(int32_t roomId, const std::u16string& text) {
    if (roomId > 0) {
        room(roomId).page->appendNotice(text);
        return;
    }
    messages_.showMessage(utf16ToUtf8(text), tekna::MessageCaption::None,
                          tekna::MessageIcon::Error);
}

void ChatClient::onWelcome() {
    ownRecord_.account =
        identity_.account.substr(0, gbkPrefixLength(identity_.account, kAccountBytes));
    cmd::Login login;
    login.mac = chooseLoginMac(adapters_.addresses());
    login.account = ownRecord_.account;
    login.passwordDigest = identity_.passwordDigest;
    sendCommand(*this, login);
}

void ChatClient::onLoginAccepted(uint32_t chatterId, uint32_t roleFlags) {
    closeAllPrompts();
    ownRecord_.chatterId = chatterId;
    ownRecord_.roleFlags = roleFlags;
    ownRecord_.nickname = accountNickname(ownRecord_.account);
    ownRecord_.reserved92 = 255;
    ownRecord_.sex = 'U';
    config_.loadQuickReplies(ownRecord_.account, quickReplies_);
}

void ChatClient::onLoginRefused(int32_t code, const std::u16string& reason) {
    IoServer::stopWorker(worker_);
    const std::string text =
        std::string("登录失败：") + (code == 4 ? "无法连接聊天服务器" : utf16ToUtf8(reason));
    tekna::logMessage(log_.get(), text);
    messages_.showMessage(text, tekna::MessageCaption::None, tekna::MessageIcon::Error);
}

void ChatClient::onKickedOut(int32_t code, const std::u16string& reason) {
    messages_.showMessage("服务器已断开与您的连接！\r\n代码：" + std::to_string(code) +
                              "\r\n原因：" + utf16ToUtf8(reason),
                          tekna::MessageCaption::None, tekna::MessageIcon::Error);
}

// --- Rooms ---

ChatClient::OpenRoom* ChatClient::findRoom(int32_t roomId) {
    const auto found = openRooms_.find(roomId);
    return found == openRooms_.end() ? nullptr : &found->second;
}

ChatClient::OpenRoom& ChatClient::room(int32_t roomId) {
    if (OpenRoom* open = findRoom(roomId)) {
        return *open;
    }
    throw std::runtime_error(client_text::kNoSuchRoom);
}

const ChatClient::OpenRoom& ChatClient::room(int32_t roomId) const {
    const auto found = openRooms_.find(roomId);
    if (found == openRooms_.end()) {
        throw std::runtime_error(client_text::kNoSuchRoom);
    }
    return found->second;
}

const std::map<uint32_t, ChatterRecord>& ChatClient::chattersOf(int32_t roomId) const {
    return room(roomId).chatters;
}

const ChatterRecord* ChatClient::ownRecordInRoom(int32_t roomId) const {
    const auto found = ownRecordsPerRoom_.find(roomId);
    return found == ownRecordsPerRoom_.end() ? nullptr : &found->second;
}

RoomRoleFacts ChatClient::roleFactsIn(int32_t roomId) const {
    const ChatterRecord* inRoom = ownRecordInRoom(roomId);
    return RoomRoleFacts::of(ownRecord_.roleFlags, inRoom != nullptr ? inRoom->roleFlags : 0,
                             rights_, roomId);
}

const RoomRecord* ChatClient::roomRecord(int32_t roomId) const {
    const auto found = roomTable_.find(static_cast<uint32_t>(roomId));
    return found == roomTable_.end() ? nullptr : &found->second;
}

bool ChatClient::isBlocked(const std::string& account) const {
    return config_.isBlackListed(account);
}

bool ChatClient::caughtByKeywords(std::u16string_view text) const {
    return keywordFilter_.isRestricted(text);
}

bool ChatClient::caughtByNicknameFilters(std::u16string_view text) const {
    return nicknameFilter_.isRestricted(text) || keywordFilter_.isRestricted(text);
}

bool ChatClient::userIsStaff() const {
    return isStaff(ownRecord_.roleFlags);
}

ChatClient::OpenRoom& ChatClient::openRoomPage(int32_t roomId, const std::u16string& title,
                                               uint32_t attributes, bool privateRoom) {
    if (OpenRoom* open = findRoom(roomId)) {
        mainWindow_->bringRoomPageToFront(roomId);
        return *open;
    }
    OpenRoom& open = openRooms_[roomId];
    open.privateRoom = privateRoom;
    open.page = &mainWindow_->openRoomPage(roomId, title, attributes, privateRoom);
    return open;
}

void ChatClient::addChatter(OpenRoom& open, const ChatterRecord& chatter) {
    open.page->addChatter(chatter, !isBlocked(chatter.account));
    open.chatters.emplace(chatter.chatterId, chatter);
}

void ChatClient::applyRoomNickname(ChatterRecord& record, int32_t roomId) const {
    const RoomNickname stored = config_.readRoomNickname(ownRecord_.account, roomId);
    record.nickname = cutNickname(stored.nickname);
    record.sex = stored.sex == 'F' || stored.sex == 'M' ? static_cast<uint8_t>(stored.sex) : 'U';
    if (record.nickname.empty() ||
        (!isStaff(record.roleFlags) && caughtByNicknameFilters(record.nickname))) {
        record.nickname = accountNickname(ownRecord_.account);
    }
}

ChatterRecord ChatClient::prepareOwnRecord(int32_t roomId) const {
    ChatterRecord record = ownRecord_;
    applyRoomNickname(record, roomId);
    return record;
}

void ChatClient::enterRoom(int32_t roomId) {
    if (isRoomOpen(roomId)) {
        mainWindow_->bringRoomPageToFront(roomId);
        return;
    }
    if (roomRecord(roomId) == nullptr) {
        messages_.showMessage(client_text::kRoomNotKnownYet, tekna::MessageCaption::None,
                              tekna::MessageIcon::Error);
        return;
    }
    sendCommand(*this, cmd::EnterRoom{static_cast<uint32_t>(roomId), prepareOwnRecord(roomId)});
    prompts_->showModalPrompt(client_text::kEnteringRoom, false);
}

void ChatClient::leaveRoom(int32_t roomId) {
    if (roomId == -1) {
        while (!openRooms_.empty()) {
            leaveRoom(openRooms_.begin()->first);
        }
        return;
    }
    sendCommand(*this, cmd::LeaveRoom{static_cast<uint32_t>(roomId)});
    if (openRooms_.erase(roomId) == 0) {
        return;
    }
    // The room's pending messages could never be shown any more.
    std::erase_if(pending_, [roomId](const std::vector<uint8_t>& packet) {
        return static_cast<int32_t>(loadLE<uint32_t>(packet.data() + 24)) == roomId;
    });
    mainWindow_->closeRoomPage(roomId);
}

void ChatClient::onEnterRoomAnswer(int32_t roomId, int32_t result, const std::string& gbkReason) {
    closeAllPrompts();
    if (result != 0) {
        messages_.showMessage(gbkReason.empty() ? "无法进入房间" : gbkToUtf8(gbkReason),
                              tekna::MessageCaption::None, tekna::MessageIcon::Error);
        return;
    }
    const RoomRecord* record = roomRecord(roomId);
    const RoomRecord none{};
    const RoomRecord& described = record != nullptr ? *record : none;
    OpenRoom& open = openRoomPage(roomId, described.name, described.attributes, false);
    if (!described.rollingMessage.empty()) {
        open.page->appendNotice(described.rollingMessage);
    }
    if (described.rollingIntervalSeconds != 0) {
        open.page->setRollingTimer(described.rollingIntervalSeconds * 1000);
    }
}

void ChatClient::onChatterEntered(int32_t roomId, const ChatterRecord& record) {
    if (record.chatterId != ownRecord_.chatterId) {
        addChatter(room(roomId), record);
        return;
    }
    sendCommand(*this, cmd::RequestRoomChatterList{static_cast<uint32_t>(roomId)});
    // Without a stored nickname the account stands in, as when the room was entered, so no
    // message is ever sent with an empty nickname.
    applyRoomNickname(ownRecord_, roomId);
    applyRoomNickname(ownRecordsPerRoom_[roomId] = record, roomId);
}

void ChatClient::onChatterLeft(int32_t roomId, int32_t chatterId) {
    if (chatterId <= 0 || static_cast<uint32_t>(chatterId) == ownRecord_.chatterId) {
        return;
    }
    OpenRoom& open = room(roomId);
    const uint32_t id = static_cast<uint32_t>(chatterId);
    if (!open.chatters.contains(id)) {
        return;
    }
    open.page->removeChatter(id);
    open.page->removeAddressee(chatterId);
    open.chatters.erase(id);
}

void ChatClient::onRoomChatterList(int32_t roomId, const std::vector<ChatterRecord>& chatters) {
    OpenRoom& open = room(roomId);
    open.chatters.clear();
    std::vector<bool> checked;
    checked.reserve(chatters.size());
    for (const ChatterRecord& chatter : chatters) {
        open.chatters.emplace(chatter.chatterId, chatter);
        checked.push_back(!isBlocked(chatter.account));
    }
    open.page->replaceChatters(chatters, checked);
}

void ChatClient::onChatterRecordChanged(const ChatterRecord& record, int32_t roomId) {
    OpenRoom* open = findRoom(roomId);
    if (record.nickname.empty() || open == nullptr) {
        return;
    }
    const auto held = open->chatters.find(record.chatterId);
    if (held == open->chatters.end()) {
        return;
    }
    if (!isStaff(held->second.roleFlags) && caughtByNicknameFilters(record.nickname)) {
        return;
    }
    if (record.chatterId == ownRecord_.chatterId && !open->privateRoom) {
        config_.writeRoomNickname(ownRecord_.account, roomId,
                                  RoomNickname{record.nickname, static_cast<char>(record.sex)});
    }
    const std::u16string oldNickname = held->second.nickname;
    held->second = record;
    open->page->updateChatter(record);
    if (record.nickname == oldNickname) {
        return;
    }
    std::u16string notice = oldNickname + u"已改名为：" + record.nickname;
    if (userIsStaff()) {
        notice += utf8ToUtf16(" (" + gbkToUtf8(record.account) + " " + dottedIp(record.ip) + " " +
                              hexMac(record.mac) + ")");
    }
    open->page->appendNotice(notice);
}

bool ChatClient::changeOwnNickname(const ChatterRecord& record, int32_t roomId) {
    const std::u16string_view trimmed = trimmedBlanks(record.nickname);
    const char* refusal = nullptr;
    if (trimmed.empty()) {
        refusal = "昵称不能空";
    } else if (!userIsStaff() && caughtByNicknameFilters(trimmed)) {
        refusal = "抱歉，您指定的昵称含有不雅或敏感词，请重新选择";
    }
    if (refusal != nullptr) {
        messages_.showMessage(refusal, tekna::MessageCaption::None, tekna::MessageIcon::Error);
        return false;
    }
    sendCommand(*this, cmd::ChangeOwnChatterRecord{record, static_cast<uint32_t>(roomId)});
    return true;
}

void ChatClient::onKeywordList(std::span<const uint8_t> packet) {
    keywordFilter_.replaceKeywords(TcpPacket::decodeWideStringList(packet));
}

void ChatClient::onInvalidNicknameList(std::span<const uint8_t> packet) {
    nicknameFilter_.replaceKeywords(TcpPacket::decodeWideStringList(packet));
}

bool ChatClient::onRoomList(std::span<const uint8_t> packet) {
    roomTable_ = cmd::RoomListEntries::read(TcpPacket::decodeRawBytes(packet));
    if (roomTable_.empty()) {
        tekna::logMessage(log_.get(), client_text::kEmptyRoomList);
        messages_.showMessage(client_text::kEmptyRoomList, tekna::MessageCaption::None,
                              tekna::MessageIcon::Error);
        return false;
    }
    if (mainWindow_ != nullptr) {
        mainWindow_->setRoomSelection(roomTable_);
    }
    sendCommand(*this, cmd::RequestRoomChatterCounts{});
    return true;
}

void ChatClient::onRoomChatterCounts(std::vector<cmd::ChatterCountRecord> counts) {
    closeAllPrompts();
    counts_ = std::move(counts);
    if (mainWindow_ != nullptr) {
        mainWindow_->roomChatterCountsArrived();
    }
}

void ChatClient::requestPrivateChat(uint32_t chatterId, int32_t roomId) {
    sendCommand(*this, cmd::PrivateChatRequest{chatterId, {}, static_cast<uint32_t>(roomId)});
}

bool ChatClient::notifyServer(int menuCommand, int32_t roomId) {
    if (!mayRunRoomCommand(menuCommand, roleFactsIn(roomId), ownRecord_.roleFlags)) {
        return false;
    }
    switch (menuCommand) {
        case MenuCommand::kNotifyRoomList:
            sendCommand(*this, cmd::NotifyRoomListUpdated{});
            break;
        case MenuCommand::kNotifyKeywords:
            sendCommand(*this, cmd::NotifyKeywordsUpdated{});
            break;
        case MenuCommand::kNotifyNickNames:
            sendCommand(*this, cmd::NotifyNicknameKeywordsUpdated{});
            break;
        default:
            return false;
    }
    mainWindow_->showCaptionedMessage(client_text::kNotifySentText, "OK",
                                      tekna::MessageIcon::Information);
    return true;
}

void ChatClient::onPrivateChatRefused(int32_t result, const std::string& gbkText) {
    if (result != 0) {
        messages_.showMessage(gbkToUtf8(gbkText), tekna::MessageCaption::Error,
                              tekna::MessageIcon::Information);
    }
}

void ChatClient::onPrivateRoomCreated(int32_t roomId, const ChatterRecord& first,
                                      const ChatterRecord& second) {
    // The title passes through the system code page, as the tab shows it.
    const std::u16string title =
        gbkToUtf16(utf16ToGbk(first.nickname) + "-" + utf16ToGbk(second.nickname));
    OpenRoom& open = openRoomPage(roomId, title, 0, true);
    addChatter(open, first);
    addChatter(open, second);
}

// --- Room notices and administration replies ---

void ChatClient::onAnnouncementUpdated(int32_t roomId, std::u16string text) {
    room(roomId).page->setAnnouncement(std::move(text));
}

void ChatClient::onRollingMessage(int32_t roomId, uint32_t intervalSeconds,
                                  const std::u16string& text) {
    const auto described = roomTable_.find(static_cast<uint32_t>(roomId));
    if (described == roomTable_.end()) {
        return;
    }
    described->second.rollingMessage =
        text.substr(0, utf16PrefixLength(text, RoomRecord::kRollingMessageUnits - 1));
    described->second.rollingIntervalSeconds = intervalSeconds;
    RoomPagePort& page = *room(roomId).page;
    page.setRollingTimer(0);
    if (described->second.rollingMessage.empty()) {
        return;
    }
    page.appendRuns(layoutSystemLine(described->second.rollingMessage));
    if (intervalSeconds != 0) {
        page.setRollingTimer(intervalSeconds * 1000);
    }
}

void ChatClient::onSystemMessage(uint32_t intervalSeconds, std::u16string text) {
    if (mainWindow_ != nullptr) {
        mainWindow_->setSystemNotice(std::move(text), intervalSeconds);
    }
}

void ChatClient::onSetAccountLevelResult(int32_t result, const std::string& gbkText) {
    if (mainWindow_ == nullptr) {
        return;
    }
    if (result == 0) {
        mainWindow_->showCaptionedMessage("设置用户权限成功！", "OK",
                                          tekna::MessageIcon::Information);
    } else {
        mainWindow_->showCaptionedMessage(gbkToUtf8(gbkText), "设置用户权限失败",
                                          tekna::MessageIcon::Error);
    }
}

void ChatClient::onVipGiven(int32_t roomId, uint32_t hours,
                            const std::vector<std::string>& accounts) {
    OpenRoom* open = findRoom(roomId);
    if (accounts.empty() || open == nullptr) {
        return;
    }
    std::string notice = "恭喜用户 ";
    for (size_t i = 0; i < accounts.size(); ++i) {
        notice += (i == 0 ? "\"" : "、\"") + gbkToUtf8(accounts[i]) + "\"";
    }
    notice += " 获得Morvex赠送的体验VIP（时间" + std::to_string(hours) +
              "小时），请退出Morvex重新登录。祝游戏愉快，我们期待您的认同。";
    open->page->startRepeatedSystemLine(utf8ToUtf16(notice));
}

void ChatClient::onRandomVipSettings(const cmd::RandomVipSettings& settings) {
    closeAllPrompts();
    if (mainWindow_ != nullptr) {
        mainWindow_->openRandomVipDialog(settings);
    }
}

void ChatClient::onSetRandomVipResult(uint32_t result, const std::u16string& text) {
    if (mainWindow_ == nullptr) {
        return;
    }
    if (result != 0) {
        mainWindow_->showCaptionedMessage(utf16ToUtf8(text), "错误！", tekna::MessageIcon::Error);
    } else {
        mainWindow_->showCaptionedMessage(utf16ToUtf8(text), "提示！",
                                          tekna::MessageIcon::Information);
    }
}

void ChatClient::onRoomSettings(const RoomSettingBlock& settings) {
    const int32_t roomId = static_cast<int32_t>(settings.roomId);
    RoomPagePort& page = *room(roomId).page;
    const ChatterRecord* inRoom = ownRecordInRoom(roomId);
    const uint32_t roomRoles =
        inRoom != nullptr
            ? inRoom->roleFlags & (AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin)
            : 0;
    page.applyRoomSettings(settings, !userIsStaff() && roomRoles == 0);
    if (settings.maxPeople != page.shownMaxPeople()) {
        page.showMaxPeople(settings.maxPeople);
    }
}

void ChatClient::onRoomLimits(std::span<const uint8_t> stream) {
    closeAllPrompts();
    if (!adminDialogs_.roomLimits) {
        return;
    }
    RoomLimitList limits;
    tekna::InputByteStream in(stream);
    limits.read(in);
    adminDialogs_.roomLimits->showRoomLimits(limits);
}

void ChatClient::onUserRights(const UserRightsBlock& block, std::span<const uint8_t> stream) {
    if (!adminDialogs_.rightsGrant || adminDialogs_.rightsGrant->account() != block.account) {
        return;
    }
    closeAllPrompts();
    RightsList rights;
    tekna::InputByteStream in(stream);
    rights.read(in);
    adminDialogs_.rightsGrant->showUserRights(block, rights);
}

void ChatClient::onSelfRights(std::span<const uint8_t> stream) {
    tekna::InputByteStream in(stream);
    rights_.read(in);
}

void ChatClient::onRoomOwners(const RoomOwnerBlock& room, const std::vector<std::string>& owners) {
    closeAllPrompts();
    if (adminDialogs_.roomOwners) {
        adminDialogs_.roomOwners->showRoomOwners(room, owners);
    }
}

void ChatClient::onRoomAdmins(const std::map<std::string, uint32_t>& admins) {
    closeAllPrompts();
    if (adminDialogs_.roomAdmins) {
        adminDialogs_.roomAdmins->showRoomAdmins(admins);
    }
}

void ChatClient::onAllowedRoles(uint32_t allowLevel) {
    closeAllPrompts();
    if (adminDialogs_.allowedRoles) {
        adminDialogs_.allowedRoles->showAllowedRoles(allowLevel);
    }
}

}  // namespace chat
