#pragma once
// "房间": how much text a room's chat box keeps, and whether other users' pictures are shown.
// The switch for whispers is kept but not shown.
#include <QCheckBox>
#include <QLineEdit>

#include "ui/settings/config_page.h"

namespace chat {

class PageRoom final : public ConfigPage {
  public:
    static constexpr const char* kTitle = "房间";
    static constexpr int kSizeDigits = 5;

    PageRoom(SettingsContext& context, QWidget* parent = nullptr);

    bool apply() override;

    QLineEdit* sizeEdit() const { return size_; }
    QCheckBox* picturesBox() const { return pictures_; }
    QCheckBox* whispersBox() const { return whispers_; }

  private:
    QLineEdit* size_;
    QCheckBox* pictures_;
    QCheckBox* whispers_;
};

}  // namespace chat
