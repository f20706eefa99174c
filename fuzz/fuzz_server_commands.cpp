// Every command reader over arbitrary bytes. The first byte picks the reader; the rest is the
// packet, whose command id is set to the reader's so that the layout itself is exercised. The
// last readers take an inflated body alone, as the compressible commands arrive. What a reader
// returns is built into a packet again.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "protocol/commands/commands.h"
#include "util/little_endian.h"

namespace {

using namespace chat;

using PacketCommands = std::tuple<
    // connection
    cmd::Heartbeat, cmd::Hello, cmd::Login, cmd::Welcome, cmd::Success, cmd::Fail,
    cmd::FailWithMessage, cmd::LoginAccepted, cmd::LoginRefused, cmd::ClientVersionRefused,
    cmd::ChatterDisabled, cmd::KickedOut,
    // rooms
    cmd::EnterRoom, cmd::RequestRoomChatterList, cmd::LeaveRoom, cmd::RequestRoomChatterCounts,
    cmd::ChatterEntered, cmd::RoomClosed, cmd::EnterRoomAnswer, cmd::ChatterLeft,
    cmd::ChangeOwnChatterRecord, cmd::ChatterRecordChanged, cmd::RoomChatterList,
    cmd::RoomChatterCounts, cmd::RoomList,
    // chat
    cmd::ChatMessage, cmd::ChatAnswer, cmd::PrivateChatRequest, cmd::PrivateChatRefused,
    cmd::PrivateRoomCreated, cmd::KeywordList, cmd::InvalidNicknameList,
    // administration
    cmd::NotifyKeywordsUpdated, cmd::NotifyRoomListUpdated, cmd::NotifyNicknameKeywordsUpdated,
    cmd::RollingMessageList, cmd::SetAnnouncement, cmd::AnnouncementUpdated, cmd::SetSystemMessage,
    cmd::SystemMessage, cmd::SetRollingMessage, cmd::RollingMessage, cmd::KickChatter,
    cmd::SetAccountLevel, cmd::SetAccountLevelResult, cmd::ResetNickname, cmd::SetRoomSettings,
    cmd::RoomSettings, cmd::SetAllowedRoles, cmd::AllowedRoles, cmd::QueryAllowedRoles,
    cmd::QueryRoomAdmins, cmd::QueryRoomOwners, cmd::AddRoomAdmin, cmd::DeleteRoomAdmin,
    cmd::QueryUserRights, cmd::SetUserRights, cmd::UserRights, cmd::SelfRights, cmd::RoomAdmins,
    cmd::RoomOwners, cmd::SetRoomOwners, cmd::AddRoomLimit, cmd::QueryRoomLimits, cmd::RoomLimits,
    cmd::DeleteRoomLimit, cmd::ClearExpiredRoomLimits, cmd::GiveVip, cmd::VipGiven,
    cmd::QueryRandomVip, cmd::RandomVipSettings, cmd::SetRandomVip, cmd::SetRandomVipResult>;

using BodyCommands =
    std::tuple<cmd::RoomChatterList, cmd::KeywordList, cmd::InvalidNicknameList, cmd::RoomList>;

using Reader = void (*)(std::span<const uint8_t>);

template <class Command>
void rebuild(const Command& command) {
    try {
        (void)buildPacket(command);
    } catch (const std::length_error&) {
        // a list read from one packet may lay out larger than a packet may be
    }
}

template <class Command>
void readWholePacket(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> packet(bytes.begin(), bytes.end());
    if (packet.size() >= 6) {
        storeLE(packet.data() + 4, static_cast<uint16_t>(Command::kId));
    }
    if (auto command = readPacket<Command>(packet)) {
        rebuild(*command);
    }
}

template <class Command>
void readInflatedBody(std::span<const uint8_t> body) {
    if (auto command = readBody<Command>(body)) {
        rebuild(*command);
    }
}

template <class... Packet, class... Body>
constexpr auto readerTable(std::tuple<Packet...>*, std::tuple<Body...>*) {
    return std::array<Reader, sizeof...(Packet) + sizeof...(Body)>{&readWholePacket<Packet>...,
                                                                   &readInflatedBody<Body>...};
}

constexpr auto kReaders =
    readerTable(static_cast<PacketCommands*>(nullptr), static_cast<BodyCommands*>(nullptr));

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    kReaders[data[0] % kReaders.size()](std::span<const uint8_t>(data + 1, size - 1));
    return 0;
}
