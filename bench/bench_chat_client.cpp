// Received chat messages through the whole client path: framing, the registry, the display rules,
// parsing and the chat-box layout, into a room page that only counts. Heap allocations are counted
// by replacing the global operator new.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "../tests/client/fakes/null_windows.h"
#include "client/chat_client.h"
#include "client/ports/main_window_port.h"
#include "client/ports/prompt_port.h"
#include "client/ports/room_page_port.h"
#include "content/chat_message.h"
#include "protocol/commands/commands.h"
#include "storage/system_font.h"
#include "storage/user_config.h"

namespace {
std::atomic<uint64_t> allocations{0};
}  // namespace

// GCC pairs the replaced operators across inlining and warns about malloc/free falsely.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

using namespace chat;

constexpr int32_t kRoom = 7;
constexpr size_t kMessages = 100000;

std::vector<uint8_t> chatStream() {
    ChatMessageHeader header;
    header.roomId = kRoom;
    header.speakerId = 200;
    header.nickname = u"小王";
    std::vector<uint8_t> stream;
    for (size_t i = 0; i < kMessages; ++i) {
        header.sequence = static_cast<int32_t>(i + 1);
        ChatMessageBuilder builder(header);
        builder.appendText(u"大家好，今天的活动几点开始？see www.example.com");
        const std::vector<uint8_t> packet = std::move(builder).finish();
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

void BM_ChatClientReceive(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("bench_chat_client_" + std::to_string(::getpid()));
    fakes::FakeFonts fonts;
    fakes::NullMessageBoxes messages;
    fakes::NoAdapters adapters;
    fakes::NoHostNames names;
    fakes::NullPrompts prompts;
    fakes::NullMainWindow window;
    {
        UserConfig config(folder, fonts);
        ChatClientOptions options;
        options.openLog = [] { return std::unique_ptr<tekna::Logger>(); };
        ChatClient client(config, messages, adapters, names, options);
        client.connect(ClientWindows{window, prompts, nullptr}, LoginIdentity{"bench", {}}, "", 1);
        client.onLoginAccepted(100, 0);
        cmd::RoomList list;
        list.rooms[kRoom].roomId = kRoom;
        list.rooms[kRoom].name = u"大厅";
        client.dispatch(buildPacket(list));
        client.dispatch(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""}));
        ChatterRecord speaker;
        speaker.chatterId = 200;
        speaker.account = "speaker";
        speaker.nickname = u"小王";
        client.dispatch(buildPacket(cmd::RoomChatterList{kRoom, {speaker}}));
        client.dispatch(buildPacket(cmd::KeywordList{{u"敏感", u"违禁词"}}));

        const std::vector<uint8_t> stream = chatStream();
        uint64_t allocated = 0;
        for (auto _ : state) {
            const uint64_t before = allocations.load();
            benchmark::DoNotOptimize(client.feed(stream));
            allocated += allocations.load() - before;
        }
        const double messagesHandled = static_cast<double>(state.iterations() * kMessages);
        state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kMessages));
        state.counters["allocs/msg"] = static_cast<double>(allocated) / messagesHandled;
        state.counters["shown"] = static_cast<double>(window.pages.at(kRoom)->shown);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ChatClientReceive)->Unit(benchmark::kMillisecond);

}  // namespace
