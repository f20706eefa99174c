// Received chat messages through the whole client path: framing, the registry, the display rules,
// parsing and the chat-box layout, into a room page that only counts. Heap allocations are counted
// by replacing the global operator new.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

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

class CountingPage : public RoomPagePort {
  public:
    void appendChatMessage(const ChatMessageLayout& layout, const KeptChatMessage&) override {
        runs += layout.runs.size();
        ++shown;
    }
    void appendRuns(const ChatBoxRuns&) override {}
    void appendNotice(std::u16string_view) override {}
    void startRepeatedSystemLine(std::u16string) override {}
    void scrollToEnd() override {}
    bool displaying() const override { return true; }
    bool showsSenderStyles() const override { return false; }
    void addChatter(const ChatterRecord&, bool) override {}
    void removeChatter(uint32_t) override {}
    void replaceChatters(const std::vector<ChatterRecord>&, const std::vector<bool>&) override {}
    void updateChatter(const ChatterRecord&) override {}
    std::optional<int32_t> selectedAddressee() const override { return std::nullopt; }
    void removeAddressee(int32_t) override {}
    void setAnnouncement(std::u16string) override {}
    void applyRoomSettings(const RoomSettingBlock&, bool) override {}
    uint32_t shownMaxPeople() const override { return 0; }
    void showMaxPeople(uint32_t) override {}
    void setRollingTimer(uint32_t) override {}

    size_t runs = 0;
    size_t shown = 0;
};

class OneRoomWindow : public MainWindowPort {
  public:
    RoomPagePort& openRoomPage(int32_t, const std::u16string&, uint32_t, bool) override {
        return page;
    }
    void closeRoomPage(int32_t) override {}
    void bringRoomPageToFront(int32_t) override {}
    int32_t selectedRoom() const override { return kRoom; }
    void markRoomNews(int32_t) override {}
    bool isActiveWindow() const override { return true; }
    void flashTaskbarButton() override {}
    void setSystemNotice(std::u16string, uint32_t) override {}
    void setRoomSelection(const std::map<uint32_t, RoomRecord>&) override {}
    void roomChatterCountsArrived() override {}
    void showCaptionedMessage(std::string_view, std::string_view, tekna::MessageIcon) override {}
    void openRandomVipDialog(const cmd::RandomVipSettings&) override {}
    void postQuit() override {}
    bool exists() const override { return true; }
    void destroy() override {}

    CountingPage page;
};

class NoPrompts : public PromptPort {
  public:
    int showModalPrompt(const std::string&, bool) override { return kClosedByCloseAll; }
    void closeAllPrompts() override {}
};

class NoMessages : public tekna::MessageBoxPort {
  public:
    void showMessage(std::string_view, tekna::MessageCaption, tekna::MessageIcon) override {}
};

class NoAdapters : public EthernetAdapters {
  public:
    std::vector<MacAddress> addresses() const override { return {}; }
};

class NoNames : public HostResolver {
  public:
    std::optional<in_addr> resolve(const std::string&) const override { return std::nullopt; }
};

class DefaultFonts : public SystemFontSource {
  public:
    std::optional<SystemFont> iconTitleFont() const override { return std::nullopt; }
    SystemFont stockSystemFont() const override {
        return SystemFont{-12, 400, false, false, false, 134, u"宋体"};
    }
    int32_t verticalDpi() const override { return 96; }
};

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
    DefaultFonts fonts;
    NoMessages messages;
    NoAdapters adapters;
    NoNames names;
    NoPrompts prompts;
    OneRoomWindow window;
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
        state.counters["shown"] = static_cast<double>(window.page.shown);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ChatClientReceive)->Unit(benchmark::kMillisecond);

}  // namespace
