#include "ui/settings/page_hot_key.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace chat {

PageHotKey::PageHotKey(SettingsContext& context, QWidget* parent)
    : ConfigPage(context, parent),
      ctrlEnter_(new QRadioButton(QStringLiteral("Ctrl + Enter"))),
      enter_(new QRadioButton(QStringLiteral("Enter"))),
      altS_(new QCheckBox(QStringLiteral("允许用Alt+S键发送"))),
      hotKey_(new HotKeyEdit) {
    auto* sending = new QGroupBox(QStringLiteral("发送消息"), this);
    auto* sendingLayout = new QVBoxLayout(sending);
    sendingLayout->addWidget(ctrlEnter_);
    sendingLayout->addWidget(enter_);
    sendingLayout->addWidget(altS_);
    auto* capture = new QGroupBox(QStringLiteral("截图快捷键"), this);
    auto* captureLayout = new QVBoxLayout(capture);
    captureLayout->addWidget(hotKey_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sending);
    layout->addWidget(capture);
    layout->addStretch();

    UserConfig& config = context_.config;
    const SendKeyChoices choices = sendKeyChoices(config.sendKey());
    (choices.enterSends ? enter_ : ctrlEnter_)->setChecked(true);
    altS_->setChecked(choices.altSSends);
    // The field keeps only what a hot-key control can hold; the stored value follows it at once.
    hotKey_->setValue(config.screenCaptureHotKey());
    config.setScreenCaptureHotKey(hotKey_->value());

    for (QAbstractButton* button :
         std::initializer_list<QAbstractButton*>{ctrlEnter_, enter_, altS_}) {
        connect(button, &QAbstractButton::clicked, this, [this] { markChanged(); });
    }
    connect(hotKey_, &HotKeyEdit::valueEdited, this, [this] { markChanged(); });
}

bool PageHotKey::apply() {
    UserConfig& config = context_.config;
    config.setSendKey(sendKeyFromChoices({enter_->isChecked(), altS_->isChecked()}));
    const uint32_t wanted = hotKey_->value();
    // The stored value changes only with a registration that worked, so a refused key is neither
    // kept in the file nor costs the user the key that worked before.
    if (!replaceScreenCaptureHotKey(context_.hotKey, config.screenCaptureHotKey(), wanted)) {
        return refuse(hotKey_, settings_text::kHotKeyRefused);
    }
    config.setScreenCaptureHotKey(wanted);
    return true;
}

}  // namespace chat
