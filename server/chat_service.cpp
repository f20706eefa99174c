#include "chat_service.h"

#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <iterator>

#include "admin/room_limit.h"
#include "demo_bot.h"
#include "message_text.h"
#include "util/byte_stream.h"
#include "util/little_endian.h"
#include "util/text_codec.h"

namespace chatserver {

using chat::ChatterRecord;
using chat::CommandId;
namespace cmd = chat::cmd;

namespace {

constexpr const char* kNoRight = "您没有执行此操作的权限";
constexpr const char* kNoRoom = "没有这个房间";

// Bodies above this size are sent compressed (room list, chatter list).
constexpr size_t kCompressAbove = 8192;

std::u16string u16(const std::string& utf8) {
    return chat::utf8ToUtf16(utf8);
}

bool catches(const std::set<std::u16string>& words, const std::u16string& text) {
    return std::any_of(words.begin(), words.end(), [&](const std::u16string& word) {
        return text.find(word) != std::u16string::npos;
    });
}

std::u16string trimmed(const std::u16string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] >= 1 && text[first] <= 32)
        ++first;
    while (last > first && text[last - 1] >= 1 && text[last - 1] <= 32)
        --last;
    return text.substr(first, last - first);
}

bool sameTarget(const RoomLimit& a, const chat::cmd::LimitTarget& b) {
    return a.account == b.account && a.mac == b.mac && a.ip == b.ip && a.mask == b.mask;
}

std::time_t toTime(const chat::SystemTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

// Days since 30 December 1899, local time: the end times of the room limits stream.
double automationDate(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    const auto day = std::chrono::sys_days(std::chrono::year(local.tm_year + 1900) /
                                           (local.tm_mon + 1) / local.tm_mday);
    const auto epoch = std::chrono::sys_days(std::chrono::year(1899) / 12 / 30);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<double>((day - epoch).count()) + seconds / 86400.0;
}

// "127.0.0.1" from an address in network byte order, as the wire's chatter records hold it.
std::string dottedAddress(uint32_t ip) {
    uint8_t bytes[4];
    chat::storeLE(bytes, ip);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
           std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

}  // namespace

SharedPacket compressedWhenLarge(std::vector<uint8_t> packet) {
    const size_t bodySize = packet.size() - kPacketHeaderSize;
    if (bodySize > kCompressAbove) {
        uLongf compressedSize = compressBound(bodySize);
        std::vector<uint8_t> compressed(kPacketHeaderSize + compressedSize);
        if (compress2(compressed.data() + kPacketHeaderSize, &compressedSize,
                      packet.data() + kPacketHeaderSize, bodySize, Z_BEST_SPEED) == Z_OK) {
            compressed.resize(kPacketHeaderSize + compressedSize);
            PacketHeader header = PacketHeader::read(packet.data());
            header.size = static_cast<uint32_t>(compressed.size());
            header.compressed = 1;
            header.write(compressed.data());
            packet = std::move(compressed);
        }
    }
    if (packet.size() > kMaxPacketSize) {
        throw std::length_error("packet too large for the receiver");
    }
    return std::make_shared<const std::vector<uint8_t>>(std::move(packet));
}

// ---- Session ---------------------------------------------------------------------------------

Session::Session(ChatService& service, PacketSink& sink, uint32_t peerIp)
    : service_(service),
      sink_(sink),
      framer_([this](std::span<const uint8_t> packet) { return service_.handle(*this, packet); },
              nullptr),
      peerIp_(peerIp) {}

bool Session::receive(std::span<const uint8_t> bytes) {
    if (!closeReason_.empty()) {
        return false;
    }
    bool ok = false;
    try {
        ok = framer_.feed(bytes);
    } catch (const std::exception& e) {
        closeReason_ = std::string("internal error: ") + e.what();
        return false;
    }
    if (!ok && closeReason_.empty()) {
        closeReason_ = "packet size out of range";
    }
    return ok;
}

// ---- ChatService -----------------------------------------------------------------------------

ChatService::ChatService(ServerConfig config, std::string configPath, LogFunction log)
    : config_(std::move(config)),
      configPath_(std::move(configPath)),
      log_(std::move(log)),
      heartbeat_(packet(cmd::Heartbeat{})) {
    for (const RoomConfig& room : config_.rooms) {
        rooms_[room.id].config = room;
    }
    addBots();
}

ChatService::~ChatService() = default;

void ChatService::addBots() {
    for (const BotConfig& botConfig : config_.bots) {
        auto bot = std::make_unique<DemoBot>(botConfig, nextChatterId_++, Clock::now());
        Room& room = rooms_.at(botConfig.roomId);
        Member member{bot->record(), nullptr};
        member.record.roleFlags |= roomRoleFlags(botConfig.account, room);
        room.members[bot->record().chatterId] = member;
        botsById_[bot->record().chatterId] = bot.get();
        bots_.push_back(std::move(bot));
    }
}

Session& ChatService::open(PacketSink& sink, uint32_t peerIp) {
    auto session = std::make_unique<Session>(*this, sink, peerIp);
    Session& result = *session;
    sessions_[&result] = std::move(session);
    return result;
}

void ChatService::close(Session& s, const std::string& reason) {
    if (s.stage_ == Session::Stage::Ready) {
        logAccount(s, "disconnected: " + reason);
    } else {
        log("connection from " + dottedAddress(s.peerIp_) + " closed before login: " + reason);
    }
    const std::set<uint32_t> rooms = s.rooms_;
    for (uint32_t roomId : rooms) {
        leaveRoom(roomId, s.chatterId_);
    }
    sessions_.erase(&s);
}

void ChatService::heartbeat() {
    for (auto& [session, owned] : sessions_) {
        sendTo(*session, heartbeat_);
    }
}

size_t ChatService::chattersIn(uint32_t roomId) const {
    auto it = rooms_.find(roomId);
    return it == rooms_.end() ? 0 : it->second.members.size();
}

void ChatService::log(const std::string& line) const {
    if (log_)
        log_(line);
}

void ChatService::logAccount(const Session& s, const std::string& what) const {
    if (log_)
        log_("\"" + chat::gbkToUtf8(s.account_) + "\" " + what);
}

void ChatService::sendTo(Session& s, SharedPacket p) {
    s.sink_.send(std::move(p));
}

void ChatService::broadcast(Room& room, const SharedPacket& p) {
    for (auto& [id, member] : room.members) {
        if (member.session)
            member.session->sink_.send(p);
    }
}

void ChatService::broadcastAll(const SharedPacket& p) {
    for (auto& [session, owned] : sessions_) {
        if (session->stage_ == Session::Stage::Ready)
            session->sink_.send(p);
    }
}

void ChatService::refuse(Session& s, int32_t roomId, const std::string& utf8Text) {
    sendTo(s, packet(cmd::FailWithMessage{roomId, u16(utf8Text)}));
}

ChatService::Room* ChatService::findRoom(uint32_t roomId) {
    auto it = rooms_.find(roomId);
    return it == rooms_.end() ? nullptr : &it->second;
}

ChatService::Member* ChatService::findMember(Room& room, uint32_t chatterId) {
    auto it = room.members.find(chatterId);
    return it == room.members.end() ? nullptr : &it->second;
}

Session* ChatService::findOnline(const std::string& account) {
    for (auto& [session, owned] : sessions_) {
        if (session->stage_ == Session::Stage::Ready && session->account_ == account) {
            return session;
        }
    }
    return nullptr;
}

uint32_t ChatService::roomRoleFlags(const std::string& account, const Room& room) const {
    uint32_t flags = 0;
    if (room.config.owners.contains(account))
        flags |= chat::AccountLevel::kRoomOwner;
    if (room.config.administrators.contains(account))
        flags |= chat::AccountLevel::kRoomAdmin;
    return flags;
}

bool ChatService::isOwner(const Session& s, const Room& room) const {
    return room.config.owners.contains(s.account_);
}

bool ChatService::mayAdminister(const Session& s, const Room& room, chat::RoomRight right) const {
    if ((s.level_ & chat::AccountLevel::kStaff) != 0 || isOwner(s, room))
        return true;
    auto account = config_.rights.find(s.account_);
    return account != config_.rights.end() &&
           account->second.has(right, static_cast<int32_t>(room.config.id));
}

ChatService::Room* ChatService::administeredRoom(Session& s, uint32_t roomId,
                                                 std::optional<chat::RoomRight> right) {
    Room* room = findRoom(roomId);
    if (!room) {
        refuse(s, 0, kNoRoom);
        return nullptr;
    }
    const bool allowed =
        right ? mayAdminister(s, *room, *right)
              : (s.level_ & chat::AccountLevel::kSystemAdmin) != 0 || isOwner(s, *room);
    if (!allowed) {
        refuse(s, static_cast<int32_t>(roomId), kNoRight);
        return nullptr;
    }
    return room;
}

bool ChatService::catchesWord(const std::u16string& text, bool nickname) const {
    return catches(config_.keywords, text) || (nickname && catches(config_.invalidNicknames, text));
}

const RoomLimit* ChatService::findLimit(const Room& room, cmd::LimitKind kind,
                                        const ChatterRecord& record) const {
    const std::time_t now = std::time(nullptr);
    for (const RoomLimit& limit : room.config.limits) {
        if (limit.kind != kind || limit.end <= now)
            continue;
        const bool byAccount = !limit.account.empty() && limit.account == record.account;
        const bool byMac = limit.mac != std::array<uint8_t, 6>{} && limit.mac == record.mac;
        const bool byIp = limit.ip != 0 && (limit.ip & limit.mask) == (record.ip & limit.mask);
        if (byAccount || byMac || byIp)
            return &limit;
    }
    return nullptr;
}

// ---- packets ---------------------------------------------------------------------------------

bool ChatService::handle(Session& s, std::span<const uint8_t> p) {
    if (s.stage_ != Session::Stage::Ready) {
        return handleBeforeLogin(s, p);
    }
    const uint16_t command = PacketHeader::read(p.data()).command;
    try {
        handleRequest(s, command, p);
    } catch (const std::exception& e) {
        // A packet too short for its command, or an unknown command.
        s.closeReason_ = e.what();
        return false;
    }
    return true;
}

bool ChatService::handleBeforeLogin(Session& s, std::span<const uint8_t> p) {
    const uint16_t command = PacketHeader::read(p.data()).command;
    if (command == static_cast<uint16_t>(CommandId::Heartbeat)) {
        return true;
    }
    if (s.stage_ == Session::Stage::AwaitingHello) {
        auto hello = chat::readPacket<cmd::Hello>(p);
        if (!hello) {
            s.closeReason_ = "expected hello, got command " + std::to_string(command);
            return false;
        }
        if (hello->version != cmd::kProtocolVersion) {
            sendTo(s, packet(cmd::ClientVersionRefused{}));
            s.closeReason_ = "client version " + std::to_string(hello->version) + " refused";
            return false;
        }
        s.stage_ = Session::Stage::AwaitingLogin;
        sendTo(s, packet(cmd::Welcome{}));
        return true;
    }
    auto login = chat::readPacket<cmd::Login>(p);
    if (!login) {
        s.closeReason_ = "expected login, got command " + std::to_string(command);
        return false;
    }
    auto refuse = [&](int32_t code, const std::string& reason) {
        sendTo(s, packet(cmd::LoginRefused{code, u16(reason)}));
        s.closeReason_ = "login of \"" + chat::gbkToUtf8(login->account) + "\" refused: " + reason;
        return false;
    };
    const AccountConfig* account = config_.findAccount(login->account);
    if (!account)
        return refuse(4, "帐号不存在");
    if (account->passwordDigest != login->passwordDigest)
        return refuse(1, "密码错误");
    if (findOnline(account->account))
        return refuse(2, "该帐号已经登录");
    s.account_ = account->account;
    s.level_ = account->level;
    s.mac_ = login->mac;
    s.chatterId_ = nextChatterId_++;
    s.stage_ = Session::Stage::Ready;
    logAccount(s, "logged in as chatter " + std::to_string(s.chatterId_) + " from " +
                      dottedAddress(s.peerIp_));
    sendTo(s, packet(cmd::LoginAccepted{s.chatterId_, s.level_}));
    sendLoginLists(s);
    if (!config_.systemMessage.empty()) {
        sendTo(s, packet(cmd::SystemMessage{config_.systemMessageIntervalSeconds,
                                            config_.systemMessage}));
    }
    return true;
}

void ChatService::sendLoginLists(Session& s) {
    sendTo(s, roomListPacket());
    sendTo(s, compressedWhenLarge(chat::buildPacket(cmd::KeywordList{config_.keywords})));
    sendTo(s, compressedWhenLarge(
                  chat::buildPacket(cmd::InvalidNicknameList{config_.invalidNicknames})));
    sendTo(s, packet(cmd::SelfRights{rightsStream(s.account_, std::nullopt)}));
}

SharedPacket ChatService::roomListPacket() const {
    cmd::RoomList list;
    for (const auto& [id, room] : rooms_) {
        if (room.isPrivate)
            continue;
        chat::RoomRecord record;
        record.entryLength = chat::RoomRecord::kSize;
        record.roomId = id;
        record.attributes = room.config.attributes;
        record.name = room.config.name;
        record.rollingMessage = room.config.rollingMessage;
        record.rollingIntervalSeconds = room.config.rollingIntervalSeconds;
        list.rooms[id] = record;
    }
    return compressedWhenLarge(chat::buildPacket(list));
}

SharedPacket ChatService::chatterListPacket(const Room& room) const {
    cmd::RoomChatterList list;
    list.roomId = room.config.id;
    for (const auto& [id, member] : room.members)
        list.chatters.push_back(member.record);
    return compressedWhenLarge(chat::buildPacket(list));
}

std::vector<uint8_t> ChatService::rightsStream(const std::string& account,
                                               std::optional<int32_t> onlyRoom) const {
    chat::RightsList rights;
    auto it = config_.rights.find(account);
    if (it != config_.rights.end()) {
        for (const auto& [roomId, codes] : it->second.rooms()) {
            if (onlyRoom && *onlyRoom != roomId)
                continue;
            for (int32_t code : codes)
                rights.grant(code, roomId);
        }
    }
    tekna::OutputByteStream out;
    rights.write(out);
    return out.take();
}

template <class Command>
static Command read(std::span<const uint8_t> p) {
    auto result = chat::readPacket<Command>(p);
    if (!result) {
        throw std::runtime_error("malformed command " +
                                 std::to_string(static_cast<int>(Command::kId)));
    }
    return *std::move(result);
}

void ChatService::handleRequest(Session& s, uint16_t command, std::span<const uint8_t> p) {
    switch (static_cast<CommandId>(command)) {
        case CommandId::Heartbeat:
            return;
        case CommandId::RequestRoomChatterCounts:
            read<cmd::RequestRoomChatterCounts>(p);
            return sendChatterCounts(s);
        case CommandId::EnterRoom:
            return enterRoom(s, read<cmd::EnterRoom>(p));
        case CommandId::RequestRoomChatterList: {
            const auto request = read<cmd::RequestRoomChatterList>(p);
            Room* room = findRoom(request.roomId);
            if (room && s.rooms_.contains(request.roomId)) {
                // The client asks once its room is open: a watcher's sign that the room is open.
                logAccount(s, "asked for the chatters of room " + std::to_string(request.roomId));
                sendTo(s, chatterListPacket(*room));
                // Greeted only now: before its list a client does not know the bots and would
                // drop their words.
                if (const Member* self = findMember(*room, s.chatterId_)) {
                    letBotsGreet(*room, self->record.nickname);
                    restartBotLines(*room);
                }
            }
            return;
        }
        case CommandId::LeaveRoom: {
            const auto request = read<cmd::LeaveRoom>(p);
            if (s.rooms_.contains(request.roomId)) {
                logAccount(s, "left room " + std::to_string(request.roomId));
                leaveRoom(request.roomId, s.chatterId_);
            }
            return;
        }
        case CommandId::ChatMessage:
            return chat(s, read<cmd::ChatMessage>(p));
        case CommandId::PrivateChatRequest:
            return privateChat(s, read<cmd::PrivateChatRequest>(p));
        case CommandId::ChangeOwnChatterRecord:
            return changeNickname(s, read<cmd::ChangeOwnChatterRecord>(p));
        case CommandId::KickChatter:
            return kick(s, read<cmd::KickChatter>(p));
        case CommandId::SetAnnouncement:
            return setAnnouncement(s, read<cmd::SetAnnouncement>(p));
        case CommandId::SetSystemMessage:
            return setSystemMessage(s, read<cmd::SetSystemMessage>(p));
        case CommandId::SetRollingMessage:
            return setRollingMessage(s, read<cmd::SetRollingMessage>(p));
        case CommandId::SetAccountLevel:
            return setAccountLevel(s, read<cmd::SetAccountLevel>(p));
        case CommandId::ResetNickname:
            return resetNickname(s, read<cmd::ResetNickname>(p));
        case CommandId::SetRoomSettings:
            return setRoomSettings(s, read<cmd::SetRoomSettings>(p));
        case CommandId::AddRoomLimit:
            return addLimit(s, read<cmd::AddRoomLimit>(p));
        case CommandId::QueryRoomLimits:
            return queryLimits(s, read<cmd::QueryRoomLimits>(p));
        case CommandId::DeleteRoomLimit:
            return deleteLimit(s, read<cmd::DeleteRoomLimit>(p));
        case CommandId::ClearExpiredRoomLimits:
            read<cmd::ClearExpiredRoomLimits>(p);
            return clearExpiredLimits(s);
        case CommandId::QueryRoomAdmins:
            return queryAdmins(s, read<cmd::QueryRoomAdmins>(p).roomId);
        case CommandId::QueryRoomOwners:
            return queryOwners(s, read<cmd::QueryRoomOwners>(p).roomId);
        case CommandId::SetRoomOwners:
            return setOwners(s, read<cmd::SetRoomOwners>(p));
        case CommandId::AddRoomAdmin: {
            const auto request = read<cmd::AddRoomAdmin>(p);
            return changeAdmin(s, request.roomId, request.account, true);
        }
        case CommandId::DeleteRoomAdmin: {
            const auto request = read<cmd::DeleteRoomAdmin>(p);
            return changeAdmin(s, request.roomId, request.account, false);
        }
        case CommandId::QueryUserRights:
            return queryRights(s, read<cmd::QueryUserRights>(p));
        case CommandId::SetUserRights:
            return setRights(s, read<cmd::SetUserRights>(p));
        case CommandId::SetAllowedRoles:
            return setAllowedRoles(s, read<cmd::SetAllowedRoles>(p));
        case CommandId::QueryAllowedRoles:
            return queryAllowedRoles(s, read<cmd::QueryAllowedRoles>(p).roomId);
        case CommandId::GiveVip:
            return giveVip(s, p);
        case CommandId::QueryRandomVip:
            return queryRandomVip(s, read<cmd::QueryRandomVip>(p).roomId);
        case CommandId::SetRandomVip:
            return setRandomVip(s, p);
        case CommandId::NotifyKeywordsUpdated:
        case CommandId::NotifyRoomListUpdated:
        case CommandId::NotifyNicknameKeywordsUpdated:
            return reload(s);
        default:
            throw std::runtime_error("unknown command " + std::to_string(command));
    }
}

// ---- rooms and chat --------------------------------------------------------------------------

void ChatService::sendChatterCounts(Session& s) {
    cmd::RoomChatterCounts counts;
    for (const auto& [id, room] : rooms_) {
        if (room.isPrivate)
            continue;
        cmd::ChatterCountRecord record{};
        chat::storeLE(record.data(), id);
        chat::storeLE(record.data() + 4, static_cast<uint32_t>(room.members.size()));
        counts.counts.push_back(record);
    }
    sendTo(s, packet(counts));
}

void ChatService::enterRoom(Session& s, const cmd::EnterRoom& request) {
    Room* room = findRoom(request.roomId);
    auto answer = [&](int32_t result, const std::string& reason) {
        sendTo(s, packet(cmd::EnterRoomAnswer{request.roomId, result, chat::utf8ToGbk(reason)}));
    };
    if (!room || room->isPrivate)
        return answer(1, "没有这个房间");
    if (s.rooms_.contains(request.roomId))
        return answer(0, "");
    ChatterRecord record = request.record;
    record.chatterId = s.chatterId_;
    record.account = s.account_;
    record.mac = s.mac_;
    record.ip = s.peerIp_;
    record.roleFlags = s.level_ | roomRoleFlags(s.account_, *room);
    if (record.sex != 'M' && record.sex != 'F')
        record.sex = 'U';
    const bool staff = (s.level_ & chat::AccountLevel::kStaff) != 0;
    const std::u16string nickname = trimmed(record.nickname);
    if (nickname.empty() || (!staff && catchesWord(nickname, true))) {
        record.nickname = chat::gbkToUtf16(s.account_).substr(0, 11);
    }
    const uint32_t entryRoles = room->config.entryRoles;
    if (entryRoles != 0 && (record.roleFlags & (entryRoles | chat::AccountLevel::kStaff)) == 0) {
        return answer(2, "您的身份不允许进入本房间");
    }
    if (!staff && findLimit(*room, cmd::LimitKind::ForbidLogin, record)) {
        return answer(3, "您已被禁止进入本房间");
    }
    const uint32_t maxPeople = room->config.settings.maxPeople;
    if (!staff && maxPeople != 0 && room->members.size() >= maxPeople) {
        return answer(4, "房间人数已满");
    }
    room->members[s.chatterId_] = Member{record, &s, ++arrivals_};
    s.rooms_.insert(request.roomId);
    logAccount(s, "entered room " + std::to_string(request.roomId));
    answer(0, "");
    broadcast(*room, packet(cmd::ChatterEntered{request.roomId, record}));
    sendTo(s, packet(cmd::RoomSettings{room->config.settings}));
    if (!room->config.announcement.empty()) {
        sendTo(s, packet(cmd::AnnouncementUpdated{request.roomId, room->config.announcement}));
    }
}

void ChatService::letBotsGreet(Room& room, const std::u16string& newcomer) {
    for (auto& [id, member] : room.members) {
        auto bot = botsById_.find(id);
        if (bot == botsById_.end())
            continue;
        if (auto greeting = bot->second->greet(newcomer)) {
            botSays(*bot->second, room, *greeting, 0);
        }
    }
}

void ChatService::leaveRoom(uint32_t roomId, uint32_t chatterId) {
    Room* room = findRoom(roomId);
    if (!room)
        return;
    auto it = room->members.find(chatterId);
    if (it == room->members.end())
        return;
    if (it->second.session)
        it->second.session->rooms_.erase(roomId);
    room->members.erase(it);
    broadcast(*room, packet(cmd::ChatterLeft{roomId, chatterId}));
    if (room->isPrivate && room->members.empty())
        rooms_.erase(roomId);
}

void ChatService::chat(Session& s, cmd::ChatMessage message) {
    const uint32_t roomId = static_cast<uint32_t>(message.roomId);
    Room* room = findRoom(roomId);
    Member* speaker = room ? findMember(*room, s.chatterId_) : nullptr;
    if (!speaker)
        return refuse(s, 0, "您不在这个房间里");
    const bool staff = (s.level_ & chat::AccountLevel::kStaff) != 0;
    if (!staff && findLimit(*room, cmd::LimitKind::Mute, speaker->record)) {
        return refuse(s, message.roomId, "您已被禁言，暂时不能发言");
    }
    const auto now = Clock::now();
    const uint32_t interval = room->config.settings.speechIntervalMs;
    auto last = s.lastSpeech_.find(roomId);
    if (!staff && interval != 0 && last != s.lastSpeech_.end() &&
        now - last->second < std::chrono::milliseconds(interval)) {
        return refuse(s, message.roomId, "您发言太快了，请稍后再发");
    }
    s.lastSpeech_[roomId] = now;
    message.speakerId = static_cast<int32_t>(s.chatterId_);
    message.nickname = speaker->record.nickname;
    const SharedPacket said = packet(message);
    if (message.targetId == 0) {
        broadcast(*room, said);
    } else {
        Member* target = findMember(*room, static_cast<uint32_t>(message.targetId));
        if (!target)
            return refuse(s, message.roomId, "对方已不在这个房间里");
        sendTo(s, said);
        if (target->session)
            sendTo(*target->session, said);
    }
    letBotsAnswer(*room, message, *said);
}

void ChatService::letBotsAnswer(Room& room, const cmd::ChatMessage& message,
                                std::span<const uint8_t> said) {
    if (botsById_.contains(static_cast<uint32_t>(message.speakerId)))
        return;
    std::vector<DemoBot*> present;
    for (auto& [id, member] : room.members) {
        auto bot = botsById_.find(id);
        if (bot != botsById_.end())
            present.push_back(bot->second);
    }
    if (present.empty())
        return;
    const std::u16string text = messagePlainText(said);
    for (DemoBot* bot : present) {
        const bool whisperedToMe =
            message.targetId == static_cast<int32_t>(bot->record().chatterId);
        if (message.targetId != 0 && !whisperedToMe)
            continue;
        if (auto reply = bot->answer(text, whisperedToMe)) {
            botSays(*bot, room, *reply, whisperedToMe ? message.speakerId : 0);
        }
    }
}

void ChatService::botSays(DemoBot& bot, Room& room, const std::u16string& text, int32_t targetId) {
    sendInRoom(room, targetId,
               std::make_shared<const std::vector<uint8_t>>(
                   composeTextMessage({static_cast<int32_t>(room.config.id), ++botSequence_,
                                       static_cast<int32_t>(bot.record().chatterId), targetId,
                                       kBotColour, bot.record().nickname, text})));
}

void ChatService::sendInRoom(Room& room, int32_t targetId, const SharedPacket& said) {
    if (targetId == 0) {
        broadcast(room, said);
    } else if (Member* target = findMember(room, static_cast<uint32_t>(targetId));
               target && target->session) {
        sendTo(*target->session, said);
    }
}

void ChatService::restartBotLines(Room& room) {
    const auto now = Clock::now();
    for (auto& [id, member] : room.members) {
        if (auto bot = botsById_.find(id); bot != botsById_.end())
            bot->second->restartLines(now);
    }
    if (scheduleChanged_)
        scheduleChanged_();
}

ChatService::Member* ChatService::newestHuman(Room& room) {
    Member* newest = nullptr;
    for (auto& [id, member] : room.members) {
        if (member.session && (!newest || member.arrival > newest->arrival))
            newest = &member;
    }
    return newest;
}

void ChatService::letBotsSayLines(Clock::time_point now) {
    for (const auto& bot : bots_) {
        const BotLine* line = bot->takeDueLine(now);
        Room* room = line ? findRoom(bot->config().roomId) : nullptr;
        // Nobody to hear it: the line passes unsaid.
        Member* listener = room ? newestHuman(*room) : nullptr;
        if (!listener)
            continue;
        const int32_t targetId =
            line->whisper ? static_cast<int32_t>(listener->record.chatterId) : 0;
        sendInRoom(
            *room, targetId,
            std::make_shared<const std::vector<uint8_t>>(composeLineMessage(
                {static_cast<int32_t>(room->config.id), ++botSequence_,
                 static_cast<int32_t>(bot->record().chatterId), targetId, bot->record().nickname},
                *line)));
    }
}

void ChatService::privateChat(Session& s, const cmd::PrivateChatRequest& request) {
    Room* room = findRoom(request.roomId);
    Member* self = room ? findMember(*room, s.chatterId_) : nullptr;
    Member* other = self ? findMember(*room, request.chatterId) : nullptr;
    auto refused = [&](const std::string& text) {
        sendTo(s, packet(cmd::PrivateChatRefused{1, chat::utf8ToGbk(text)}));
    };
    if (!other || other == self)
        return refused("对方不在这个房间里");
    if (room->isPrivate)
        return refused("私聊房间里不能再请求私聊");
    constexpr uint32_t kPrivileged = chat::AccountLevel::kStaff | chat::AccountLevel::kRoomOwner |
                                     chat::AccountLevel::kRoomAdmin;
    if (((self->record.roleFlags | other->record.roleFlags) & kPrivileged) == 0) {
        return refused("您只能与客服、房主或房间管理员私聊");
    }
    if (!other->session)
        return refused("对方暂时不能私聊");
    const uint32_t privateId = nextPrivateRoomId_++;
    Room& privateRoom = rooms_[privateId];
    privateRoom.isPrivate = true;
    privateRoom.config.id = privateId;
    privateRoom.config.settings.roomId = privateId;
    privateRoom.config.settings.maxCharacters = room->config.settings.maxCharacters;
    privateRoom.config.settings.allowPictures = room->config.settings.allowPictures;
    privateRoom.config.settings.maxPictures = room->config.settings.maxPictures;
    privateRoom.config.settings.allowCustomTextStyle = true;
    privateRoom.members[s.chatterId_] = *self;
    privateRoom.members[request.chatterId] = *other;
    s.rooms_.insert(privateId);
    other->session->rooms_.insert(privateId);
    const SharedPacket created =
        packet(cmd::PrivateRoomCreated{privateId, self->record, other->record});
    broadcast(privateRoom, created);
}

void ChatService::changeNickname(Session& s, const cmd::ChangeOwnChatterRecord& request) {
    Room* room = findRoom(request.roomId);
    Member* self = room ? findMember(*room, s.chatterId_) : nullptr;
    if (!self)
        return refuse(s, 0, "您不在这个房间里");
    const std::u16string nickname = trimmed(request.record.nickname);
    if (nickname.empty())
        return refuse(s, static_cast<int32_t>(request.roomId), "昵称不能空");
    if ((s.level_ & chat::AccountLevel::kStaff) == 0 && catchesWord(nickname, true)) {
        return refuse(s, static_cast<int32_t>(request.roomId),
                      "抱歉，您指定的昵称含有不雅或敏感词，请重新选择");
    }
    self->record.nickname = nickname;
    const uint8_t sex = request.record.sex;
    self->record.sex = (sex == 'M' || sex == 'F') ? sex : 'U';
    broadcast(*room, packet(cmd::ChatterRecordChanged{self->record, request.roomId}));
}

// ---- administration --------------------------------------------------------------------------

void ChatService::kick(Session& s, const cmd::KickChatter& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::KickChatter);
    if (!room)
        return;
    const int32_t roomId = static_cast<int32_t>(request.roomId);
    Member* target = findMember(*room, request.chatterId);
    if (!target || request.chatterId == s.chatterId_) {
        return refuse(s, roomId, "对方已不在这个房间里");
    }
    const uint32_t flags = target->record.roleFlags;
    const bool protectedTarget =
        (flags & (chat::AccountLevel::kStaff | chat::AccountLevel::kRoomOwner)) != 0 ||
        ((flags & chat::AccountLevel::kRoomAdmin) != 0 && !isOwner(s, *room) &&
         (s.level_ & chat::AccountLevel::kStaff) == 0);
    if (protectedTarget)
        return refuse(s, roomId, "不能踢出客服、管理员或房主");
    Session* kicked = target->session;
    log("\"" + chat::gbkToUtf8(s.account_) + "\" kicked chatter " +
        std::to_string(request.chatterId) + " out of room " + std::to_string(request.roomId));
    if (kicked) {
        sendTo(*kicked, packet(cmd::FailWithMessage{roomId, u"您已被请出本房间"}));
        sendTo(*kicked, packet(cmd::RoomClosed{request.roomId}));
    }
    leaveRoom(request.roomId, request.chatterId);
}

void ChatService::setAnnouncement(Session& s, const cmd::SetAnnouncement& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomAffiche);
    if (!room)
        return;
    room->config.announcement = request.text;
    broadcast(*room, packet(cmd::AnnouncementUpdated{request.roomId, request.text}));
}

void ChatService::setSystemMessage(Session& s, const cmd::SetSystemMessage& request) {
    if ((s.level_ & chat::AccountLevel::kStaff) == 0)
        return refuse(s, 0, kNoRight);
    config_.systemMessage = request.text;
    config_.systemMessageIntervalSeconds = request.intervalSeconds;
    broadcastAll(packet(cmd::SystemMessage{request.intervalSeconds, request.text}));
}

void ChatService::setRollingMessage(Session& s, const cmd::SetRollingMessage& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomPeriodInfo);
    if (!room)
        return;
    room->config.rollingMessage = request.text;
    room->config.rollingIntervalSeconds = request.intervalSeconds;
    // The chatters in the room repeat it themselves from now on; everybody else learns it from
    // the room list, which their rooms start from when they enter later.
    broadcast(*room,
              packet(cmd::RollingMessage{request.roomId, request.intervalSeconds, request.text}));
    broadcastAll(roomListPacket());
}

void ChatService::setAccountLevel(Session& s, const cmd::SetAccountLevel& request) {
    auto result = [&](int32_t code, const std::string& text) {
        sendTo(s, packet(cmd::SetAccountLevelResult{code, chat::utf8ToGbk(text)}));
    };
    if ((s.level_ & chat::AccountLevel::kSystemAdmin) == 0)
        return result(1, kNoRight);
    auto account =
        std::find_if(config_.accounts.begin(), config_.accounts.end(),
                     [&](const AccountConfig& a) { return a.account == request.account; });
    if (account == config_.accounts.end())
        return result(2, "没有这个帐号");
    // Only the account-scope staff bits are edited; VIP stays as it was.
    account->level = (account->level & ~chat::AccountLevel::kAccountScope) |
                     (request.accountLevel & chat::AccountLevel::kAccountScope);
    if (Session* online = findOnline(account->account))
        online->level_ = account->level;
    result(0, "");
}

void ChatService::resetNickname(Session& s, const cmd::ResetNickname& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::ResetNickName);
    if (!room)
        return;
    const int32_t roomId = static_cast<int32_t>(request.roomId);
    Member* target = findMember(*room, request.record.chatterId);
    if (!target)
        return refuse(s, roomId, "对方已不在这个房间里");
    target->record.nickname = chat::gbkToUtf16(target->record.account).substr(0, 11);
    broadcast(*room, packet(cmd::ChatterRecordChanged{target->record, request.roomId}));
}

void ChatService::setRoomSettings(Session& s, const cmd::SetRoomSettings& request) {
    Room* room = administeredRoom(s, request.settings.roomId, chat::RoomRight::RoomProperties);
    if (!room)
        return;
    chat::RoomSettingBlock settings = request.settings;
    settings.blockSize = chat::RoomSettingBlock::kSize;
    settings.maxPeople = room->config.settings.maxPeople;  // not editable by the client
    room->config.settings = settings;
    broadcast(*room, packet(cmd::RoomSettings{settings}));
}

void ChatService::addLimit(Session& s, const cmd::AddRoomLimit& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomBlackList);
    if (!room)
        return;
    const int32_t roomId = static_cast<int32_t>(request.roomId);
    const auto& t = request.target;
    if (t.account.empty() && t.mac == std::array<uint8_t, 6>{} && t.ip == 0) {
        return refuse(s, roomId, "请指定帐号、MAC地址或IP地址");
    }
    RoomLimit limit{request.kind,           t.account,          t.mac, t.ip,
                    t.ip != 0 ? t.mask : 0, toTime(request.end)};
    std::erase_if(room->config.limits,
                  [&](const RoomLimit& l) { return l.kind == limit.kind && sameTarget(l, t); });
    room->config.limits.push_back(limit);
    if (limit.kind != cmd::LimitKind::ForbidLogin)
        return;
    std::vector<uint32_t> banned;
    for (auto& [id, member] : room->members) {
        if (member.session && (member.session->level_ & chat::AccountLevel::kStaff) == 0 &&
            findLimit(*room, cmd::LimitKind::ForbidLogin, member.record) ==
                &room->config.limits.back()) {
            banned.push_back(id);
        }
    }
    for (uint32_t id : banned) {
        sendTo(*room->members[id].session, packet(cmd::RoomClosed{request.roomId}));
        leaveRoom(request.roomId, id);
    }
}

void ChatService::queryLimits(Session& s, const cmd::QueryRoomLimits& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomBlackList);
    if (!room)
        return;
    auto limits = tekna::makeRef<chat::RoomLimit>(static_cast<int32_t>(request.roomId));
    for (const RoomLimit& limit : room->config.limits) {
        if (limit.kind != request.kind)
            continue;
        const double end = automationDate(limit.end);
        if (!limit.account.empty())
            limits->setAccount(limit.account, end);
        if (limit.mac != chat::MacAddress{})
            limits->setMac(limit.mac, end);
        if (limit.ip != 0)
            limits->setIpRange(chat::IpRange(limit.ip, limit.mask), end);
    }
    chat::RoomLimitList list;
    list.put(limits);
    tekna::OutputByteStream out;
    list.write(out);
    cmd::RoomLimits reply;
    reply.limitStream = out.take();
    sendTo(s, packet(reply));
}

void ChatService::deleteLimit(Session& s, const cmd::DeleteRoomLimit& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomBlackList);
    if (!room)
        return;
    std::erase_if(room->config.limits, [&](const RoomLimit& l) {
        return l.kind == request.kind && sameTarget(l, request.target);
    });
}

void ChatService::clearExpiredLimits(Session& s) {
    const std::time_t now = std::time(nullptr);
    for (auto& [id, room] : rooms_) {
        if (mayAdminister(s, room, chat::RoomRight::RoomBlackList)) {
            std::erase_if(room.config.limits, [&](const RoomLimit& l) { return l.end <= now; });
        }
    }
}

void ChatService::queryAdmins(Session& s, uint32_t roomId) {
    Room* room = findRoom(roomId);
    if (!room)
        return refuse(s, 0, kNoRoom);
    cmd::RoomAdmins reply;
    reply.roomId = roomId;
    for (const std::string& a : room->config.administrators)
        reply.admins[a] = chat::AccountLevel::kRoomAdmin;
    for (const std::string& a : room->config.owners)
        reply.admins[a] = chat::AccountLevel::kRoomOwner;
    sendTo(s, packet(reply));
}

void ChatService::queryOwners(Session& s, uint32_t roomId) {
    Room* room = administeredRoom(s, roomId, std::nullopt);
    if (!room)
        return;
    cmd::RoomOwners reply;
    reply.room.roomId = roomId;
    reply.room.maxPeople = room->config.settings.maxPeople;
    reply.room.roomName = room->config.name;
    reply.owners.assign(room->config.owners.begin(), room->config.owners.end());
    sendTo(s, packet(reply));
}

void ChatService::setOwners(Session& s, const cmd::SetRoomOwners& request) {
    Room* room = findRoom(request.room.roomId);
    if (!room)
        return refuse(s, 0, kNoRoom);
    if ((s.level_ & chat::AccountLevel::kSystemAdmin) == 0) {
        return refuse(s, static_cast<int32_t>(room->config.id), kNoRight);
    }
    room->config.owners = std::set<std::string>(request.owners.begin(), request.owners.end());
    room->config.settings.maxPeople = request.room.maxPeople;
    sendTo(s, packet(cmd::Success{chat::utf8ToGbk("房主已设置")}));
}

void ChatService::changeAdmin(Session& s, uint32_t roomId, const std::string& account, bool add) {
    Room* room = administeredRoom(s, roomId, std::nullopt);
    if (!room)
        return;
    if (account.empty())
        return refuse(s, static_cast<int32_t>(roomId), "帐号不能为空");
    if (add) {
        room->config.administrators.insert(account);
    } else {
        room->config.administrators.erase(account);
    }
    queryAdmins(s, roomId);
}

void ChatService::queryRights(Session& s, const cmd::QueryUserRights& request) {
    Room* room = administeredRoom(s, request.roomId, std::nullopt);
    if (!room)
        return;
    cmd::UserRights reply;
    reply.block.account = request.account;
    reply.block.roomId = request.roomId;
    reply.rightsStream = rightsStream(request.account, static_cast<int32_t>(request.roomId));
    sendTo(s, packet(reply));
}

void ChatService::setRights(Session& s, const cmd::SetUserRights& request) {
    const uint32_t roomId = request.block.roomId;
    Room* room = administeredRoom(s, roomId, std::nullopt);
    if (!room)
        return;
    const std::string& account = request.block.account;
    if (account.empty())
        return refuse(s, static_cast<int32_t>(roomId), "帐号不能为空");
    // The grant replaces the account's rights in this room only; known codes only.
    chat::RightsList granted;
    tekna::InputByteStream in(request.rightsStream);
    granted.read(in);
    chat::RightsList& rights = config_.rights[account];
    chat::RightsList updated;
    for (const auto& [grantRoom, codes] : rights.rooms()) {
        if (grantRoom == static_cast<int32_t>(roomId))
            continue;
        for (int32_t code : codes)
            updated.grant(code, grantRoom);
    }
    if (auto codes = granted.rooms().find(static_cast<int32_t>(roomId));
        codes != granted.rooms().end()) {
        for (int32_t code : codes->second) {
            if (code >= static_cast<int32_t>(chat::RoomRight::RoomProperties) &&
                code <= static_cast<int32_t>(chat::RoomRight::ViewChatterAddress))
                updated.grant(code, static_cast<int32_t>(roomId));
        }
    }
    rights = updated;
    sendTo(s, packet(cmd::Success{chat::utf8ToGbk("权限已设置")}));
    if (Session* online = findOnline(account))
        sendTo(*online, packet(cmd::SelfRights{rightsStream(account, std::nullopt)}));
}

void ChatService::setAllowedRoles(Session& s, const cmd::SetAllowedRoles& request) {
    Room* room = administeredRoom(s, request.roomId, chat::RoomRight::RoomAccessRoles);
    if (!room)
        return;
    room->config.entryRoles = request.allowLevel;
    queryAllowedRoles(s, request.roomId);
}

void ChatService::queryAllowedRoles(Session& s, uint32_t roomId) {
    Room* room = findRoom(roomId);
    if (!room)
        return refuse(s, 0, kNoRoom);
    sendTo(s, packet(cmd::AllowedRoles{roomId, room->config.entryRoles}));
}

void ChatService::giveVip(Session& s, std::span<const uint8_t> p) {
    const auto request = read<cmd::GiveVip>(p);
    Room* room = findRoom(request.gift.roomId);
    if (!room)
        return refuse(s, 0, kNoRoom);
    const int32_t roomId = static_cast<int32_t>(request.gift.roomId);
    if ((s.level_ & chat::AccountLevel::kSystemAdmin) == 0)
        return refuse(s, roomId, kNoRight);
    if (!config_.operationPasswordDigest ||
        *config_.operationPasswordDigest != request.gift.passwordDigest) {
        return refuse(s, roomId, "操作密码错误");
    }
    grantVip(*room, request.gift.hours, request.accounts);
}

void ChatService::grantVip(Room& room, uint32_t hours, const std::vector<std::string>& accounts) {
    for (AccountConfig& account : config_.accounts) {
        if (std::find(accounts.begin(), accounts.end(), account.account) != accounts.end()) {
            account.level |= chat::AccountLevel::kVip;
            if (Session* online = findOnline(account.account))
                online->level_ = account.level;
        }
    }
    cmd::VipGiven notice;
    notice.gift.hours = hours;
    notice.gift.roomId = room.config.id;
    notice.accounts = accounts;
    broadcast(room, packet(notice));
}

void ChatService::queryRandomVip(Session& s, uint32_t roomId) {
    if ((s.level_ & chat::AccountLevel::kSystemAdmin) == 0)
        return refuse(s, 0, kNoRight);
    auto [draw, added] = randomVip_.try_emplace(roomId);
    if (added) {
        draw->second.roomId = roomId;
        draw->second.drawIntervalMs = 3600000;
        draw->second.winners = 1;
        draw->second.vipHours = 24;
    }
    sendTo(s, packet(cmd::RandomVipSettings{draw->second}));
}

void ChatService::setRandomVip(Session& s, std::span<const uint8_t> p) {
    const auto request = read<cmd::SetRandomVip>(p);
    auto result = [&](uint32_t code, const std::string& text) {
        sendTo(s, packet(cmd::SetRandomVipResult{code, u16(text)}));
    };
    if ((s.level_ & chat::AccountLevel::kSystemAdmin) == 0)
        return result(1, kNoRight);
    if (!config_.operationPasswordDigest ||
        *config_.operationPasswordDigest != request.passwordDigest) {
        return result(2, "操作密码错误");
    }
    const chat::RandomVipDraw& draw = randomVip_[request.draw.roomId] = request.draw;
    if (draw.drawIntervalMs != 0 && draw.winners != 0) {
        nextDraw_[draw.roomId] = Clock::now() + std::chrono::milliseconds(draw.drawIntervalMs);
    } else {
        nextDraw_.erase(draw.roomId);
    }
    if (scheduleChanged_)
        scheduleChanged_();
    result(0, "随机抽取VIP设置成功");
}

std::optional<ChatService::Clock::time_point> ChatService::nextScheduled() const {
    std::optional<Clock::time_point> next;
    auto consider = [&next](Clock::time_point due) {
        if (!next || due < *next)
            next = due;
    };
    for (const auto& [roomId, due] : nextDraw_)
        consider(due);
    for (const auto& bot : bots_) {
        if (const auto due = bot->nextLineDue())
            consider(*due);
    }
    return next;
}

void ChatService::runScheduled(Clock::time_point now) {
    letBotsSayLines(now);
    const std::time_t wallNow = std::time(nullptr);
    for (auto it = nextDraw_.begin(); it != nextDraw_.end();) {
        const chat::RandomVipDraw& draw = randomVip_.at(it->first);
        if (draw.end.year != 0 && toTime(draw.end) < wallNow) {
            it = nextDraw_.erase(it);  // the draw period is over
            continue;
        }
        if (it->second <= now) {
            if (draw.start.year == 0 || toTime(draw.start) <= wallNow)
                drawRandomVip(draw);
            // A late tick starts the next interval now rather than catching up with a burst.
            const auto interval = std::chrono::milliseconds(draw.drawIntervalMs);
            it->second += interval;
            if (it->second <= now)
                it->second = now + interval;
        }
        ++it;
    }
}

void ChatService::drawRandomVip(const chat::RandomVipDraw& draw) {
    Room* room = findRoom(draw.roomId);
    if (!room)
        return;
    // Ordinary chatters only, as for a gift by hand: no role in the room, no VIP yet.
    std::vector<std::string> candidates;
    for (const auto& [id, member] : room->members) {
        if (member.session && (member.record.roleFlags | member.session->level_) == 0)
            candidates.push_back(member.session->account_);
    }
    std::vector<std::string> winners;
    std::sample(candidates.begin(), candidates.end(), std::back_inserter(winners), draw.winners,
                random_);
    if (winners.empty())
        return;
    std::string names;
    for (const std::string& account : winners)
        names += (names.empty() ? "\"" : ", \"") + chat::gbkToUtf8(account) + "\"";
    log("random VIP draw in room " + std::to_string(draw.roomId) + ": " + names);
    grantVip(*room, draw.vipHours, winners);
}

void ChatService::reload(Session& s) {
    if ((s.level_ & chat::AccountLevel::kStaff) == 0)
        return refuse(s, 0, kNoRight);
    if (configPath_.empty())
        return refuse(s, 0, "服务器没有配置文件可重新读取");
    ServerConfig fresh;
    try {
        fresh = loadServerConfig(configPath_);
    } catch (const ConfigError& e) {
        log(std::string("reload failed: ") + e.what());
        return refuse(s, 0, std::string("配置文件有误：") + e.what());
    }
    config_.keywords = std::move(fresh.keywords);
    config_.invalidNicknames = std::move(fresh.invalidNicknames);
    for (const RoomConfig& roomConfig : fresh.rooms) {
        // A new room is taken whole; a known one keeps what was changed at run time, except
        // for what the room list shows.
        auto [it, added] = rooms_.try_emplace(roomConfig.id);
        Room& room = it->second;
        if (added) {
            room.config = roomConfig;
            continue;
        }
        room.config.name = roomConfig.name;
        room.config.attributes = roomConfig.attributes;
        room.config.rollingMessage = roomConfig.rollingMessage;
        room.config.rollingIntervalSeconds = roomConfig.rollingIntervalSeconds;
    }
    log("lists reloaded from " + configPath_);
    const SharedPacket rooms = roomListPacket();
    const SharedPacket keywords =
        compressedWhenLarge(chat::buildPacket(cmd::KeywordList{config_.keywords}));
    const SharedPacket nicknames =
        compressedWhenLarge(chat::buildPacket(cmd::InvalidNicknameList{config_.invalidNicknames}));
    broadcastAll(rooms);
    broadcastAll(keywords);
    broadcastAll(nicknames);
}

}  // namespace chatserver
