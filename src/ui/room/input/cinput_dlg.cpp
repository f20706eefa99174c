#include "ui/room/input/cinput_dlg.h"

#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstdint>

#include "storage/user_config.h"
#include "ui/prompts/qt_message_box_port.h"
#include "ui/room/input/font_choice.h"
#include "ui/ui_look.h"

namespace chat {

namespace {

constexpr int kButtonWidth = 59;
constexpr int kQuickRepliesWidth = 12;
constexpr int kGlyphWidth = 16;  // the glyph at the left of each wide strip
constexpr QRect kToLabel{4, CInputDlg::kButtonTop, 14, 22};
constexpr QRect kAddresseeArea{20, CInputDlg::kButtonTop, 110, 22};
constexpr int kFontButtonLeft = 134;

// The box's limit for the room's max characters; below 2 the box keeps its own limit (a limit of
// 0 means the control's default to the edit control).
int roomCharacterLimit(uint32_t maxCharacters) {
    if (maxCharacters < 2) {
        return InputBox::kBoxLimit;
    }
    return static_cast<int>(std::min<uint32_t>(maxCharacters - 1, INT32_MAX));
}

}  // namespace

CInputDlg::CInputDlg(InputDlgContext context, QWidget* parent)
    : QWidget(parent),
      context_(std::move(context)),
      ownMessages_(context_.messages == nullptr ? std::make_unique<QtMessageBoxPort>() : nullptr),
      messages_(context_.messages != nullptr ? context_.messages : ownMessages_.get()),
      rules_(context_.roomId, context_.accountLevel, context_.roomRoleBits,
             context_.clock ? context_.clock
                            : SpeakingRules::Clock(SpeakingRules::systemMilliseconds)),
      addressee_(new QComboBox(this)),
      box_(new InputBox(this)) {
    ui::ensureUiResources();
    setFont(ui::songFont(9));
    auto* to = new QLabel(QStringLiteral("对"), this);
    to->setGeometry(kToLabel);
    to->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    box_->setObjectName(QString::number(kInputBoxId));
    addressee_->setObjectName(QString::number(kAddresseeId));

    if (context_.config != nullptr) {
        UserConfig* config = context_.config;
        box_->setSendKeySource([config] { return config->sendKey(); });
        box_->setDefaultStyle(config->myTextStyle());
    }
    connect(box_, &InputBox::sendRequested, this, &CInputDlg::send);
    connect(box_, &InputBox::fontRequested, this, &CInputDlg::chooseFont);

    addressee_->setGeometry(kAddresseeArea);
    addressee_->addItem(QStringLiteral("所有人"), kEverybody);
    addressee_->setCurrentIndex(0);
    addressee_->setEnabled(!context_.privateRoom);
    connect(addressee_, &QComboBox::activated, this, [this] { box_->setFocus(); });

    addButton(kFontButtonId, "字体", "font", kButtonWidth);
    addButton(kEmoticonButtonId, "表情", "emoticon", kButtonWidth);
    addButton(kPictureButtonId, "图片", "picture", kButtonWidth);
    addButton(kScreenshotButtonId, "截屏", "screenshot", kButtonWidth);
    addButton(kSettingsButtonId, "设置", "settings", kButtonWidth);
    addButton(kRoomMenuButtonId, "System", "system", kButtonWidth);
    addButton(kSendButtonId, "发送", "send", kButtonWidth);
    addButton(kQuickRepliesButtonId, "↓", "quick_replies", kQuickRepliesWidth);

    // Screenshots come with the screen capturer; until then the button only shows where the
    // room allows it.
    button(kScreenshotButtonId)->setEnabled(false);

    connect(button(kFontButtonId), &QAbstractButton::clicked, this, &CInputDlg::chooseFont);
    connect(button(kPictureButtonId), &QAbstractButton::clicked, this, [this] {
        emit pictureRequested();
        box_->setFocus();
    });
    connect(button(kSettingsButtonId), &QAbstractButton::clicked, this, [this] {
        emit settingsRequested();
        box_->setFocus();
    });
    connect(button(kRoomMenuButtonId), &QAbstractButton::clicked, this, [this] {
        StripButton* menuButton = button(kRoomMenuButtonId);
        emit roomMenuRequested(menuButton->mapToGlobal(menuButton->rect().bottomLeft()));
    });
    connect(button(kSendButtonId), &QAbstractButton::clicked, this,
            [this] { QMetaObject::invokeMethod(this, &CInputDlg::send, Qt::QueuedConnection); });
    connect(button(kQuickRepliesButtonId), &QAbstractButton::clicked, this, [this] {
        emit quickRepliesRequested(button(kQuickRepliesButtonId)->mapToGlobal(QPoint(0, 0)));
    });

    showButtonsForRoles();
    resize(500, 120);
    layoutControls();
}

void CInputDlg::setRoomRoles(uint32_t roomRoleBits) {
    context_.roomRoleBits = roomRoleBits;
    rules_.setStaff(staffFlagsOf(context_.accountLevel, roomRoleBits));
    showButtonsForRoles();
    layoutControls();
}

void CInputDlg::showButtonsForRoles() {
    const BarButtons shown = barButtonsFor(context_.roomId, context_.privateRoom,
                                           context_.roomAttributes, rules_.staff());
    placeLeftGroup(shown);
    button(kRoomMenuButtonId)->setVisible(shown.roomMenu);
}

void CInputDlg::addButton(Control id, const char* caption, const char* strip, int width) {
    const QString path = QStringLiteral(":/ui/input_bar/%1.png").arg(QLatin1String(strip));
    auto* made = new StripButton(QString::fromUtf8(caption), path, width,
                                 width > kQuickRepliesWidth ? kGlyphWidth : 0, this);
    made->setObjectName(QString::number(id));
    buttons_[id] = made;
}

StripButton* CInputDlg::button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found != buttons_.end() ? found->second : nullptr;
}

void CInputDlg::placeLeftGroup(const BarButtons& shown) {
    int x = kFontButtonLeft;
    const auto place = [&](int id, bool visible) {
        StripButton* placed = button(id);
        placed->move(x, kButtonTop);
        placed->setVisible(visible);
        if (visible) {
            x += placed->width() + kGap;
        }
    };
    place(kFontButtonId, true);
    place(kEmoticonButtonId, false);
    place(kPictureButtonId, shown.picture);
    place(kScreenshotButtonId, shown.screenshot);
    place(kSettingsButtonId, true);
}

void CInputDlg::placeRightGroup() {
    int x = width() - kGap;
    for (const int id : {kQuickRepliesButtonId, kSendButtonId, kRoomMenuButtonId}) {
        StripButton* placed = button(id);
        x -= placed->width();
        placed->move(x, kButtonTop);
        x -= kGap;
    }
}

void CInputDlg::layoutControls() {
    placeRightGroup();
    box_->setGeometry(1, kBoxTop, std::max(0, width() - 2), std::max(0, height() - kBoxTop - 1));
}

void CInputDlg::resizeEvent(QResizeEvent* event) {
    layoutControls();
    QWidget::resizeEvent(event);
}

void CInputDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setPen(QColor::fromRgb(kBoxFrame));
    painter.drawRect(box_->geometry().adjusted(-1, -1, 0, 0));
}

void CInputDlg::chooseAddressee(int32_t chatterId, const QString& nickname) {
    if (!context_.privateRoom) {
        int index = addressee_->findData(chatterId);
        if (index < 0) {
            addressee_->addItem(nickname, chatterId);
            index = addressee_->count() - 1;
        }
        addressee_->setCurrentIndex(index);
    }
    box_->setFocus();
}

std::optional<int32_t> CInputDlg::selectedAddressee() const {
    if (addressee_->currentIndex() < 0) {
        return std::nullopt;
    }
    return addressee_->currentData().toInt();
}

void CInputDlg::removeAddressee(int32_t chatterId) {
    const int index = addressee_->findData(chatterId);
    if (index < 0) {
        return;
    }
    const bool wasSelected = index == addressee_->currentIndex();
    addressee_->removeItem(index);
    // The next entry would take the selection: a whisper would reach somebody else.
    if (wasSelected) {
        addressee_->setCurrentIndex(addressee_->findData(kEverybody));
    }
}

void CInputDlg::clearAddressee() {
    addressee_->setCurrentIndex(addressee_->findData(kEverybody));
}

void CInputDlg::applyRoomSettings(const RoomSettingBlock& settings, bool limitInputLength) {
    rules_.applySettings(settings);
    if (limitInputLength) {
        box_->setCharacterLimit(roomCharacterLimit(settings.maxCharacters));
    }
}

void CInputDlg::greet(const QString& nickname) {
    clearAddressee();
    box_->moveCursor(QTextCursor::End);
    box_->insertLimited(nickname + QStringLiteral(" 您好:\r\n"));
    box_->setFocus();
}

void CInputDlg::send() {
    box_->setFocus();
    const SpeakingRules::Verifier verify =
        context_.verifyFirstSpeech ? context_.verifyFirstSpeech : [] { return true; };
    const SendDecision decision = rules_.check(box_->shape(), verify);
    if (decision.refusal) {
        showRefusal(*decision.refusal);
    }
    if (decision.verdict != SendVerdict::Send || !context_.send) {
        return;
    }
    if (context_.send(box_->content())) {
        box_->clearBox();
        box_->setFocus();
    }
}

void CInputDlg::showRefusal(const Refusal& refusal) {
    messages_->showMessage(refusal.text, refusal.caption, refusal.icon);
}

void CInputDlg::chooseFont() {
    const TextStyle start =
        context_.config != nullptr ? context_.config->myTextStyle() : defaultTextStyle();
    FontChoiceDialog dialog(start, context_.accountLevel, *messages_, this);
    if (dialog.exec() == QDialog::Accepted) {
        applyChosenStyle(dialog.style());
    }
    box_->setFocus();
}

void CInputDlg::applyChosenStyle(const TextStyle& style) {
    const TextStyle stored = styleToStore(style, context_.accountLevel);
    if (context_.styleChanged) {
        context_.styleChanged(style);
    } else if (context_.config != nullptr) {
        context_.config->setMyTextStyle(stored);
    }
    box_->setDefaultStyle(stored);
}

}  // namespace chat
