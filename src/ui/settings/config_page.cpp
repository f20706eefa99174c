#include "ui/settings/config_page.h"

namespace chat {

ConfigPage::ConfigPage(SettingsContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void ConfigPage::markChanged() const {
    if (changed_) {
        changed_();
    }
}

void ConfigPage::showSelf() const {
    if (showSelf_) {
        showSelf_();
    }
}

bool ConfigPage::refuse(QWidget* field, const char* utf8Text) const {
    showSelf();
    field->setFocus();
    context_.messages.showMessage(utf8Text, tekna::MessageCaption::None, tekna::MessageIcon::Error);
    return false;
}

}  // namespace chat
