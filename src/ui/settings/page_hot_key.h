#pragma once
// "热键": the key that sends a message, and the screen-capture hot key, which is taken again from
// the system when the page applies.
#include <QCheckBox>
#include <QRadioButton>

#include "ui/hotkey/hot_key_edit.h"
#include "ui/settings/config_page.h"

namespace chat {

class PageHotKey final : public ConfigPage {
  public:
    static constexpr const char* kTitle = "热键";

    PageHotKey(SettingsContext& context, QWidget* parent = nullptr);

    bool apply() override;

    QRadioButton* ctrlEnterButton() const { return ctrlEnter_; }
    QRadioButton* enterButton() const { return enter_; }
    QCheckBox* altSBox() const { return altS_; }
    HotKeyEdit* hotKeyEdit() const { return hotKey_; }

  private:
    QRadioButton* ctrlEnter_;
    QRadioButton* enter_;
    QCheckBox* altS_;
    HotKeyEdit* hotKey_;
};

}  // namespace chat
