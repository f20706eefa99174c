// Grabs a screen-capture hot key on the current X11 display and reports its presses, to try the
// key grab by hand (for example under xvfb-run with xdotool pressing the keys).
//   x11_hot_key_try <hot-key value, e.g. 0x641 for Ctrl+Alt+A> [milliseconds before quitting]
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "ui/hotkey/hot_key_edit.h"
#include "ui/hotkey/x11_hot_key.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <hot-key value> [milliseconds]\n", argv[0]);
        return 2;
    }
    const auto value = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 0));
    const int milliseconds = argc > 2 ? std::atoi(argv[2]) : 5000;

    chat::X11HotKey hotKey;
    const QByteArray name = chat::HotKeyEdit::textOf(value).toUtf8();
    std::printf("platform %s, grabs keys: %s\n", qPrintable(QGuiApplication::platformName()),
                hotKey.grabsKeys() ? "yes" : "no");
    const bool registered = hotKey.registerHotKey(value);
    std::printf("register %s (0x%x): %s\n", name.constData(), value,
                registered ? "granted" : "refused");
    std::fflush(stdout);
    QObject::connect(&hotKey, &chat::X11HotKey::activated, [] {
        std::printf("pressed\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(milliseconds, &app, &QCoreApplication::quit);
    app.exec();
    return registered ? 0 : 1;
}
