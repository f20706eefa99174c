#include "ui/settings/dlg_config.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "admin/account_level.h"
#include "client/chat_client.h"
#include "ui/settings/page_chatter.h"
#include "ui/settings/page_hot_key.h"
#include "ui/settings/page_room.h"

namespace chat {

SettingsContext settingsContextOf(ChatClient& client, int32_t roomId, HotKeyPort& hotKey,
                                  tekna::MessageBoxPort& messages) {
    const ChatterRecord* inRoom = client.ownRecordInRoom(roomId);
    return SettingsContext{
        .roomId = roomId,
        .config = client.config(),
        .ownRecord = inRoom != nullptr ? *inRoom : client.ownRecord(),
        .staff = (client.ownRecord().roleFlags & AccountLevel::kStaff) != 0,
        .changeNickname = [&client](
                              const ChatterRecord& record,
                              int32_t room) { return client.changeOwnNickname(record, room); },
        .hotKey = hotKey,
        .messages = messages,
    };
}

DlgConfig::DlgConfig(SettingsContext context, QWidget* parent)
    : QDialog(parent),
      context_(std::move(context)),
      tabs_(new QTabWidget(this)),
      chatter_(new PageChatter(context_)),
      room_(new PageRoom(context_)),
      hotKey_(new PageHotKey(context_)) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    tabs_->addTab(chatter_, QString::fromUtf8(PageChatter::kTitle));
    tabs_->addTab(room_, QString::fromUtf8(PageRoom::kTitle));
    tabs_->addTab(hotKey_, QString::fromUtf8(PageHotKey::kTitle));

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    apply_ = buttons->button(QDialogButtonBox::Apply);
    ok_->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    apply_->setText(QStringLiteral("应用(&A)"));
    apply_->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgConfig::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DlgConfig::reject);
    connect(apply_, &QPushButton::clicked, this, &DlgConfig::applyPages);
    for (ConfigPage* page : pages()) {
        page->onChanged([this] { apply_->setEnabled(true); });
        page->onShowRequested([this, page] { tabs_->setCurrentWidget(page); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

DlgConfig::~DlgConfig() = default;

std::array<ConfigPage*, 3> DlgConfig::pages() const {
    return {chatter_, room_, hotKey_};
}

bool DlgConfig::applyPages() {
    for (ConfigPage* page : pages()) {
        if (!page->apply()) {
            return false;
        }
    }
    apply_->setEnabled(false);
    return true;
}

void DlgConfig::accept() {
    if (applyPages()) {
        QDialog::accept();
    }
}

}  // namespace chat
