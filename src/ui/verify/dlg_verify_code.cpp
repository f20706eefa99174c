#include "ui/verify/dlg_verify_code.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPushButton>
#include <QTransform>
#include <QVBoxLayout>
#include <utility>

#include "ui/controls/hyper_link_ctrl.h"

namespace chat {

namespace {

constexpr int kCodePixelSize = 36;

QPolygonF polygonOf(const WarpQuad& quad) {
    // Clockwise from the top left, the order QTransform::quadToQuad pairs corners in.
    return QPolygonF({QPointF(quad.topLeft.x, quad.topLeft.y),
                      QPointF(quad.topRight.x, quad.topRight.y),
                      QPointF(quad.bottomRight.x, quad.bottomRight.y),
                      QPointF(quad.bottomLeft.x, quad.bottomLeft.y)});
}

// The outline of `text` centred in `area`.
QPainterPath centredOutline(const QString& text, const QRectF& area) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kCodePixelSize);
    const QFontMetricsF metrics(font);
    const QPointF baseline(area.left() + (area.width() - metrics.horizontalAdvance(text)) / 2,
                           area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent());
    QPainterPath path;
    path.addText(baseline, font, text);
    return path;
}

}  // namespace

VerifyCodePic::VerifyCodePic(RandomSource random, QWidget* parent)
    : QWidget(parent), random_(std::move(random)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void VerifyCodePic::setCode(std::u16string code) {
    code_ = std::move(code);
    update();
}

QSize VerifyCodePic::sizeHint() const {
    return {150, 56};
}

void VerifyCodePic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(area.x(), area.y(), area.width() - 1, area.height() - 1);

    const QPainterPath outline = centredOutline(QString::fromStdU16String(code_), QRectF(area));
    const WarpQuad corners =
        verifyCodeWarp(area.x(), area.y(), area.width(), area.height(), random_());
    QTransform warp;
    if (QTransform::quadToQuad(QPolygonF(QRectF(area)).mid(0, 4), polygonOf(corners), warp)) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(warp.map(outline));
    }
}

DlgVerifyCode::DlgVerifyCode(tekna::MessageBoxPort& messages, RandomSource random, QWidget* parent)
    : QDialog(parent),
      messages_(messages),
      random_(std::move(random)),
      picture_(new VerifyCodePic([this] { return random_(); }, this)),
      link_(new tekna::HyperLinkCtrl(QStringLiteral("看不清验证码图片，单击此处换一张"), kLinkId,
                                     this)),
      entry_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("确定"), this)),
      cancel_(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("验证"));
    setModal(true);
    entry_->setMaxLength(static_cast<int>(kVerifyCodeLength));
    ok_->setDefault(true);

    auto* prompt = new QVBoxLayout;
    prompt->addWidget(new QLabel(QStringLiteral("您在本房间内第一次发言，"), this));
    prompt->addWidget(
        new QLabel(QStringLiteral("请输入右边框中显示的验证码（不区分大小写）："), this));
    prompt->addWidget(entry_);
    prompt->addStretch();
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(picture_, 0, Qt::AlignHCenter);
    pictureColumn->addWidget(link_);
    auto* body = new QHBoxLayout;
    body->addLayout(prompt);
    body->addLayout(pictureColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &DlgVerifyCode::checkAnswer);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(link_, &tekna::HyperLinkCtrl::clicked, this, &DlgVerifyCode::newCode);
    newCode();
    entry_->setFocus();
}

bool DlgVerifyCode::ask(QWidget* owner, tekna::MessageBoxPort& messages) {
    DlgVerifyCode dialog(messages, cLibraryRandom, owner);
    return dialog.exec() == QDialog::Accepted;
}

void DlgVerifyCode::newCode() {
    picture_->setCode(makeVerifyCode(random_));
}

void DlgVerifyCode::checkAnswer() {
    if (verifyCodeMatches(picture_->code(), entry_->text().toStdU16String())) {
        accept();
        return;
    }
    messages_.showMessage(kWrongVerifyCodeText, tekna::MessageCaption::None,
                          tekna::MessageIcon::Error);
    entry_->setFocus();
    newCode();
}

}  // namespace chat
