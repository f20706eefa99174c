#pragma once
// The chat service: accounts, rooms, chatters and the handling of every client request. It knows
// no sockets: each connection is a Session fed with received bytes, and its outgoing packets go to
// a PacketSink. One packet sent to many recipients is built once and shared.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "admin/account_level.h"
#include "admin/rights_list.h"
#include "protocol/commands/commands.h"
#include "protocol/packet_framer.h"
#include "server_config.h"

namespace chatserver {

using SharedPacket = std::shared_ptr<const std::vector<uint8_t>>;

// Where the packets of one connection go.
class PacketSink {
  public:
    virtual ~PacketSink() = default;
    virtual void send(SharedPacket packet) = 0;
};

class ChatService;
class DemoBot;

// One client connection: cuts its received bytes into packets and hands them to the service.
class Session {
  public:
    enum class Stage { AwaitingHello, AwaitingLogin, Ready };

    Session(ChatService& service, PacketSink& sink, uint32_t peerIp);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // False when the connection must end: a malformed or out-of-order packet, a refused login.
    bool receive(std::span<const uint8_t> bytes);

    Stage stage() const { return stage_; }
    uint32_t chatterId() const { return chatterId_; }
    const std::string& account() const { return account_; }
    uint32_t level() const { return level_; }
    // Why receive() last returned false.
    const std::string& closeReason() const { return closeReason_; }

  private:
    friend class ChatService;

    ChatService& service_;
    PacketSink& sink_;
    PacketFramer framer_;
    Stage stage_ = Stage::AwaitingHello;
    uint32_t peerIp_;
    uint32_t chatterId_ = 0;
    std::string account_;  // GBK
    uint32_t level_ = 0;
    std::array<uint8_t, 6> mac_{};
    std::set<uint32_t> rooms_;
    std::map<uint32_t, std::chrono::steady_clock::time_point> lastSpeech_;
    std::string closeReason_;
};

class ChatService {
  public:
    using Clock = std::chrono::steady_clock;
    using LogFunction = std::function<void(const std::string& line)>;

    // `configPath` is read again by the three reload notices; empty: they reload nothing.
    ChatService(ServerConfig config, std::string configPath, LogFunction log);
    ~ChatService();

    // A new connection from `peerIp` (network byte order). The session lives until close().
    Session& open(PacketSink& sink, uint32_t peerIp);
    // The connection ended (`reason` goes to the log): the chatter leaves every room.
    void close(Session& session, const std::string& reason);

    // Sends a heartbeat to every connection.
    void heartbeat();

    // Timed work (the random VIP draws, the bots' lines): when the next is due, and running what is
    // due at `now`.
    std::optional<Clock::time_point> nextScheduled() const;
    void runScheduled(Clock::time_point now);
    // Called whenever requests change the timed work, so that the front end asks nextScheduled()
    // again.
    void onScheduleChanged(std::function<void()> handler) { scheduleChanged_ = std::move(handler); }

    size_t sessionCount() const { return sessions_.size(); }
    size_t chattersIn(uint32_t roomId) const;

    // Builds a shared packet.
    template <class Command>
    static SharedPacket packet(const Command& command) {
        return std::make_shared<const std::vector<uint8_t>>(chat::buildPacket(command));
    }

  private:
    friend class Session;

    struct Member {
        chat::ChatterRecord record;
        Session* session = nullptr;  // null for a bot
        uint64_t arrival = 0;        // larger for later arrivals
    };
    struct Room {
        RoomConfig config;
        bool isPrivate = false;
        std::map<uint32_t, Member> members;
    };

    bool handle(Session& s, std::span<const uint8_t> packet);
    bool handleBeforeLogin(Session& s, std::span<const uint8_t> packet);
    void handleRequest(Session& s, uint16_t command, std::span<const uint8_t> packet);
    void sendLoginLists(Session& s);

    void enterRoom(Session& s, const chat::cmd::EnterRoom& request);
    void leaveRoom(uint32_t roomId, uint32_t chatterId);
    void chat(Session& s, chat::cmd::ChatMessage message);
    void privateChat(Session& s, const chat::cmd::PrivateChatRequest& request);
    void changeNickname(Session& s, const chat::cmd::ChangeOwnChatterRecord& request);
    void sendChatterCounts(Session& s);

    void kick(Session& s, const chat::cmd::KickChatter& request);
    void setAnnouncement(Session& s, const chat::cmd::SetAnnouncement& request);
    void setSystemMessage(Session& s, const chat::cmd::SetSystemMessage& request);
    void setRollingMessage(Session& s, const chat::cmd::SetRollingMessage& request);
    void setAccountLevel(Session& s, const chat::cmd::SetAccountLevel& request);
    void resetNickname(Session& s, const chat::cmd::ResetNickname& request);
    void setRoomSettings(Session& s, const chat::cmd::SetRoomSettings& request);
    void addLimit(Session& s, const chat::cmd::AddRoomLimit& request);
    void queryLimits(Session& s, const chat::cmd::QueryRoomLimits& request);
    void deleteLimit(Session& s, const chat::cmd::DeleteRoomLimit& request);
    void clearExpiredLimits(Session& s);
    void queryAdmins(Session& s, uint32_t roomId);
    void queryOwners(Session& s, uint32_t roomId);
    void setOwners(Session& s, const chat::cmd::SetRoomOwners& request);
    void changeAdmin(Session& s, uint32_t roomId, const std::string& account, bool add);
    void queryRights(Session& s, const chat::cmd::QueryUserRights& request);
    void setRights(Session& s, const chat::cmd::SetUserRights& request);
    void setAllowedRoles(Session& s, const chat::cmd::SetAllowedRoles& request);
    void queryAllowedRoles(Session& s, uint32_t roomId);
    void giveVip(Session& s, std::span<const uint8_t> packet);
    // Makes the accounts VIP and announces it in the room.
    void grantVip(Room& room, uint32_t hours, const std::vector<std::string>& accounts);
    void drawRandomVip(const chat::RandomVipDraw& draw);
    void queryRandomVip(Session& s, uint32_t roomId);
    void setRandomVip(Session& s, std::span<const uint8_t> packet);
    void reload(Session& s);

    // The room, when `s` may administer it: with `right`, or (nullopt) as its owner or a system
    // administrator. Otherwise refuses the request (no such room, no right) and gives null.
    Room* administeredRoom(Session& s, uint32_t roomId, std::optional<chat::RoomRight> right);
    // Staff, the room's owner, or a holder of `right` in the room.
    bool mayAdminister(const Session& s, const Room& room, chat::RoomRight right) const;
    bool isOwner(const Session& s, const Room& room) const;
    uint32_t roomRoleFlags(const std::string& account, const Room& room) const;
    bool catchesWord(const std::u16string& text, bool nickname) const;
    const RoomLimit* findLimit(const Room& room, chat::cmd::LimitKind kind,
                               const chat::ChatterRecord& record) const;
    Room* findRoom(uint32_t roomId);
    Member* findMember(Room& room, uint32_t chatterId);
    Session* findOnline(const std::string& account);

    void refuse(Session& s, int32_t roomId, const std::string& utf8Text);
    void sendTo(Session& s, SharedPacket packet);
    void broadcast(Room& room, const SharedPacket& packet);
    void broadcastAll(const SharedPacket& packet);
    SharedPacket roomListPacket() const;
    SharedPacket chatterListPacket(const Room& room) const;
    std::vector<uint8_t> rightsStream(const std::string& account,
                                      std::optional<int32_t> onlyRoom) const;
    void log(const std::string& line) const;
    void logAccount(const Session& s, const std::string& what) const;

    void addBots();
    void letBotsGreet(Room& room, const std::u16string& newcomer);
    void letBotsAnswer(Room& room, const chat::cmd::ChatMessage& message,
                       std::span<const uint8_t> said);
    void botSays(DemoBot& bot, Room& room, const std::u16string& text, int32_t targetId);
    void restartBotLines(Room& room);
    void letBotsSayLines(Clock::time_point now);
    // The human chatter who entered the room last; null when there is none.
    Member* newestHuman(Room& room);
    void sendInRoom(Room& room, int32_t targetId, const SharedPacket& said);

    ServerConfig config_;
    std::string configPath_;
    LogFunction log_;
    std::map<Session*, std::unique_ptr<Session>> sessions_;
    std::map<uint32_t, Room> rooms_;
    std::vector<std::unique_ptr<DemoBot>> bots_;
    std::map<uint32_t, DemoBot*> botsById_;
    std::map<uint32_t, chat::RandomVipDraw> randomVip_;
    std::map<uint32_t, Clock::time_point> nextDraw_;  // by room, for the draws that run
    std::function<void()> scheduleChanged_;
    std::mt19937 random_{std::random_device{}()};
    uint32_t nextChatterId_ = 1;
    uint64_t arrivals_ = 0;
    int32_t botSequence_ = 0;
    uint32_t nextPrivateRoomId_ = kFirstPrivateRoomId;
    SharedPacket heartbeat_;
};

// Builds a packet of a compressible command, compressing its body when it is large.
SharedPacket compressedWhenLarge(std::vector<uint8_t> packet);

}  // namespace chatserver
