// Arbitrary packet streams into a chat client with windows that do nothing, after a scripted
// login, a room list and the entry into room 7 with two chatters, so that most processors, the
// display rules and the room look-ups are reached. Each input gets a fresh client, so memory stays
// bounded by the input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "../tests/client/fakes/null_windows.h"
#include "client/chat_client.h"
#include "protocol/commands/commands.h"
#include "storage/user_config.h"

namespace {

using namespace chat;

constexpr int32_t kRoom = 7;

struct Environment {
    Environment()
        : folder(std::filesystem::temp_directory_path() /
                 ("fuzz_chat_client_" + std::to_string(::getpid()))),
          config(folder, fonts) {}

    fakes::FakeFonts fonts;
    std::filesystem::path folder;
    UserConfig config;
    fakes::NullMessageBoxes messages;
    fakes::NoAdapters adapters;
    fakes::NoHostNames names;
    fakes::NullPrompts prompts;
};

ChatterRecord chatter(uint32_t id, const char* account) {
    ChatterRecord record;
    record.chatterId = id;
    record.account = account;
    record.nickname = u"nick";
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Environment environment;
    fakes::NullMainWindow window;
    ChatClientOptions options;
    options.openLog = [] { return std::unique_ptr<tekna::Logger>(); };
    ChatClient client(environment.config, environment.messages, environment.adapters,
                      environment.names, options);
    client.connect(ClientWindows{window, environment.prompts, nullptr}, LoginIdentity{"fuzz", {}},
                   "", 1);
    client.onLoginAccepted(100, size > 0 ? data[0] : 0);
    cmd::RoomList list;
    list.rooms[kRoom].roomId = kRoom;
    list.rooms[kRoom].name = u"room";
    client.dispatch(buildPacket(list));
    client.dispatch(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""}));
    client.dispatch(
        buildPacket(cmd::RoomChatterList{kRoom, {chatter(100, "fuzz"), chatter(200, "b")}}));

    // Pause the room for inputs whose second byte is odd, so pending packets are exercised too.
    if (size > 1 && (data[1] & 1) != 0) {
        window.pages.at(kRoom)->display = false;
    }
    client.feed(std::span<const uint8_t>(data, size));
    if (auto found = window.pages.find(kRoom); found != window.pages.end()) {
        found->second->display = true;
        client.resumeDisplay(kRoom);
    }
    return 0;
}
