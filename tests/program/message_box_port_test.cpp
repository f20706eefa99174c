#include "ui/prompts/qt_message_box_port.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

using tekna::MessageCaption;
using tekna::MessageIcon;

TEST(QtMessageBoxPortTest, CaptionsAndIcons) {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Morvex在线客服"));
    struct Case {
        MessageCaption caption;
        MessageIcon icon;
        QString title;
        QMessageBox::Icon boxIcon;
    };
    const std::vector<Case> cases = {
        {MessageCaption::None, MessageIcon::Error, QStringLiteral("Morvex在线客服"),
         QMessageBox::Critical},
        {MessageCaption::Warning, MessageIcon::Warning, QStringLiteral("警告"),
         QMessageBox::Warning},
        {MessageCaption::Error, MessageIcon::Error, QStringLiteral("错误信息"),
         QMessageBox::Critical},
        {MessageCaption::None, MessageIcon::Information, QStringLiteral("Morvex在线客服"),
         QMessageBox::Information},
    };
    for (const Case& c : cases) {
        const chat::MessageBoxLook look = chat::messageBoxLook(c.caption, c.icon);
        EXPECT_EQ(look.caption, c.title);
        EXPECT_EQ(look.icon, c.boxIcon);
    }
}

}  // namespace
