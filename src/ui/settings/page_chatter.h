#pragma once
// "个人设置": the user's nickname and sex in the room the sheet was opened for. A change goes to
// the chat client, which sends it; the settings file is written when the server confirms it.
#include <QLineEdit>
#include <QRadioButton>

#include "ui/settings/config_page.h"

namespace chat {

class PageChatter final : public ConfigPage {
  public:
    static constexpr const char* kTitle = "个人设置";

    PageChatter(SettingsContext& context, QWidget* parent = nullptr);

    bool apply() override;

    QLineEdit* nicknameEdit() const { return nickname_; }
    QRadioButton* maleButton() const { return male_; }
    QRadioButton* femaleButton() const { return female_; }
    QRadioButton* undisclosedButton() const { return undisclosed_; }

  private:
    RoomNickname current() const;

    QLineEdit* nickname_;
    QRadioButton* male_;
    QRadioButton* female_;
    QRadioButton* undisclosed_;
};

}  // namespace chat
