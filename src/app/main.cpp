// The chat program: one copy per user, the launch values from the command line, the process-wide
// chat client, settings and platform edition, the main window, and the event loop until quit.
#include <QApplication>
#include <QDateTime>
#include <QRect>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/single_instance_lock.h"
#include "app/startup_args.h"
#include "app/startup_guard.h"
#include "client/chat_client.h"
#include "client/host_resolver.h"
#include "client/login_mac.h"
#include "platform/app_data_folders.h"
#include "platform/platform_special.h"
#include "platform/program_folder.h"
#include "storage/user_config.h"
#include "ui/main_window/main_gui.h"
#include "ui/prompts/qt_message_box_port.h"
#include "ui/qt_event_loop.h"
#include "ui/qt_system_font_source.h"
#include "ui/termination_signals.h"
#include "ui/ui_look.h"

namespace {

constexpr const char* kSettingsFolderName = "Palvern";

// The settings live in "Palvern" under the roaming application-data folder; without that folder
// the settings refuse to start (empty path).
std::filesystem::path settingsFolder() {
    const auto roaming = chat::roamingAppDataFolder();
    return roaming ? *roaming / kSettingsFolderName : std::filesystem::path();
}

int run(chat::QtMessageBoxPort& messages, int argc, char** argv) {
    const chat::SingleInstanceLock instance;
    // The verification codes come from the C library's generator.
    std::srand(static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch()));
    chat::StartupArgs args = chat::parseCommandLine(argc, argv);
    chat::validateStartupArgs(args);

    const std::filesystem::path folder = chat::programFolder();
    chat::PlatformSpecial special = chat::loadPlatformSpecial(folder);
    QApplication::setApplicationDisplayName(
        QString::fromStdString(chat::mainWindowCaption(special)));

    const chat::QtSystemFontSource fonts;
    chat::UserConfig config(settingsFolder(), fonts);
    const chat::SystemEthernetAdapters adapters;
    const chat::SystemHostResolver resolver;
    chat::ChatClient client(config, messages, adapters, resolver);
    auto loop = std::make_shared<chat::QtEventLoop>();

    chat::ui::ensureUiResources();
    chat::MainGUI window(client, loop, {std::move(args), std::move(special), folder});
    const chat::TerminationSignals termination([&window] { window.close(); });
    window.start(QRect());
    const int code = QApplication::exec();
    // Calls the socket worker still has queued are dropped; a worker waiting in send gets false.
    loop->shutdown();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    // The web pages share their OpenGL contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    chat::QtMessageBoxPort messages;
    return chat::runStartupGuarded(messages, [&] { return run(messages, argc, argv); });
}
