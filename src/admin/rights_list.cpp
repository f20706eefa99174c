#include "admin/rights_list.h"

namespace chat {

bool RightsList::has(int32_t code, int32_t roomId) const {
    const auto room = rooms_.find(roomId);
    return room != rooms_.end() && room->second.contains(code);
}

bool RightsList::grant(int32_t code, int32_t roomId) {
    if (code == 0 || roomId < 0) {
        return false;
    }
    rooms_[roomId].insert(code);
    return true;
}

tekna::OutputByteStream& RightsList::write(tekna::OutputByteStream& out) const {
    for (const auto& [roomId, codes] : rooms_) {
        out.writeI32(roomId);
        for (const int32_t code : codes) {
            out.writeI32(code);
        }
        out.writeI32(0);
    }
    return out.writeI32(-1);
}

tekna::InputByteStream& RightsList::read(tekna::InputByteStream& in) {
    rooms_.clear();
    int32_t roomId = 0;
    while (in.readI32(roomId) && roomId >= 0) {
        int32_t code = 0;
        while (in.readI32(code) && code != 0) {
            rooms_[roomId].insert(code);
        }
    }
    return in;
}

}  // namespace chat
