#include "modules/main_dlg.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include <QCoreApplication>

#include "modules/system_code_page.h"

namespace chat::modules {

QString pageAddress(const SharedInfo& startData, const char* builtInPage) {
    if (const std::string* value = startData.find(kStartKeyPageAddress)) {
        const std::string_view address(value->c_str());  // up to the first zero byte
        if (!address.empty()) {
            return fromSystemCodePage(address);
        }
    }
    return QString::fromUtf8(builtInPage);
}

CMainDlg::CMainDlg(const ModuleTable& table, const void* startData, std::size_t startDataLength)
    : tagModuleInterface(), table_(table) {  // the record stays all zero until the dialog exists
    startData_.read(startData, startDataLength);
}

CMainDlg::~CMainDlg() {
    // The window's code lives in this library, so it must not outlive an unload. Once the
    // application is gone the process is ending and widgets can no longer be deleted safely.
    if (window_ && QCoreApplication::instance() != nullptr) {
        delete window_;
    }
}

bool CMainDlg::create(QWidget* parent) {
    try {
        auto* window =
            new MainDlgWindow(table_.handsOverSpecialLink, table_.browserControl, parent);
        window_ = window;
        if (window->winId() == 0) {
            delete window;
            return false;
        }
        fillRecord();
        window->navigate(pageAddress(startData_, table_.builtInPage));
        return true;
    } catch (const std::exception&) {
        delete window_;
        return false;
    }
}

void CMainDlg::fillRecord() {
    std::memcpy(identifier, table_.identifier,
                std::min(std::strlen(table_.identifier), sizeof identifier));
    mainWindow = window_->winId();

    const QImage bitmap(QStringLiteral(":/modules/bitmap_%1.png").arg(table_.iconBitmap));
    const int count = bitmap.width() / kIconWidth;
    icons_ = bitmap.copy(0, 0, count * kIconWidth, bitmap.height())
                 .convertToFormat(QImage::Format_RGB32);
    iconList_ =
        ModuleImageList{count, kIconWidth, icons_.height(),
                        static_cast<std::int32_t>(icons_.bytesPerLine()), icons_.constBits()};
    icons = &iconList_;

    const QByteArray text =
        toSystemCodePage(QString::fromUtf8(table_.description), sizeof description - 1);
    std::memcpy(description, text.constData(), static_cast<std::size_t>(text.size()));
}

void CMainDlg::moveAndShow(const ModuleRect* rect) {
    if (rect != nullptr) {
        window_->setGeometry(rect->left, rect->top, rect->right - rect->left,
                             rect->bottom - rect->top);
    }
    window_->show();
}

ModuleWindowHandle CMainDlg::windowHandle() const {
    return window_ ? window_->winId() : 0;
}

}  // namespace chat::modules
