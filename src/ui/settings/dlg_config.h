#pragma once
// DlgConfig: the modal settings sheet "设置", opened from a room's input bar for that room. Its
// pages "个人设置", "房间" and "热键" validate and store their values on Apply and on OK; a page
// that refuses keeps the sheet open on itself. Cancel stores nothing.
#include <QDialog>

#include <array>

#include "ui/settings/config_page.h"

class QPushButton;
class QTabWidget;

namespace chat {

class ChatClient;
class PageChatter;
class PageHotKey;
class PageRoom;

// The context of room `roomId` from the chat client: its settings, the user's record there (the
// login record while the room has none), the staff flag of the account, and the client's nickname
// change.
SettingsContext settingsContextOf(ChatClient& client, int32_t roomId, HotKeyPort& hotKey,
                                  tekna::MessageBoxPort& messages);

class DlgConfig final : public QDialog {
    Q_OBJECT

  public:
    static constexpr const char* kTitle = "设置";

    explicit DlgConfig(SettingsContext context, QWidget* parent = nullptr);
    ~DlgConfig() override;

    // Applies every page in order; the first one that refuses is shown and stops the rest.
    bool applyPages();
    // OK: closes only when every page applied.
    void accept() override;

    QTabWidget* tabs() const { return tabs_; }
    PageChatter* chatterPage() const { return chatter_; }
    PageRoom* roomPage() const { return room_; }
    PageHotKey* hotKeyPage() const { return hotKey_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* applyButton() const { return apply_; }

  private:
    std::array<ConfigPage*, 3> pages() const;

    SettingsContext context_;
    QTabWidget* tabs_;
    PageChatter* chatter_;
    PageRoom* room_;
    PageHotKey* hotKey_;
    QPushButton* ok_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace chat
