// The two functions that the main client calls. Each owns one CMainDlg, built on its first call
// and kept until the library is unloaded.
#include <memory>
#include <type_traits>

#include <QMessageBox>
#include <QWidget>

#include "modules/main_dlg.h"
#include "modules/module_interface.h"
#include "modules/module_page.h"
#include "modules/module_table.h"

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

using chat::modules::CMainDlg;
using chat::modules::moduleTable;

namespace {

std::unique_ptr<CMainDlg> interfaceDialog;
std::unique_ptr<CMainDlg> shownDialog;

QWidget* windowOf(ModuleWindowHandle handle) {
    return handle == 0 ? nullptr : QWidget::find(static_cast<WId>(handle));
}

// Module start: the special link's scheme is registered while the library is being loaded, which
// is the module's best chance to come before the first web page of the process.
[[maybe_unused]] const bool morvexSchemeRegistered = [] {
    if (moduleTable().handsOverSpecialLink) {
        chat::modules::registerMorvexScheme();
    }
    return true;
}();

void reportCreationFailure(const char* caption) {
    QMessageBox::critical(nullptr, QString::fromUtf8(caption),
                          QStringLiteral("dll中创建窗口失败！"));
}

}  // namespace

MODULE_EXPORT std::int32_t InitModuleInterface(tagModuleInterface** module,
                                               ModuleWindowHandle parent, const ModuleRect* rect,
                                               const void* startData,
                                               std::uint32_t startDataLength) {
    if (!interfaceDialog) {
        interfaceDialog = std::make_unique<CMainDlg>(moduleTable(), startData, startDataLength);
    }
    QWidget* parentWindow = windowOf(parent);
    if (parentWindow == nullptr) {
        return kModuleParentNotWindow;
    }
    if (!interfaceDialog->exists() && !interfaceDialog->create(parentWindow)) {
        reportCreationFailure(moduleTable().initErrorCaption);
        return kModuleDialogNotCreated;
    }
    interfaceDialog->moveAndShow(rect);
    if (module != nullptr) {
        *module = interfaceDialog.get();
    }
    return kModuleOk;
}

MODULE_EXPORT ModuleWindowHandle ShowDlg(ModuleWindowHandle parent, const ModuleRect* rect,
                                         std::int32_t, std::int32_t) {
    if (!shownDialog) {
        shownDialog = std::make_unique<CMainDlg>(moduleTable(), nullptr, 0);
    }
    if (QWidget* parentWindow = windowOf(parent)) {
        if (!shownDialog->exists()) {
            if (!shownDialog->create(parentWindow)) {
                reportCreationFailure(moduleTable().showErrorCaption);
            }
        } else {
            shownDialog->moveAndShow(rect);
        }
    }
    return shownDialog->windowHandle();
}

static_assert(std::is_same_v<decltype(&InitModuleInterface), InitModuleInterfaceFunction>);
static_assert(std::is_same_v<decltype(&ShowDlg), ShowDlgFunction>);
