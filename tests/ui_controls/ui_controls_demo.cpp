// The common controls together in one window: the skinned frame, skinned buttons (one disabled),
// a link and a cancellable wait prompt. Quits after the given number of milliseconds, if any.
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/controls/button_x.h"
#include "ui/controls/dialog_x.h"
#include "ui/controls/hyper_link_ctrl.h"
#include "ui/prompts/dlg_modal_prompt.h"

namespace {

QIcon demoIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(255, 190, 40));
    painter.setPen(QColor(200, 120, 0));
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("M"));
    return QIcon(pixmap);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    chat::CDialogX window(nullptr, {.cutCorners = true});
    window.setCaption(QStringLiteral("Morvex在线客服"));
    window.setWindowIcon(demoIcon());
    QPalette background = window.palette();
    background.setColor(QPalette::Window, QColor(237, 241, 246));
    window.setPalette(background);

    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(10, 10, 10, 10);
    auto* chat = new QTextEdit(&window);
    chat->setHtml(
        QStringLiteral("<p style='color:#000080'>系统消息：欢迎来到在线服务大厅。</p>"
                       "<p><b>客服小美</b> 10:21:07<br>您好，请问有什么可以帮您？</p>"));
    layout->addWidget(chat);
    auto* row = new QHBoxLayout;
    row->addWidget(new tekna::HyperLinkCtrl(QStringLiteral("打开客服页面"), 1001, &window));
    row->addStretch();
    auto* history = new vexa::CButtonX(QStringLiteral("消息记录"), &window);
    history->setEnabled(false);
    for (QPushButton* button :
         {static_cast<QPushButton*>(history),
          static_cast<QPushButton*>(new vexa::CButtonX(QStringLiteral("清屏"), &window)),
          static_cast<QPushButton*>(new vexa::CButtonX(QStringLiteral("发送"), &window))}) {
        button->setFixedSize(72, 24);
        row->addWidget(button);
    }
    layout->addLayout(row);

    window.setGeometry(140, 100, 640, 440);
    window.show();
    window.activateWindow();

    chat::CDlgModalPrompt prompt(&window, QStringLiteral("正在连接服务器，请稍候..."), true);
    QTimer::singleShot(0, [&] { prompt.show(); });
    if (argc > 1) {
        QTimer::singleShot(QString::fromLocal8Bit(argv[1]).toInt(), &app, &QApplication::quit);
    }
    return app.exec();
}
