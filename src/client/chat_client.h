#pragma once
// ChatClient: the one object that holds the connection to the chat server and everything learnt
// from it — the login, the room table, the open rooms with their chatters, the word filters, the
// user's rights and the chat exchange. It lives on the window thread; the socket worker reaches it
// only through the event loop. Windows are reached through ports, so every flow runs headless.
//
// Every loss of the connection and every refusal by the server ends the program after a message;
// a connection is opened once per run and never again.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "admin/admin_menus.h"
#include "admin/rights_list.h"
#include "client/admin_dialog_slots.h"
#include "client/host_resolver.h"
#include "client/login_mac.h"
#include "client/text_filter.h"
#include "content/message_composer.h"
#include "content/message_sequence.h"
#include "content/text_style.h"
#include "protocol/commands/chatter_record.h"
#include "protocol/commands/room_commands.h"
#include "protocol/commands/room_record.h"
#include "protocol/commands/vip_commands.h"
#include "protocol/io_worker.h"
#include "protocol/packet_framer.h"
#include "protocol/processor_registry.h"
#include "storage/quick_reply_list.h"
#include "util/event_loop.h"
#include "util/logger.h"
#include "util/message_box_port.h"

namespace chat {

class MainWindowPort;
class PromptPort;
class RoomPagePort;
class UserConfig;

// The windows a connection works with; handed over by the first Connect.
struct ClientWindows {
    MainWindowPort& mainWindow;
    PromptPort& prompts;
    std::shared_ptr<tekna::EventLoop> loop;
};

// Who logs in: the account (GBK) and the 16 bytes of the password digest from the command line.
struct LoginIdentity {
    std::string account;
    std::array<uint8_t, 16> passwordDigest{};
};

struct ChatClientOptions {
    uint16_t port = kChatServerPort;
    std::string defaultHost = kDefaultChatServerHost;
    IoServer::WorkerTimeouts timeouts;
    // Opens the log on the first Connect; the default is "palvern.log" (createChatLog).
    std::function<std::unique_ptr<tekna::Logger>()> openLog;
};

// The user's texts of this flow.
namespace client_text {
inline constexpr const char* kConnecting = "正在连接服务器，请稍候...";
inline constexpr const char* kLoggingIn = "已连接到聊天服务器，正在登录中……";
inline constexpr const char* kEnteringRoom = "正在尝试进入房间，请稍候……";
inline constexpr const char* kNoServer = "无法连接到聊天服务器！";
inline constexpr const char* kConnectionLost = "与聊天服务器的连接已被断开！";
inline constexpr const char* kCommunicationFailed = "与聊天服务服务器通讯失败！";
inline constexpr const char* kNoSuchRoom = "没有这个房间";
inline constexpr const char* kRoomNotKnownYet = "房间信息尚未获取，请稍后重试……";
inline constexpr const char* kEmptyRoomList = "收到服务器发来的房间列表为空！";
inline constexpr const char* kNotifySentText = "通知消息已发送到服务器！";
}  // namespace client_text

class ChatClient {
  public:
    ChatClient(UserConfig& config, tekna::MessageBoxPort& messages,
               const EthernetAdapters& adapters, const HostResolver& resolver,
               ChatClientOptions options = {});
    ~ChatClient();
    ChatClient(const ChatClient&) = delete;
    ChatClient& operator=(const ChatClient&) = delete;

    // --- Connection lifecycle ---

    // The user picked room `roomId` on the room selection page. The first call remembers the
    // windows and opens the log; room 1 needs no connection; the first other room starts the
    // worker and waits in the connecting prompt (cancelling it quits).
    void connect(const ClientWindows& windows, const LoginIdentity& identity,
                 const std::string& commandLineHost, int32_t roomId);
    // Message 2024 with its event code. False: the worker stops waiting.
    bool onConnectionEvent(uint32_t event);
    // Message 2026: the socket could not be set up.
    void onSocketSetupFailed(std::string_view text);
    // Closes every prompt, leaves every room, quits and destroys the main window.
    void endProgram();
    bool ended() const { return ended_; }

    // Sends a packet when connected; nothing otherwise.
    void send(std::span<const uint8_t> packet);

    // Whole packets as the framing step hands them on (tests, the benchmark and the fuzz target
    // use them without a socket).
    bool feed(std::span<const uint8_t> bytes) { return framer_.feed(bytes); }
    bool dispatch(std::span<const uint8_t> packet) { return registry_.dispatch(*this, packet); }

    // --- Rooms ---

    // Steps of entering a room chosen on the room selection page.
    void enterRoom(int32_t roomId);
    ChatterRecord prepareOwnRecord(int32_t roomId) const;
    // Closing a room's tab (or the server closing the room): sends 24 and closes the tab. Room -1
    // leaves every open room.
    void leaveRoom(int32_t roomId);
    // Checks the new nickname and sends it; false (after a message) when refused locally.
    bool changeOwnNickname(const ChatterRecord& record, int32_t roomId);
    void requestPrivateChat(uint32_t chatterId, int32_t roomId);
    // The room menu's notify entries: a system administrator tells the server that its room list,
    // keywords or invalid nicknames changed, and is told that the notice went out. False, with
    // nothing sent, for other commands and other users.
    bool notifyServer(int menuCommand, int32_t roomId);

    // --- Chat ---

    // The input box's content for room `roomId`. True when the message was sent (the box is
    // emptied then); false after a message box, or when there was nothing to send.
    bool sendMessage(int32_t roomId, const InputBoxContent& input);
    void setOwnMessageStyle(const TextStyle& style);
    // The room's chat view was switched back on.
    void resumeDisplay(int32_t roomId);

    // --- Operations of the processors ---

    void onHeartbeat();
    void onServerText(std::string_view prefix, const std::string& gbkText);
    void onFailWithMessage(int32_t roomId, const std::u16string& text);
    void onWelcome();
    void onLoginAccepted(uint32_t chatterId, uint32_t roleFlags);
    void onLoginRefused(int32_t code, const std::u16string& reason);
    void onKickedOut(int32_t code, const std::u16string& reason);
    void onChatterEntered(int32_t roomId, const ChatterRecord& record);
    void onChatterLeft(int32_t roomId, int32_t chatterId);
    void onRoomChatterList(int32_t roomId, const std::vector<ChatterRecord>& chatters);
    void onChatMessage(std::span<const uint8_t> packet);
    void onChatterRecordChanged(const ChatterRecord& record, int32_t roomId);
    void onKeywordList(std::span<const uint8_t> packet);
    void onInvalidNicknameList(std::span<const uint8_t> packet);
    bool onRoomList(std::span<const uint8_t> packet);
    void onAnnouncementUpdated(int32_t roomId, std::u16string text);
    void onPrivateRoomCreated(int32_t roomId, const ChatterRecord& first,
                              const ChatterRecord& second);
    void onPrivateChatRefused(int32_t result, const std::string& gbkText);
    void onEnterRoomAnswer(int32_t roomId, int32_t result, const std::string& gbkReason);
    void onRollingMessage(int32_t roomId, uint32_t intervalSeconds, const std::u16string& text);
    void onSystemMessage(uint32_t intervalSeconds, std::u16string text);
    void onSetAccountLevelResult(int32_t result, const std::string& gbkText);
    void onVipGiven(int32_t roomId, uint32_t hours, const std::vector<std::string>& accounts);
    void onRandomVipSettings(const cmd::RandomVipSettings& settings);
    void onSetRandomVipResult(uint32_t result, const std::u16string& text);
    void onRoomChatterCounts(std::vector<cmd::ChatterCountRecord> counts);
    void onRoomSettings(const RoomSettingBlock& settings);
    void onRoomLimits(std::span<const uint8_t> stream);
    void onUserRights(const UserRightsBlock& block, std::span<const uint8_t> stream);
    void onSelfRights(std::span<const uint8_t> stream);
    void onRoomOwners(const RoomOwnerBlock& room, const std::vector<std::string>& owners);
    void onRoomAdmins(const std::map<std::string, uint32_t>& admins);
    void onAllowedRoles(uint32_t allowLevel);
    void closeAllPrompts();

    // --- Look-ups ---

    UserConfig& config() const { return config_; }
    tekna::MessageBoxPort& messageBoxes() const { return messages_; }
    const ChatterRecord& ownRecord() const { return ownRecord_; }
    // The local user's roles and rights in the room, as the menus and the input bar check them.
    RoomRoleFacts roleFactsIn(int32_t roomId) const;
    const ChatterRecord* ownRecordInRoom(int32_t roomId) const;
    const RoomRecord* roomRecord(int32_t roomId) const;
    const std::map<uint32_t, RoomRecord>& roomTable() const { return roomTable_; }
    bool isRoomOpen(int32_t roomId) const { return openRooms_.contains(roomId); }
    // The room's chatter map; raises "没有这个房间" for a room without a page.
    const std::map<uint32_t, ChatterRecord>& chattersOf(int32_t roomId) const;
    bool isBlocked(const std::string& account) const;
    bool caughtByKeywords(std::u16string_view text) const;
    bool caughtByNicknameFilters(std::u16string_view text) const;
    const TextStyle& ownMessageStyle() const { return ownMessageStyle_; }
    const RightsList& rights() const { return rights_; }
    const std::vector<cmd::ChatterCountRecord>& roomChatterCounts() const { return counts_; }
    const QuickReplyList& quickReplies() const { return quickReplies_; }
    QuickReplyList& quickReplies() { return quickReplies_; }
    AdminDialogSlots& adminDialogs() { return adminDialogs_; }
    size_t pendingChatPackets() const { return pending_.size(); }
    bool connected() const { return worker_ != nullptr; }
    tekna::Logger* log() const { return log_.get(); }

  private:
    struct OpenRoom {
        RoomPagePort* page = nullptr;
        bool privateRoom = false;
        std::map<uint32_t, ChatterRecord> chatters;
    };
    class WorkerEventSink;

    OpenRoom& room(int32_t roomId);
    const OpenRoom& room(int32_t roomId) const;
    OpenRoom* findRoom(int32_t roomId);
    OpenRoom& openRoomPage(int32_t roomId, const std::u16string& title, uint32_t attributes,
                           bool privateRoom);
    void addChatter(OpenRoom& room, const ChatterRecord& chatter);
    // The nickname and sex stored for the room; the account when none is stored or the stored
    // one is caught by the word lists (staff keep theirs).
    void applyRoomNickname(ChatterRecord& record, int32_t roomId) const;
    bool userIsStaff() const;
    bool readAndFrame();
    void fail(std::string_view text);
    void stopWorkerFlag();
    bool showMessage(std::span<const uint8_t> packet);
    bool mayViewAddresses(int32_t roomId) const;

    UserConfig& config_;
    tekna::MessageBoxPort& messages_;
    const EthernetAdapters& adapters_;
    const HostResolver& resolver_;
    ChatClientOptions options_;

    MainWindowPort* mainWindow_ = nullptr;
    PromptPort* prompts_ = nullptr;
    std::shared_ptr<tekna::EventLoop> loop_;
    std::shared_ptr<WorkerEventSink> eventSink_;
    LoginIdentity identity_;
    std::shared_ptr<IoServer::Worker> worker_;
    PacketFramer framer_;
    ProcessorRegistry<ChatClient> registry_;
    ChatterRecord ownRecord_;
    TextStyle ownMessageStyle_;
    std::unique_ptr<tekna::Logger> log_;
    std::vector<std::vector<uint8_t>> pending_;
    AdminDialogSlots adminDialogs_;
    std::vector<cmd::ChatterCountRecord> counts_;
    RightsList rights_;
    std::map<int32_t, ChatterRecord> ownRecordsPerRoom_;
    TextFilter keywordFilter_;
    TextFilter nicknameFilter_;
    std::map<uint32_t, RoomRecord> roomTable_;
    bool connectRequested_ = false;
    bool ended_ = false;

    std::map<int32_t, OpenRoom> openRooms_;
    std::map<int32_t, std::u16string> lastSentText_;
    MessageSequence sequence_;
    QuickReplyList quickReplies_;
};

}  // namespace chat
