#include "admin/room_limit.h"

#include <utility>

namespace chat {

namespace {

enum Tag : int32_t { kEnd = 0, kAccount = 1, kMac = 2, kIpRange = 3 };

template <typename Key>
std::map<Key, double> copyUnder(std::mutex& lock, const std::map<Key, double>& entries) {
    const std::lock_guard guard(lock);
    return entries;
}

template <typename Key>
void setUnder(std::mutex& lock, std::map<Key, double>& entries, const Key& key, double endTime) {
    const std::lock_guard guard(lock);
    entries[key] = endTime;
}

}  // namespace

void RoomLimit::setAccount(const std::string& account, double endTime) {
    setUnder(accountsLock_, accounts_, account, endTime);
}

void RoomLimit::setMac(const MacAddress& mac, double endTime) {
    setUnder(macsLock_, macs_, mac, endTime);
}

void RoomLimit::setIpRange(const IpRange& range, double endTime) {
    setUnder(rangesLock_, ranges_, range, endTime);
}

std::map<std::string, double> RoomLimit::accounts() const {
    return copyUnder(accountsLock_, accounts_);
}

std::map<MacAddress, double> RoomLimit::macs() const {
    return copyUnder(macsLock_, macs_);
}

std::map<IpRange, double> RoomLimit::ipRanges() const {
    return copyUnder(rangesLock_, ranges_);
}

tekna::OutputByteStream& RoomLimit::write(tekna::OutputByteStream& out) const {
    out.writeI32(roomId_);
    for (const auto& [account, endTime] : accounts()) {
        out.writeI32(kAccount).writeI32(static_cast<int32_t>(account.size()));
        out.writeBytes(account.data(), account.size()).writeF64(endTime);
    }
    for (const auto& [mac, endTime] : macs()) {
        out.writeI32(kMac).writeBytes(mac.data(), mac.size()).writeF64(endTime);
    }
    for (const auto& [range, endTime] : ipRanges()) {
        out.writeI32(kIpRange).writeU32(range.ip).writeU32(range.mask).writeF64(endTime);
    }
    return out.writeI32(kEnd);
}

tekna::InputByteStream& RoomLimit::read(tekna::InputByteStream& in) {
    int32_t tag = 0;
    while (in.readI32(tag) && tag != kEnd) {
        double endTime = 0;
        switch (tag) {
            case kAccount: {
                int32_t length = 0;
                std::string account;
                if (!in.readI32(length)) {
                    return in;
                }
                if (length < 0 || static_cast<size_t>(length) > in.remaining()) {
                    in.markFailed();
                    return in;
                }
                if (in.readString(account, static_cast<size_t>(length)).readF64(endTime)) {
                    setAccount(account, endTime);
                }
                break;
            }
            case kMac: {
                MacAddress mac{};
                if (in.readBytes(mac.data(), mac.size()).readF64(endTime)) {
                    setMac(mac, endTime);
                }
                break;
            }
            case kIpRange: {
                uint32_t ip = 0;
                uint32_t mask = 0;
                if (in.readU32(ip).readU32(mask).readF64(endTime)) {
                    setIpRange(IpRange(ip, mask), endTime);
                }
                break;
            }
            default:
                in.markFailed();
                return in;
        }
    }
    return in;
}

std::map<int32_t, tekna::Ref<RoomLimit>> RoomLimitList::entries() const {
    const std::lock_guard guard(lock_);
    return entries_;
}

void RoomLimitList::put(tekna::Ref<RoomLimit> limit) {
    const std::lock_guard guard(lock_);
    const int32_t roomId = limit->roomId();
    entries_[roomId] = std::move(limit);
}

tekna::OutputByteStream& RoomLimitList::write(tekna::OutputByteStream& out) const {
    for (const auto& [roomId, limit] : entries()) {
        limit->write(out);
    }
    return out.writeI32(-1);
}

tekna::InputByteStream& RoomLimitList::read(tekna::InputByteStream& in) {
    std::map<int32_t, tekna::Ref<RoomLimit>> read;
    int32_t roomId = 0;
    while (in.readI32(roomId) && roomId >= 0 && roomId < kRoomIdLimit) {
        auto limit = tekna::makeRef<RoomLimit>(roomId);
        if (!limit->read(in)) {
            break;
        }
        read[roomId] = std::move(limit);
    }
    const std::lock_guard guard(lock_);
    entries_.swap(read);
    return in;
}

}  // namespace chat
