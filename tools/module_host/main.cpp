// module_host: loads a web-page module the way the platform's main client does, hands it start data
// with a page address, shows its dialog in a window and prints what the module gives back.
//
//   module_host [--show-dlg] [--quit-after <ms>] <module library> [page address]
#include <cstdint>
#include <cstdio>

#include <QApplication>
#include <QByteArray>
#include <QCommandLineParser>
#include <QLibrary>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTimer>
#include <QWidget>
#include <QtEndian>

#include "modules/module_interface.h"

namespace {

void print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString handleText(ModuleWindowHandle handle) {
    return QStringLiteral("0x%1").arg(static_cast<qulonglong>(handle), 0, 16);
}

// The main client's window: receives message 1384 from the module.
class HostWindow : public QWidget {
  protected:
    void customEvent(QEvent* event) override {
        if (event->type() == static_cast<QEvent::Type>(kSpecialLinkMessage)) {
            const auto* message = static_cast<SpecialLinkEvent*>(event);
            print(QStringLiteral("message 1384: dialog window %1, second parameter %2")
                      .arg(handleText(message->dialogWindow))
                      .arg(message->secondParameter));
        }
    }
};

// One start-data record: key, length including the 8-byte head, value.
QByteArray startRecord(std::uint32_t key, const QByteArray& value) {
    QByteArray record(8, '\0');
    qToLittleEndian<std::uint32_t>(key, record.data());
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(8 + value.size()), record.data() + 4);
    return record + value;
}

void printInterface(const tagModuleInterface& module) {
    QStringDecoder gbk("GBK");
    print(QStringLiteral("identifier: %1")
              .arg(QString::fromLatin1(module.identifier, sizeof module.identifier)));
    print(QStringLiteral("description: %1").arg(gbk(QByteArrayView(module.description))));
    print(QStringLiteral("main window: %1").arg(handleText(module.mainWindow)));
    if (module.icons != nullptr) {
        print(QStringLiteral("icons: %1 images of %2x%3")
                  .arg(module.icons->imageCount)
                  .arg(module.icons->imageWidth)
                  .arg(module.icons->imageHeight));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Loads a web-page module and shows its dialog."));
    parser.addHelpOption();
    const QCommandLineOption showDlg(
        QStringLiteral("show-dlg"),
        QStringLiteral("Also show the module's second dialog (ShowDlg)."));
    const QCommandLineOption quitAfter(QStringLiteral("quit-after"),
                                       QStringLiteral("Quit after <ms> milliseconds."),
                                       QStringLiteral("ms"));
    parser.addOptions({showDlg, quitAfter});
    parser.addPositionalArgument(QStringLiteral("module"), QStringLiteral("The module library."));
    parser.addPositionalArgument(QStringLiteral("page"), QStringLiteral("Page address to show."));
    parser.process(app);
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty()) {
        parser.showHelp(1);
    }

    QLibrary library(arguments.at(0));
    const auto initModuleInterface =
        reinterpret_cast<InitModuleInterfaceFunction>(library.resolve("InitModuleInterface"));
    const auto showDialog = reinterpret_cast<ShowDlgFunction>(library.resolve("ShowDlg"));
    if (initModuleInterface == nullptr || showDialog == nullptr) {
        std::fprintf(stderr, "module_host: %s\n", library.errorString().toUtf8().constData());
        return 1;
    }

    HostWindow window;
    window.setWindowTitle(QStringLiteral("module_host - %1").arg(arguments.at(0)));
    window.resize(1024, 640);
    window.show();

    QByteArray startData;
    if (arguments.size() > 1) {
        QStringEncoder gbk("GBK");
        startData = startRecord(kStartKeyPageAddress, QByteArray(gbk(arguments.at(1))) + '\0');
    }
    const ModuleRect pageRect{0, 0, 1024, parser.isSet(showDlg) ? 320 : 640};
    tagModuleInterface* module = nullptr;
    const std::int32_t result =
        initModuleInterface(&module, window.winId(), &pageRect, startData.constData(),
                            static_cast<std::uint32_t>(startData.size()));
    print(QStringLiteral("InitModuleInterface: %1").arg(result));
    if (module != nullptr) {
        printInterface(*module);
    }

    if (parser.isSet(showDlg)) {
        const ModuleRect lowerRect{0, 320, 1024, 640};
        // The first call creates the dialog, the second places and shows it.
        showDialog(window.winId(), &lowerRect, 0, 0);
        print(QStringLiteral("ShowDlg: %1")
                  .arg(handleText(showDialog(window.winId(), &lowerRect, 0, 0))));
    }

    if (parser.isSet(quitAfter)) {
        QTimer::singleShot(parser.value(quitAfter).toInt(), &app, &QApplication::quit);
    }
    return app.exec();
}
