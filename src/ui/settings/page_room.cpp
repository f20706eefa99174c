#include "ui/settings/page_room.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace chat {

PageRoom::PageRoom(SettingsContext& context, QWidget* parent)
    : ConfigPage(context, parent),
      size_(new QLineEdit(this)),
      pictures_(new QCheckBox(QStringLiteral("允许显示图片"), this)),
      whispers_(new QCheckBox(QStringLiteral("接受悄悄话"), this)) {
    // Typing is limited to five digits; a longer stored size is still shown whole (a length limit
    // would cut it and store the cut number on OK).
    size_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kSizeDigits)), size_));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("房间聊天信息只保留最近的"), this));
    sizeRow->addWidget(size_);
    sizeRow->addWidget(new QLabel(QStringLiteral("KB"), this));
    sizeRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sizeRow);
    layout->addWidget(pictures_);
    layout->addWidget(whispers_);
    layout->addStretch();
    whispers_->hide();

    const UserConfig& config = context_.config;
    size_->setText(QString::number(chatBoxKilobytes(config.maxChatBoxChars())));
    pictures_->setChecked(config.allowShowPictures());
    whispers_->setChecked(config.acceptPrivateMessages());
    connect(size_, &QLineEdit::textEdited, this, [this] { markChanged(); });
    for (QCheckBox* box : {pictures_, whispers_}) {
        connect(box, &QCheckBox::clicked, this, [this] { markChanged(); });
    }
}

bool PageRoom::apply() {
    const auto chars = chatBoxCharsFromKilobytes(size_->text().toStdU16String());
    if (!chars) {
        return refuse(size_, settings_text::kChatBoxSizeInvalid);
    }
    UserConfig& config = context_.config;
    config.setMaxChatBoxChars(*chars);
    config.setAllowShowPictures(pictures_->isChecked());
    config.setAcceptPrivateMessages(whispers_->isChecked());
    return true;
}

}  // namespace chat
