#include "ui/pages/framed_browser_page.h"

#include <QPainter>
#include <QUrl>

namespace chat {

FramedBrowserPage::FramedBrowserPage(QWidget* parent)
    : QWidget(parent), browser_(new QWebEngineView(this)) {}

void FramedBrowserPage::navigate(const std::u16string& address) {
    // The platform's addresses are not escaped; the browser takes them as they are.
    browser_->setUrl(QUrl(QString::fromStdU16String(address), QUrl::TolerantMode));
}

void FramedBrowserPage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(kFrameColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FramedBrowserPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    browser_->setGeometry(1, 1, width() - 2, height() - 2);
}

}  // namespace chat
