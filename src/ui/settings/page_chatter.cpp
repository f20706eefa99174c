#include "ui/settings/page_chatter.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace chat {

PageChatter::PageChatter(SettingsContext& context, QWidget* parent)
    : ConfigPage(context, parent),
      nickname_(new QLineEdit(this)),
      male_(new QRadioButton(QStringLiteral("男性(&M)"))),
      female_(new QRadioButton(QStringLiteral("女性(&F)"))),
      undisclosed_(new QRadioButton(QStringLiteral("保密(&U)"))) {
    nickname_->setMaxLength(static_cast<int>(kNicknameCharacters));
    auto* sex = new QGroupBox(QStringLiteral("性别"), this);
    auto* sexLayout = new QHBoxLayout(sex);
    for (QRadioButton* button : {male_, female_, undisclosed_}) {
        sexLayout->addWidget(button);
        connect(button, &QRadioButton::clicked, this, [this] { markChanged(); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("显示在聊天室里的昵称："), this));
    layout->addWidget(nickname_);
    layout->addWidget(sex);
    layout->addStretch();

    const ChatterRecord& own = context_.ownRecord;
    nickname_->setText(QString::fromStdU16String(own.nickname));
    (own.sex == 'F' ? female_ : own.sex == 'M' ? male_ : undisclosed_)->setChecked(true);
    connect(nickname_, &QLineEdit::textEdited, this, [this] { markChanged(); });
}

RoomNickname PageChatter::current() const {
    // A record without a sex letter (as before the login) counts as undisclosed, as it is shown.
    const uint8_t sex = context_.ownRecord.sex;
    return {context_.ownRecord.nickname, sexFromChoices(sex == 'M', sex == 'F')};
}

bool PageChatter::apply() {
    const RoomNickname edited{cutNicknameField(nickname_->text().toStdU16String()),
                              sexFromChoices(male_->isChecked(), female_->isChecked())};
    NicknameChangeLimiter& limiter = context_.nicknameLimiter;
    const NicknameJudgement judgement =
        limiter.judge(context_.roomId, current(), edited, context_.staff);
    switch (judgement.verdict) {
        case NicknameVerdict::Empty:
            return refuse(nickname_, settings_text::kNicknameEmpty);
        case NicknameVerdict::TooFrequent:
            showSelf();
            context_.messages.showMessage(settings_text::kNicknameTooFrequent,
                                          tekna::MessageCaption::Warning,
                                          tekna::MessageIcon::Warning);
            return false;
        case NicknameVerdict::Unchanged:
            return true;
        case NicknameVerdict::Request:
            break;
    }
    ChatterRecord changed = context_.ownRecord;
    changed.nickname = edited.nickname;
    changed.sex = static_cast<uint8_t>(edited.sex);
    if (!context_.changeNickname(changed, context_.roomId)) {
        showSelf();
        nickname_->setFocus();
        return false;
    }
    if (judgement.limited) {
        limiter.remember(context_.roomId);
    }
    // A second Apply of the same values sends nothing.
    context_.ownRecord = changed;
    return true;
}

}  // namespace chat
