// The server's handling of one connection over arbitrary bytes. The first byte picks how far the
// fuzzed connection gets before the bytes arrive (nothing, hello, or logged in and in a room);
// the rest is what it sends. Afterwards a second, well-behaved connection in the same room must
// still be served. Every packet the server sends must be a well-formed packet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "chat_service.h"
#include "protocol/commands/commands.h"
#include "util/little_endian.h"

namespace {

namespace cmd = chat::cmd;

const char* const kConfig = R"({
  "accounts": [
    {"account": "demo", "passwordDigest": "FE01CE2A7FBAC8FAFAED7C982A04E229", "level": 4},
    {"account": "other", "passwordDigest": "FE01CE2A7FBAC8FAFAED7C982A04E229"}],
  "rooms": [{"id": 2, "name": "大厅", "owners": ["demo"]}, {"id": 3, "name": "房间"}],
  "keywords": ["外挂"],
  "operationPasswordDigest": "FE01CE2A7FBAC8FAFAED7C982A04E229",
  "bots": [{"account": "bot", "nickname": "小墨", "room": 2, "greeting": "你好",
            "rules": [{"keyword": "a", "reply": "b"}], "defaultReply": "c"}]})";

struct CheckingSink : chatserver::PacketSink {
    void send(chatserver::SharedPacket packet) override {
        if (packet->size() < kPacketHeaderSize || packet->size() > kMaxPacketSize ||
            chat::loadLE<uint32_t>(packet->data()) != packet->size()) {
            std::abort();
        }
        commands.push_back(chat::loadLE<uint16_t>(packet->data() + 4));
    }
    std::vector<uint16_t> commands;
};

bool feed(chatserver::Session& session, const std::vector<uint8_t>& packet) {
    return session.receive(packet);
}

bool logIn(chatserver::Session& session, const char* account) {
    cmd::Login login;
    login.account = account;
    login.passwordDigest = {0xFE, 0x01, 0xCE, 0x2A, 0x7F, 0xBA, 0xC8, 0xFA,
                            0xFA, 0xED, 0x7C, 0x98, 0x2A, 0x04, 0xE2, 0x29};
    chat::ChatterRecord record;
    record.nickname = u"x";
    return feed(session, chat::buildPacket(cmd::Hello{})) &&
           feed(session, chat::buildPacket(login)) &&
           feed(session, chat::buildPacket(cmd::EnterRoom{2, record}));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const chatserver::ServerConfig config = chatserver::parseServerConfig(kConfig);
    if (size == 0) return 0;
    chatserver::ChatService service(config, "", nullptr);

    CheckingSink bystanderSink;
    chatserver::Session& bystander = service.open(bystanderSink, 0x0100007F);
    if (!logIn(bystander, "other")) std::abort();

    CheckingSink fuzzedSink;
    chatserver::Session& fuzzed = service.open(fuzzedSink, 0x0200007F);
    bool open = true;
    switch (data[0] % 3) {
        case 1:
            open = feed(fuzzed, chat::buildPacket(cmd::Hello{}));
            break;
        case 2:
            open = logIn(fuzzed, "demo");
            break;
        default:
            break;
    }
    if (open) {
        // In pieces, as a socket would deliver them.
        std::span<const uint8_t> rest(data + 1, size - 1);
        const size_t piece = 1 + data[0] % 61;
        while (open && !rest.empty()) {
            const size_t n = std::min(piece, rest.size());
            open = fuzzed.receive(rest.first(n));
            rest = rest.subspan(n);
        }
    }
    if (!open) service.close(fuzzed, "fuzzed");

    bystanderSink.commands.clear();
    if (!feed(bystander, chat::buildPacket(cmd::RequestRoomChatterCounts{})) ||
        bystanderSink.commands.empty() ||
        bystanderSink.commands.back() != static_cast<uint16_t>(chat::CommandId::RoomChatterCounts)) {
        std::abort();
    }
    return 0;
}
