#pragma once
// One page of the settings sheet: it reads its values when it is made, tells the sheet when the
// user changes something, and validates and stores its values when the sheet applies them.
#include <QWidget>

#include <functional>

#include "client/ports/hot_key_port.h"
#include "client/settings_rules.h"
#include "protocol/commands/chatter_record.h"
#include "storage/user_config.h"
#include "util/message_box_port.h"

namespace chat {

// What the sheet works with, for the room it was opened for.
struct SettingsContext {
    int32_t roomId = 0;
    UserConfig& config;
    // The user's own record in the room.
    ChatterRecord ownRecord;
    // Customer service or system administrator (the account's role flags).
    bool staff = false;
    // The chat client's change of the own nickname and sex; false when it refused the nickname
    // (after telling the user).
    std::function<bool(const ChatterRecord& record, int32_t roomId)> changeNickname;
    HotKeyPort& hotKey;
    tekna::MessageBoxPort& messages;
    NicknameChangeLimiter& nicknameLimiter = NicknameChangeLimiter::processWide();
};

class ConfigPage : public QWidget {
  public:
    ConfigPage(SettingsContext& context, QWidget* parent);

    // Validates and stores the page's values; false (after a message) keeps the sheet open here.
    virtual bool apply() = 0;

    void onChanged(std::function<void()> handler) { changed_ = std::move(handler); }
    // How the page brings itself to the front of the sheet before it shows a refusal.
    void onShowRequested(std::function<void()> handler) { showSelf_ = std::move(handler); }

  protected:
    void markChanged() const;
    void showSelf() const;
    // Shows the page, moves the focus to `field` and shows a refusal with the error icon and the
    // default caption. False, for the page's apply to return.
    bool refuse(QWidget* field, const char* utf8Text) const;

    SettingsContext& context_;

  private:
    std::function<void()> changed_;
    std::function<void()> showSelf_;
};

}  // namespace chat
