#pragma once
// A room's black list as the server sends it: restrictions by account, by adapter (MAC) address
// and by IP range, each with an end time (an automation date: days since 30 December 1899, local
// time). Room id 0 holds restrictions that apply to every room.
//
// Stream of one RoomLimit (little-endian, packed): i32 room id; tagged entries (all accounts, then
// all MACs, then all IP ranges when written); i32 0.
//   tag 1: i32 1, i32 length n, n bytes of account (GBK, no terminator), f64 end time
//   tag 2: i32 2, 6 bytes MAC, f64 end time
//   tag 3: i32 3, u32 IP, u32 mask (both as on the wire, network byte order), f64 end time
// A RoomLimitList is RoomLimit streams one after the other, then i32 -1.
//
// Each map has its own lock and the list has one, so the objects may be shared between threads;
// writing copies under the lock and streams without it.
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "util/ref_countable.h"
#include "util/serializable.h"

namespace chat {

using MacAddress = std::array<uint8_t, 6>;

struct IpRange {
    uint32_t ip = 0;
    uint32_t mask = 0;
    uint32_t network = 0;  // ip & mask

    IpRange() = default;
    IpRange(uint32_t ipAddress, uint32_t netMask)
        : ip(ipAddress), mask(netMask), network(ipAddress & netMask) {}
    friend auto operator<=>(const IpRange&, const IpRange&) = default;
};

class RoomLimit : public tekna::RefCountable, public tekna::ISerializable {
  public:
    explicit RoomLimit(int32_t roomId) : roomId_(roomId) {}

    int32_t roomId() const { return roomId_; }

    void setAccount(const std::string& account, double endTime);
    void setMac(const MacAddress& mac, double endTime);
    void setIpRange(const IpRange& range, double endTime);
    // Copies taken under each map's lock.
    std::map<std::string, double> accounts() const;
    std::map<MacAddress, double> macs() const;
    std::map<IpRange, double> ipRanges() const;

    // Writes the room id, the entries and the closing 0.
    tekna::OutputByteStream& write(tekna::OutputByteStream& out) const override;
    // Reads the entries after the room id (the list reads the id) up to the closing 0. An
    // unknown tag or an account longer than the rest of the input fails the stream.
    tekna::InputByteStream& read(tekna::InputByteStream& in) override;

    void destroy() override { delete this; }

  protected:
    ~RoomLimit() override = default;

  private:
    const int32_t roomId_;
    mutable std::mutex accountsLock_;
    std::map<std::string, double> accounts_;
    mutable std::mutex macsLock_;
    std::map<MacAddress, double> macs_;
    mutable std::mutex rangesLock_;
    std::map<IpRange, double> ranges_;
};

class RoomLimitList : public tekna::ISerializable {
  public:
    // Room ids at or above this end a list being read.
    static constexpr int32_t kRoomIdLimit = 1000000;

    RoomLimitList() = default;
    ~RoomLimitList() override = default;

    // Counted references to the entries, by ascending room id, taken under the lock.
    std::map<int32_t, tekna::Ref<RoomLimit>> entries() const;
    // Adds or replaces the entry for the limit's room.
    void put(tekna::Ref<RoomLimit> limit);

    tekna::OutputByteStream& write(tekna::OutputByteStream& out) const override;
    // Reads room after room until a room id outside 0..999999 or a failed read; a room whose
    // entries fail to read is dropped and ends the list. The rooms read before stay. The list's
    // entries are then replaced by what was read.
    tekna::InputByteStream& read(tekna::InputByteStream& in) override;

  private:
    mutable std::mutex lock_;
    std::map<int32_t, tekna::Ref<RoomLimit>> entries_;
};

}  // namespace chat
