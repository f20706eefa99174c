#pragma once
// Message boxes of the core: modal over the active window, with the caption and icon the core asks
// for. No caption means the application's display name, as the system's default caption would.
#include <QMessageBox>
#include <QString>

#include "app/startup_guard.h"
#include "util/message_box_port.h"

namespace chat {

struct MessageBoxLook {
    QString caption;
    QMessageBox::Icon icon;
};

MessageBoxLook messageBoxLook(tekna::MessageCaption caption, tekna::MessageIcon icon);
QMessageBox::Icon messageBoxIcon(tekna::MessageIcon icon);

// Shows a modal message box owned by the active window (none when no window is active).
void showMessageBox(const QString& text, const MessageBoxLook& look);

class QtMessageBoxPort final : public tekna::MessageBoxPort, public StartupMessagePort {
  public:
    void showMessage(std::string_view text, tekna::MessageCaption caption,
                     tekna::MessageIcon icon) override;
    // The start-up guard's errors: default caption, error icon.
    void showError(const std::string& utf8Text) override;
};

}  // namespace chat
