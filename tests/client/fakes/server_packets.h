#pragma once
// Packets and records as the chat server sends them, for tests that feed a chat client.
#include <cstdint>
#include <string>
#include <vector>

#include "content/chat_message.h"
#include "protocol/commands/commands.h"

namespace fakes {

inline chat::ChatterRecord chatter(uint32_t id, std::string account, std::u16string nickname,
                                   uint32_t roles = 0) {
    chat::ChatterRecord record;
    record.chatterId = id;
    record.account = std::move(account);
    record.nickname = std::move(nickname);
    record.sex = 'M';
    record.roleFlags = roles;
    return record;
}

inline chat::RoomRecord roomDescription(uint32_t id, std::u16string name) {
    chat::RoomRecord room;
    room.entryLength = chat::RoomRecord::kSize;
    room.roomId = id;
    room.attributes = 0x08;
    room.name = std::move(name);
    return room;
}

inline std::vector<uint8_t> chatPacket(int32_t room, int32_t speaker, std::u16string text,
                                       int32_t target = 0, int32_t sequence = 1) {
    chat::ChatMessageHeader header;
    header.roomId = room;
    header.sequence = sequence;
    header.speakerId = speaker;
    header.targetId = target;
    header.nickname = u"someone";
    chat::ChatMessageBuilder builder(header);
    builder.appendText(text);
    return std::move(builder).finish();
}

inline std::vector<uint8_t> chatterList(int32_t room,
                                        const std::vector<chat::ChatterRecord>& chatters) {
    chat::cmd::RoomChatterList list;
    list.roomId = static_cast<uint32_t>(room);
    list.chatters = chatters;
    return chat::buildPacket(list);
}

}  // namespace fakes
