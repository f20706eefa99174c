#include "ui/dialogs/his_chat.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "content/history_layout.h"
#include "content/widgets/chat_box.h"
#include "content/widgets/chat_box_history.h"
#include "storage/chat_record_file.h"
#include "util/wire_text.h"

namespace chat {

namespace {

constexpr QSize kInitialSize{560, 460};
constexpr QSize kMinimumSize{360, 240};
constexpr QSize kButtonSize{60, 22};
constexpr int kSpacing = 6;

struct ButtonLook {
    CHisChat::PageCommand command;
    const char* text;
};

constexpr ButtonLook kButtons[] = {{CHisChat::PageCommand::First, "首页"},
                                   {CHisChat::PageCommand::Previous, "上页"},
                                   {CHisChat::PageCommand::Next, "下页"},
                                   {CHisChat::PageCommand::Last, "尾页"}};

size_t buttonIndex(CHisChat::PageCommand command) {
    return static_cast<size_t>(static_cast<int>(command) -
                               static_cast<int>(CHisChat::PageCommand::First));
}

std::string cutFilter(std::string filter) {
    filter.resize(gbkPrefixLength(filter, CHisChat::kMaxFilterBytes));
    return filter;
}

}  // namespace

CHisChat::CHisChat(const ChatRecordFile& records, std::string gbkAccountFilter, QWidget* owner)
    : CDialogX(owner, FrameStyle{.cutCorners = true}),
      records_(records),
      accountFilter_(cutFilter(std::move(gbkAccountFilter))),
      recordBox_(new ChatBox(this)),
      pageText_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCaption(QString::fromUtf8(kCaption));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    setPalette(background);

    recordBox_->setReadOnly(true);
    recordBox_->setContextMenuEnabled(false);

    QPalette textLook = pageText_->palette();
    textLook.setColor(QPalette::WindowText, Qt::black);
    pageText_->setPalette(textLook);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(kSpacing);
    buttonRow->addStretch();
    for (const ButtonLook& look : kButtons) {
        auto* pageButton = new vexa::CButtonX(QString::fromUtf8(look.text), this);
        pageButton->setFixedSize(kButtonSize);
        pageButton->setAutoDefault(false);
        const PageCommand command = look.command;
        connect(pageButton, &QPushButton::clicked, this, [this, command] { goTo(command); });
        buttons_[buttonIndex(command)] = pageButton;
        buttonRow->addWidget(pageButton);
    }
    buttonRow->addSpacing(kSpacing);
    buttonRow->addWidget(pageText_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kSpacing, kSpacing, kSpacing, kSpacing);
    column->setSpacing(kSpacing);
    column->addWidget(recordBox_, 1);
    column->addLayout(buttonRow);

    setMinimumSize(kMinimumSize);
    resize(kInitialSize);

    pageCount_ = pageCountFor(records_.count(accountFilter_));
    showPage(pageCount_);
}

int32_t CHisChat::pageCountFor(size_t matching) {
    const size_t pages = (matching + kHistoryPageSize - 1) / kHistoryPageSize;
    return static_cast<int32_t>(std::max<size_t>(pages, 1));
}

vexa::CButtonX& CHisChat::button(PageCommand command) const {
    return *buttons_[buttonIndex(command)];
}

void CHisChat::goTo(PageCommand command) {
    switch (command) {
        case PageCommand::First:
            showPage(1);
            break;
        case PageCommand::Previous:
            showPage(std::max(currentPage_ - 1, 1));
            break;
        case PageCommand::Next:
            showPage(std::min(currentPage_ + 1, pageCount_));
            break;
        case PageCommand::Last:
            showPage(pageCount_);
            break;
    }
}

void CHisChat::showPage(int32_t page) {
    currentPage_ = page;
    const std::vector<StoredMessage> messages = records_.messages(accountFilter_);
    renderHistoryPage(*recordBox_, messages, page);
    pageText_->setText(QStringLiteral("%1/%2").arg(currentPage_).arg(pageCount_));
    const bool atFirst = currentPage_ <= 1;
    const bool atLast = currentPage_ >= pageCount_;
    button(PageCommand::First).setEnabled(!atFirst);
    button(PageCommand::Previous).setEnabled(!atFirst);
    button(PageCommand::Next).setEnabled(!atLast);
    button(PageCommand::Last).setEnabled(!atLast);
}

}  // namespace chat
