#include "client/client_processors.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "client/chat_client.h"
#include "protocol/commands/commands.h"
#include "protocol/tcp_packet.h"
#include "util/little_endian.h"

namespace chat {

namespace {

using Processor = TcpPacketProcessor::Processor<ChatClient>;

// The command of a packet, or "无效数据" when the packet cannot hold it.
template <class Command>
Command read(std::span<const uint8_t> packet) {
    ReadResult<Command> command = readPacket<Command>(packet);
    if (!command) {
        throw std::runtime_error("无效数据");
    }
    return *std::move(command);
}

// Commands whose arrival needs nothing done.
class NothingToDoProcessor : public Processor {
  public:
    bool process(ChatClient&, std::span<const uint8_t>) override { return true; }
};

// Commands that end the connection without a word of their own.
class RefusalProcessor : public Processor {
  public:
    bool process(ChatClient&, std::span<const uint8_t>) override { return false; }
};

class CmdHeartbeatProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t>) override {
        client.onHeartbeat();
        return true;
    }
};

class CmdSuccessProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onServerText("收到服务器应答：", read<cmd::Success>(packet).text);
        return true;
    }
};

class CmdFailProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onServerText("服务器返回Fail信息：", read<cmd::Fail>(packet).text);
        return true;
    }
};

class CmdFail2Processor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::FailWithMessage>(packet);
        client.onFailWithMessage(c.roomId, c.text);
        return true;
    }
};

class CmdWelcomeProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t>) override {
        client.onWelcome();
        return true;
    }
};

class CmdLoginOkProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::LoginAccepted>(packet);
        client.onLoginAccepted(c.chatterId, c.accountLevel);
        return true;
    }
};

class CmdChatterEnterRoomS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::ChatterEntered>(packet);
        client.onChatterEntered(static_cast<int32_t>(c.roomId), c.record);
        return true;
    }
};

class CmdChatterExitRoomS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::ChatterLeft>(packet);
        client.onChatterLeft(static_cast<int32_t>(c.roomId), static_cast<int32_t>(c.chatterId));
        return true;
    }
};

class CmdResponseRoomChatterListS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const TcpPacket::HeadAndRecords list = TcpPacket::decodeHeadAndRecords(packet);
        std::vector<ChatterRecord> chatters;
        chatters.reserve(list.records.size());
        for (const auto& record : list.records) {
            chatters.push_back(ChatterRecord::decode(record));
        }
        client.onRoomChatterList(loadLE<int32_t>(list.head.data()), chatters);
        return true;
    }
};

class CmdChatProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onChatMessage(packet);
        return true;
    }
};

class CmdChatResponseToSpeakerProcessor : public NothingToDoProcessor {};

class CmdChatterPropChange2Processor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::ChatterRecordChanged>(packet);
        client.onChatterRecordChanged(c.record, static_cast<int32_t>(c.roomId));
        return true;
    }
};

class CmdKeywordFilterListS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onKeywordList(packet);
        return true;
    }
};

class CmdInvalidNickNameListS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onInvalidNicknameList(packet);
        return true;
    }
};

class CmdRoomListS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        return client.onRoomList(packet);
    }
};

class CmdLoginFailS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::LoginRefused>(packet);
        client.onLoginRefused(c.code, c.reason);
        return false;
    }
};

class CmdInvalidClientVersionS2CProcessor : public RefusalProcessor {};

class CmdUpdateAfficheS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        auto c = read<cmd::AnnouncementUpdated>(packet);
        client.onAnnouncementUpdated(static_cast<int32_t>(c.roomId), std::move(c.text));
        return true;
    }
};

class CmdPrivateRoomCreatedS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::PrivateRoomCreated>(packet);
        client.onPrivateRoomCreated(static_cast<int32_t>(c.roomId), c.first, c.second);
        return true;
    }
};

class CmdPrivateRoomServer2CallerProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::PrivateChatRefused>(packet);
        client.onPrivateChatRefused(c.result, c.text);
        return true;
    }
};

class CmdChatRoomDestroyS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.leaveRoom(static_cast<int32_t>(read<cmd::RoomClosed>(packet).roomId));
        return true;
    }
};

class CmdResponseEnterRoomS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::EnterRoomAnswer>(packet);
        client.onEnterRoomAnswer(static_cast<int32_t>(c.roomId), c.result, c.reason);
        return true;
    }
};

class CmdNotifyChatterDisabledS2CProcessor : public RefusalProcessor {};

class CmdKickoutS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::KickedOut>(packet);
        client.onKickedOut(c.code, c.reason);
        return false;
    }
};

class CmdRoomPeriodInfoS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::RollingMessage>(packet);
        client.onRollingMessage(static_cast<int32_t>(c.roomId), c.intervalSeconds, c.text);
        return true;
    }
};

class CmdRoomPeriodInfoRetListS2CProcessor : public NothingToDoProcessor {};

class CmdSysNotifyS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        auto c = read<cmd::SystemMessage>(packet);
        client.onSystemMessage(c.intervalSeconds, std::move(c.text));
        return true;
    }
};

class CmdSetAccountLevelS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::SetAccountLevelResult>(packet);
        client.onSetAccountLevelResult(c.result, c.text);
        return true;
    }
};

class CmdSetUsersVipTimeS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::VipGiven>(packet);
        client.onVipGiven(static_cast<int32_t>(c.gift.roomId), c.gift.hours, c.accounts);
        return true;
    }
};

class CmdAutoAddUsersVipTimeResponseS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onRandomVipSettings(read<cmd::RandomVipSettings>(packet));
        return true;
    }
};

class CmdAutoAddUsersVipTimeSetS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::SetRandomVipResult>(packet);
        client.onSetRandomVipResult(c.result, c.text);
        return true;
    }
};

class CmdAllRoomChatterCountS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onRoomChatterCounts(read<cmd::RoomChatterCounts>(packet).counts);
        return true;
    }
};

class CmdRoomSettingS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onRoomSettings(read<cmd::RoomSettings>(packet).settings);
        return true;
    }
};

class CmdResponseRoomLimitS2AProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onRoomLimits(read<cmd::RoomLimits>(packet).limitStream);
        return true;
    }
};

class CmdUserRightsS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::UserRights>(packet);
        client.onUserRights(c.block, c.rightsStream);
        return true;
    }
};

class CmdSelfRightsS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onSelfRights(read<cmd::SelfRights>(packet).rightsStream);
        return true;
    }
};

class CmdSysAdminQueryRoomSettingS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        const auto c = read<cmd::RoomOwners>(packet);
        client.onRoomOwners(c.room, c.owners);
        return true;
    }
};

class CmdResponseRoomAdminsS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onRoomAdmins(read<cmd::RoomAdmins>(packet).admins);
        return true;
    }
};

class CmdRoomAllowLevelResponseS2CProcessor : public Processor {
  public:
    bool process(ChatClient& client, std::span<const uint8_t> packet) override {
        client.onAllowedRoles(read<cmd::AllowedRoles>(packet).allowLevel);
        return true;
    }
};

template <class P>
void add(ProcessorRegistry<ChatClient>::ProcessorMap& processors, uint16_t command) {
    processors.emplace(command, std::make_unique<P>());
}

}  // namespace

ProcessorRegistry<ChatClient>::ProcessorMap makeChatClientProcessors() {
    ProcessorRegistry<ChatClient>::ProcessorMap processors;
    add<CmdHeartbeatProcessor>(processors, 1);
    add<CmdSuccessProcessor>(processors, 2);
    add<CmdFailProcessor>(processors, 3);
    add<CmdFail2Processor>(processors, 54);
    add<CmdWelcomeProcessor>(processors, 5);
    add<CmdLoginOkProcessor>(processors, 7);
    add<CmdChatterEnterRoomS2CProcessor>(processors, 9);
    add<CmdChatterExitRoomS2CProcessor>(processors, 10);
    add<CmdResponseRoomChatterListS2CProcessor>(processors, 12);
    add<CmdChatProcessor>(processors, 14);
    add<CmdChatResponseToSpeakerProcessor>(processors, 15);
    add<CmdChatterPropChange2Processor>(processors, 52);
    add<CmdKeywordFilterListS2CProcessor>(processors, 17);
    add<CmdInvalidNickNameListS2CProcessor>(processors, 50);
    add<CmdRoomListS2CProcessor>(processors, 18);
    add<CmdLoginFailS2CProcessor>(processors, 19);
    add<CmdInvalidClientVersionS2CProcessor>(processors, 20);
    add<CmdUpdateAfficheS2CProcessor>(processors, 23);
    add<CmdPrivateRoomCreatedS2CProcessor>(processors, 27);
    add<CmdPrivateRoomServer2CallerProcessor>(processors, 26);
    add<CmdChatRoomDestroyS2CProcessor>(processors, 13);
    add<CmdResponseEnterRoomS2CProcessor>(processors, 33);
    add<CmdNotifyChatterDisabledS2CProcessor>(processors, 34);
    add<CmdKickoutS2CProcessor>(processors, 38);
    add<CmdRoomPeriodInfoS2CProcessor>(processors, 42);
    add<CmdRoomPeriodInfoRetListS2CProcessor>(processors, 47);
    add<CmdSysNotifyS2CProcessor>(processors, 40);
    add<CmdSetAccountLevelS2CProcessor>(processors, 49);
    add<CmdSetUsersVipTimeS2CProcessor>(processors, 60);
    add<CmdAutoAddUsersVipTimeResponseS2CProcessor>(processors, 62);
    add<CmdAutoAddUsersVipTimeSetS2CProcessor>(processors, 64);
    add<CmdAllRoomChatterCountS2CProcessor>(processors, 66);
    add<CmdRoomSettingS2CProcessor>(processors, 68);
    add<CmdResponseRoomLimitS2AProcessor>(processors, 73);
    add<CmdUserRightsS2CProcessor>(processors, 77);
    add<CmdSelfRightsS2CProcessor>(processors, 87);
    add<CmdSysAdminQueryRoomSettingS2CProcessor>(processors, 82);
    add<CmdResponseRoomAdminsS2CProcessor>(processors, 79);
    add<CmdRoomAllowLevelResponseS2CProcessor>(processors, 89);
    return processors;
}

}  // namespace chat
