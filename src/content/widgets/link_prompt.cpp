#include "content/widgets/link_prompt.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace chat {
namespace {

const QColor kBackground(255, 255, 224);
const QColor kFrame(128, 128, 128);
constexpr QPoint kIconPosition(8, 12);
constexpr int kIconSize = 16;

}  // namespace

UrlOpener systemUrlOpener() {
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

std::optional<QUrl> openableAddress(const QString& linkText) {
    QString text = linkText.trimmed();
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) {
        text.prepend(QStringLiteral("http://"));
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) {
        return std::nullopt;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("http") || scheme == QStringLiteral("https") ||
        scheme == QStringLiteral("ftp")) {
        return url.host().isEmpty() ? std::nullopt : std::optional<QUrl>(url);
    }
    if (scheme == QStringLiteral("mailto")) {
        return url;
    }
    return std::nullopt;
}

LinkPrompt::LinkPrompt(QString address, UrlOpener opener, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint),
      address_(std::move(address)),
      opener_(std::move(opener)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(228, 64);
    auto* question = new QLabel(QStringLiteral("您是否确认要打开这个网址？"), this);
    question->setGeometry(30, 10, 190, 18);

    QLabel* open = addChoice(kOpenId, QStringLiteral("直接打开"));
    QLabel* copy = addChoice(kCopyId, QStringLiteral("复制网址"));
    QLabel* cancel = addChoice(kCancelId, QStringLiteral("取消"));
    open->setGeometry(30, 38, 60, 18);
    copy->setGeometry(100, 38, 60, 18);
    cancel->setGeometry(170, 38, 40, 18);
    connect(open, &QLabel::linkActivated, this, &LinkPrompt::openAddress);
    connect(copy, &QLabel::linkActivated, this, &LinkPrompt::copyAddress);
    connect(cancel, &QLabel::linkActivated, this, &LinkPrompt::reject);
}

QLabel* LinkPrompt::addChoice(int id, const QString& text) {
    auto* label =
        new QLabel(QStringLiteral("<a href=\"#\" style=\"color:#0000ff\">%1</a>").arg(text), this);
    label->setObjectName(QString::number(id));
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QLabel* LinkPrompt::choice(int id) const {
    return findChild<QLabel*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void LinkPrompt::openAddress() {
    if (const auto url = openableAddress(address_)) {
        opener_(*url);
    }
    accept();
}

void LinkPrompt::copyAddress() {
    QApplication::clipboard()->setText(address_);
    accept();
}

bool LinkPrompt::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && isVisible()) {
        reject();
    }
    return QDialog::event(event);
}

void LinkPrompt::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setPen(kFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    painter.drawPixmap(kIconPosition, warning.pixmap(kIconSize, kIconSize));
}

}  // namespace chat
