#pragma once
// Stand-ins for the windows of the chat client: each records what it was asked, so tests can check
// what the user would have seen. They are thread-safe where the integration tests read them while
// the window thread of the test writes.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "client/chat_client.h"
#include "client/ports/main_window_port.h"
#include "client/ports/prompt_port.h"
#include "client/ports/room_page_port.h"
#include "null_windows.h"
#include "storage/system_font.h"
#include "storage/user_config.h"
#include "util/logger.h"
#include "util/message_box_port.h"

namespace fakes {

using namespace chat;

// The things a user saw and the program did, in order: message boxes, prompts, the end.
class Transcript {
  public:
    void add(std::string line) {
        const std::lock_guard guard(lock_);
        lines_.push_back(std::move(line));
        changed_.notify_all();
    }
    std::vector<std::string> lines() const {
        const std::lock_guard guard(lock_);
        return lines_;
    }
    // Waits (at most 10 s, a hang guard) until `line` was added.
    bool waitFor(const std::string& line) {
        std::unique_lock guard(lock_);
        return changed_.wait_for(guard, std::chrono::seconds(10), [&] {
            return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
        });
    }

  private:
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

struct ShownMessage {
    std::string text;
    tekna::MessageCaption caption;
    tekna::MessageIcon icon;
};

class FakeMessageBoxes : public tekna::MessageBoxPort {
  public:
    explicit FakeMessageBoxes(Transcript& transcript) : transcript_(transcript) {}
    void showMessage(std::string_view text, tekna::MessageCaption caption,
                     tekna::MessageIcon icon) override {
        {
            const std::lock_guard guard(lock_);
            shown_.push_back({std::string(text), caption, icon});
        }
        transcript_.add("box: " + std::string(text));
    }
    std::vector<ShownMessage> shown() const {
        const std::lock_guard guard(lock_);
        return shown_;
    }

  private:
    Transcript& transcript_;
    mutable std::mutex lock_;
    std::vector<ShownMessage> shown_;
};

// Modal prompts return at once: with the next scripted result, else as closed by an answer (8).
class FakePrompts : public PromptPort {
  public:
    explicit FakePrompts(Transcript& transcript) : transcript_(transcript) {}
    int showModalPrompt(const std::string& text, bool cancellable) override {
        transcript_.add("prompt: " + text + (cancellable ? " [cancel]" : ""));
        const std::lock_guard guard(lock_);
        if (results_.empty()) {
            return kClosedByCloseAll;
        }
        const int result = results_.front();
        results_.pop_front();
        return result;
    }
    void closeAllPrompts() override {
        const std::lock_guard guard(lock_);
        ++closeAllCount_;
    }
    void script(int result) {
        const std::lock_guard guard(lock_);
        results_.push_back(result);
    }
    int closeAllCount() const {
        const std::lock_guard guard(lock_);
        return closeAllCount_;
    }

  private:
    Transcript& transcript_;
    mutable std::mutex lock_;
    std::deque<int> results_;
    int closeAllCount_ = 0;
};

class FakeRoomPage : public RoomPagePort {
  public:
    void appendChatMessage(uint32_t speakerId, const ChatMessageLayout& layout,
                           const KeptChatMessage& kept) override {
        speakers.push_back(speakerId);
        messages.push_back(layout);
        kept_.push_back(kept);
    }
    void appendRuns(const ChatBoxRuns& runs) override { systemLines.push_back(runs); }
    void appendNotice(std::u16string_view text) override { notices.emplace_back(text); }
    void startRepeatedSystemLine(std::u16string text) override {
        repeatedLines.push_back(std::move(text));
    }
    void scrollToEnd() override { ++scrolls; }
    bool displaying() const override { return display; }
    bool showsSenderStyles() const override { return senderStyles; }
    void addChatter(const ChatterRecord& chatter, bool checked) override {
        list[chatter.chatterId] = checked;
    }
    void removeChatter(uint32_t chatterId) override { list.erase(chatterId); }
    void replaceChatters(const std::vector<ChatterRecord>& chatters,
                         const std::vector<bool>& checked) override {
        list.clear();
        for (size_t i = 0; i < chatters.size(); ++i) {
            list.emplace(chatters[i].chatterId, checked[i]);
        }
    }
    void updateChatter(const ChatterRecord& chatter) override { updated.push_back(chatter); }
    std::optional<int32_t> selectedAddressee() const override { return addressee; }
    void removeAddressee(int32_t chatterId) override { removedAddressees.push_back(chatterId); }
    void setAnnouncement(std::u16string text) override { announcement = std::move(text); }
    void applyRoomSettings(const RoomSettingBlock& block, bool limitInput) override {
        settings = block;
        inputLimited = limitInput;
    }
    uint32_t shownMaxPeople() const override { return maxPeople; }
    void showMaxPeople(uint32_t value) override { maxPeople = value; }
    void setRollingTimer(uint32_t milliseconds) override { rollingTimers.push_back(milliseconds); }

    // What the page was asked. `list` is the chatter list view: id -> checked.
    std::vector<ChatMessageLayout> messages;
    std::vector<uint32_t> speakers;
    std::vector<KeptChatMessage> kept_;
    std::vector<ChatBoxRuns> systemLines;
    std::vector<std::u16string> notices;
    std::vector<std::u16string> repeatedLines;
    int scrolls = 0;
    bool display = true;
    bool senderStyles = false;
    std::map<uint32_t, bool> list;
    std::vector<ChatterRecord> updated;
    std::optional<int32_t> addressee;
    std::vector<int32_t> removedAddressees;
    std::u16string announcement;
    std::optional<RoomSettingBlock> settings;
    bool inputLimited = false;
    uint32_t maxPeople = 200;
    std::vector<uint32_t> rollingTimers;
};

class FakeMainWindow : public MainWindowPort {
  public:
    explicit FakeMainWindow(Transcript& transcript) : transcript_(transcript) {}

    RoomPagePort& openRoomPage(int32_t roomId, const std::u16string& title, uint32_t attributes,
                               bool privateRoom) override {
        auto& page = pages[roomId] = std::make_unique<FakeRoomPage>();
        tabs[roomId] = {title, attributes, privateRoom};
        transcript_.add("open room " + std::to_string(roomId));
        return *page;
    }
    void closeRoomPage(int32_t roomId) override {
        pages.erase(roomId);
        tabs.erase(roomId);
        closed.push_back(roomId);
    }
    void bringRoomPageToFront(int32_t roomId) override { fronted.push_back(roomId); }
    int32_t selectedRoom() const override { return selected; }
    void markRoomNews(int32_t roomId) override { news.push_back(roomId); }
    bool isActiveWindow() const override { return active; }
    void flashTaskbarButton() override { ++flashes; }
    void setSystemNotice(std::u16string text, uint32_t interval) override {
        systemNotice = {std::move(text), interval};
    }
    void setRoomSelection(const std::map<uint32_t, RoomRecord>& rooms) override {
        selectionRooms = rooms.size();
    }
    void roomChatterCountsArrived() override { ++countNotices; }
    void showCaptionedMessage(std::string_view text, std::string_view caption,
                              tekna::MessageIcon icon) override {
        captioned.push_back({std::string(text), std::string(caption), icon});
    }
    void openRandomVipDialog(const cmd::RandomVipSettings& settings) override {
        randomVip = settings;
    }
    void postQuit() override {
        ++quits;
        transcript_.add("quit");
    }
    bool exists() const override { return !destroyed; }
    void destroy() override {
        destroyed = true;
        transcript_.add("destroyed");
    }

    FakeRoomPage* page(int32_t roomId) {
        const auto found = pages.find(roomId);
        return found == pages.end() ? nullptr : found->second.get();
    }

    struct Tab {
        std::u16string title;
        uint32_t attributes = 0;
        bool privateRoom = false;
    };
    struct Captioned {
        std::string text;
        std::string caption;
        tekna::MessageIcon icon;
    };
    std::map<int32_t, std::unique_ptr<FakeRoomPage>> pages;
    std::map<int32_t, Tab> tabs;
    std::vector<int32_t> closed;
    std::vector<int32_t> fronted;
    int32_t selected = 0;
    std::vector<int32_t> news;
    bool active = true;
    int flashes = 0;
    std::pair<std::u16string, uint32_t> systemNotice;
    size_t selectionRooms = 0;
    int countNotices = 0;
    std::vector<Captioned> captioned;
    std::optional<cmd::RandomVipSettings> randomVip;
    std::atomic<int> quits = 0;
    bool destroyed = false;

  private:
    Transcript& transcript_;
};

class FakeAdapters : public EthernetAdapters {
  public:
    std::vector<MacAddress> macs;
    std::vector<MacAddress> addresses() const override { return macs; }
};

// Resolves every name from a table; others fail.
class FakeResolver : public HostResolver {
  public:
    std::map<std::string, std::string> table;
    std::optional<in_addr> resolve(const std::string& host) const override;
};

class RecordingLog : public tekna::Logger {
  public:
    void write(const std::string& line) override {
        const std::lock_guard guard(lock_);
        lines_.push_back(line);
    }
    // The messages, without date, time and line end.
    std::vector<std::string> messages() const;

  private:
    mutable std::mutex lock_;
    std::vector<std::string> lines_;
};

// A chat client with fake windows, its settings in a fresh temporary folder.
struct ClientRig {
    explicit ClientRig(ChatClientOptions options = {});
    ~ClientRig();

    // The first pick of room 1: the client takes the windows and opens the log, no connection.
    void attachWindows(std::shared_ptr<tekna::EventLoop> loop = nullptr);
    // Login accepted for `chatterId` with `roles`, as the server's command 7 does it.
    void logIn(uint32_t chatterId, uint32_t roles = 0);
    // Feeds one packet through the framer; returns the verdict.
    bool receive(const std::vector<uint8_t>& packet) { return client->feed(packet); }

    std::filesystem::path folder;
    Transcript transcript;
    FakeMessageBoxes messages{transcript};
    FakePrompts prompts{transcript};
    FakeMainWindow mainWindow{transcript};
    FakeAdapters adapters;
    FakeResolver resolver;
    FakeFonts fonts;
    RecordingLog* log = nullptr;  // owned by the client
    std::unique_ptr<UserConfig> config;
    std::unique_ptr<ChatClient> client;
    LoginIdentity identity{"tester", {}};
};

}  // namespace fakes
