#pragma once
// Windows that do nothing but keep the room pages the client opens and count what they show:
// for the benchmark and the fuzz target, which need a chat client without recording every call.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "client/chat_client.h"
#include "client/ports/main_window_port.h"
#include "client/ports/prompt_port.h"
#include "client/ports/room_page_port.h"
#include "storage/system_font.h"
#include "util/message_box_port.h"

namespace fakes {

class NullRoomPage : public chat::RoomPagePort {
  public:
    void appendChatMessage(uint32_t /*speakerId*/, const chat::ChatMessageLayout& layout,
                           const chat::KeptChatMessage&) override {
        runs += layout.runs.size();
        ++shown;
    }
    void appendRuns(const chat::ChatBoxRuns&) override {}
    void appendNotice(std::u16string_view) override {}
    void startRepeatedSystemLine(std::u16string) override {}
    void scrollToEnd() override {}
    bool displaying() const override { return display; }
    bool showsSenderStyles() const override { return false; }
    void addChatter(const chat::ChatterRecord&, bool) override {}
    void removeChatter(uint32_t) override {}
    void replaceChatters(const std::vector<chat::ChatterRecord>&,
                         const std::vector<bool>&) override {}
    void updateChatter(const chat::ChatterRecord&) override {}
    std::optional<int32_t> selectedAddressee() const override { return std::nullopt; }
    void removeAddressee(int32_t) override {}
    void setAnnouncement(std::u16string) override {}
    void applyRoomSettings(const chat::RoomSettingBlock&, bool) override {}
    uint32_t shownMaxPeople() const override { return 0; }
    void showMaxPeople(uint32_t) override {}
    void setRollingTimer(uint32_t) override {}

    bool display = true;
    size_t runs = 0;
    size_t shown = 0;
};

class NullMainWindow : public chat::MainWindowPort {
  public:
    chat::RoomPagePort& openRoomPage(int32_t roomId, const std::u16string&, uint32_t,
                                     bool) override {
        auto& page = pages[roomId] = std::make_unique<NullRoomPage>();
        return *page;
    }
    void closeRoomPage(int32_t roomId) override { pages.erase(roomId); }
    void bringRoomPageToFront(int32_t) override {}
    int32_t selectedRoom() const override { return 0; }
    void markRoomNews(int32_t) override {}
    bool isActiveWindow() const override { return true; }
    void flashTaskbarButton() override {}
    void setSystemNotice(std::u16string, uint32_t) override {}
    void setRoomSelection(const std::map<uint32_t, chat::RoomRecord>&) override {}
    void roomChatterCountsArrived() override {}
    void showCaptionedMessage(std::string_view, std::string_view, tekna::MessageIcon) override {}
    void openRandomVipDialog(const chat::cmd::RandomVipSettings&) override {}
    void postQuit() override {}
    bool exists() const override { return true; }
    void destroy() override {}

    std::map<int32_t, std::unique_ptr<NullRoomPage>> pages;
};

class NullPrompts : public chat::PromptPort {
  public:
    int showModalPrompt(const std::string&, bool) override { return kClosedByCloseAll; }
    void closeAllPrompts() override {}
};

class NullMessageBoxes : public tekna::MessageBoxPort {
  public:
    void showMessage(std::string_view, tekna::MessageCaption, tekna::MessageIcon) override {}
};

class NoAdapters : public chat::EthernetAdapters {
  public:
    std::vector<chat::MacAddress> addresses() const override { return {}; }
};

class NoHostNames : public chat::HostResolver {
  public:
    std::optional<in_addr> resolve(const std::string&) const override { return std::nullopt; }
};

// The stock system font at 96 dots per inch.
class FakeFonts : public chat::SystemFontSource {
  public:
    std::optional<chat::SystemFont> iconTitleFont() const override { return std::nullopt; }
    chat::SystemFont stockSystemFont() const override {
        return chat::SystemFont{-12, 400, false, false, false, 134, u"宋体"};
    }
    int32_t verticalDpi() const override { return 96; }
};

}  // namespace fakes
