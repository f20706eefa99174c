#pragma once
// Right codes that a room owner grants to a user for one room, and the user's set of them.
#include <cstdint>
#include <map>
#include <set>

#include "util/serializable.h"

namespace chat {

// Meaningful only together with a room id.
enum class RoomRight : int32_t {
    RoomProperties = 10000,
    RoomBlackList = 10001,  // room limits dialog; muting a user from the chatter list
    RoomAccessRoles = 10002,
    KickChatter = 10003,
    RoomAffiche = 10004,
    RoomPeriodInfo = 10005,
    ResetNickName = 10006,
    ViewChatterAddress = 10007,
};

// Room id -> right codes. Stream: for each room in ascending order the room id, its codes in
// ascending order, then 0; after the last room -1 (all little-endian int32). Room 5 with codes
// 10003 and 10007 is 5, 10003, 10007, 0, -1.
class RightsList : public tekna::ISerializable {
  public:
    RightsList() = default;
    RightsList(const RightsList&) = default;
    RightsList& operator=(const RightsList&) = default;
    ~RightsList() override = default;

    bool has(int32_t code, int32_t roomId) const;
    bool has(RoomRight right, int32_t roomId) const {
        return has(static_cast<int32_t>(right), roomId);
    }
    // Codes 0 and room ids below 0 cannot travel in the stream and are refused (false).
    bool grant(int32_t code, int32_t roomId);
    void clear() { rooms_.clear(); }
    const std::map<int32_t, std::set<int32_t>>& rooms() const { return rooms_; }

    tekna::OutputByteStream& write(tekna::OutputByteStream& out) const override;
    // Clears the list, then reads rooms until -1 (or any negative id) or the end of the input;
    // codes of the last room read before the input ends are kept.
    tekna::InputByteStream& read(tekna::InputByteStream& in) override;

    friend bool operator==(const RightsList& a, const RightsList& b) {
        return a.rooms_ == b.rooms_;
    }

  private:
    std::map<int32_t, std::set<int32_t>> rooms_;
};

}  // namespace chat
