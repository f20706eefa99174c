#pragma once
// One module dialog with its interface record: the object behind InitModuleInterface (built with
// the main client's start data) or behind ShowDlg (built without). The object lives while the
// module is loaded; its window is created once and then only moved and shown.
#include <cstddef>

#include <QImage>
#include <QPointer>
#include <QString>

#include "modules/main_dlg_window.h"
#include "modules/module_interface.h"
#include "modules/module_table.h"
#include "modules/shared_info.h"

namespace chat::modules {

// The page to show: the text of the start data's page address up to its first zero byte, or the
// built-in page when the start data names none (or names an empty address).
QString pageAddress(const SharedInfo& startData, const char* builtInPage);

class CMainDlg final : public tagModuleInterface {
  public:
    static constexpr int kIconWidth = 91;

    CMainDlg(const ModuleTable& table, const void* startData, std::size_t startDataLength);
    ~CMainDlg();
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    std::int32_t Reserved() override { return 0; }

    bool exists() const { return !window_.isNull(); }
    // Creates the window as a child of parent and fills the interface record; false on failure.
    bool create(QWidget* parent);
    // Moves the window to rect (when given) and shows it.
    void moveAndShow(const ModuleRect* rect);
    ModuleWindowHandle windowHandle() const;

  private:
    void fillRecord();

    const ModuleTable& table_;
    SharedInfo startData_;
    QPointer<MainDlgWindow> window_;
    QImage icons_;
    ModuleImageList iconList_{};
};

}  // namespace chat::modules
