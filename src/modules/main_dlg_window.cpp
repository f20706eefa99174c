#include "modules/main_dlg_window.h"

#include <QPainter>
#include <QUrl>
#include <QWebEngineView>

#include "modules/module_page.h"

namespace chat::modules {

MainDlgWindow::MainDlgWindow(bool handsOverSpecialLink, int browserControl, QWidget* parent)
    : QWidget(parent), browser_(new QWebEngineView(this)) {
    browser_->setObjectName(QStringLiteral("browser%1").arg(browserControl));
    browser_->setPage(new ModulePage(handsOverSpecialLink, this, browser_));
}

void MainDlgWindow::navigate(const QString& address) {
    browser_->load(QUrl(address));
}

void MainDlgWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MainDlgWindow::resizeEvent(QResizeEvent*) {
    browser_->setGeometry(1, 1, width() - 2, height() - 2);
}

}  // namespace chat::modules
