#include "ui/prompts/qt_message_box_port.h"

#include <QApplication>
#include <QGuiApplication>

namespace chat {

QMessageBox::Icon messageBoxIcon(tekna::MessageIcon icon) {
    switch (icon) {
        case tekna::MessageIcon::Error:
            return QMessageBox::Critical;
        case tekna::MessageIcon::Warning:
            return QMessageBox::Warning;
        case tekna::MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MessageBoxLook messageBoxLook(tekna::MessageCaption caption, tekna::MessageIcon icon) {
    switch (caption) {
        case tekna::MessageCaption::Warning:
            return {QStringLiteral("警告"), messageBoxIcon(icon)};
        case tekna::MessageCaption::Error:
            return {QStringLiteral("错误信息"), messageBoxIcon(icon)};
        case tekna::MessageCaption::None:
            break;
    }
    return {QGuiApplication::applicationDisplayName(), messageBoxIcon(icon)};
}

void showMessageBox(const QString& text, const MessageBoxLook& look) {
    QMessageBox box(look.icon, look.caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtMessageBoxPort::showMessage(std::string_view text, tekna::MessageCaption caption,
                                   tekna::MessageIcon icon) {
    showMessageBox(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   messageBoxLook(caption, icon));
}

void QtMessageBoxPort::showError(const std::string& utf8Text) {
    showMessage(utf8Text, tekna::MessageCaption::None, tekna::MessageIcon::Error);
}

}  // namespace chat
