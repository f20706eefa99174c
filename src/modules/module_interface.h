#pragma once
// The interface between a web-page module (info, Soniro, Pextra) and the platform's main client
// that loads it. The main client opens the library (libinfo.so, libSoniro.so, libPextra.so), looks
// up the two functions below by name and calls them on its GUI thread.
//
// Window handles: a window handle is the native window id (QWidget::winId()) of a widget of the
// host process. A handle that names no widget of the process (QWidget::find() gives none) is not a
// window. The host must give its parent widget a native id (call winId()) before passing it.
//
// Qt WebEngine needs Qt::AA_ShareOpenGLContexts set before the host creates its QApplication.
//
// Calling conventions: on this platform every function uses the one C calling convention; the
// caller-cleans / callee-cleans distinction of 32-bit Windows does not exist here.
#include <cstdint>

#include <QEvent>

// Native window id of a widget, the same integer as WId.
typedef std::uintptr_t ModuleWindowHandle;

// A rectangle in the parent's client coordinates; width = right - left, height = bottom - top.
struct ModuleRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The module's icons: imageCount images of imageWidth x imageHeight pixels, side by side in one
// strip. Each pixel is a 32-bit word 0xffRRGGBB in the machine's byte order (QImage::Format_RGB32);
// rows are bytesPerLine apart. No mask colour: every pixel is opaque. Owned by the module.
struct ModuleImageList {
    std::int32_t imageCount;
    std::int32_t imageWidth;
    std::int32_t imageHeight;
    std::int32_t bytesPerLine;
    const std::uint8_t* bits;
};

// Start data: a byte block of records, each an 8-byte head followed by its value.
//   offset 0: key, u32 little-endian
//   offset 4: record length in bytes including the head, u32 little-endian, at least 9
//   offset 8: value bytes (length - 8)
// A later record with the same key replaces an earlier one. The walk stops at a length below 9 or
// beyond the end of the block. The data is read on the first InitModuleInterface call only.
//
// Key of the page address to show: GBK text ending in a zero byte.
inline constexpr std::uint32_t kStartKeyPageAddress = 20;

// The module interface record, returned by InitModuleInterface. The module owns it; the pointer
// stays valid while the module is loaded. Fields are filled when the dialog is created.
struct tagModuleInterface {
    // The single virtual operation; returns 0.
    virtual std::int32_t Reserved() = 0;

    char identifier[4];             // four ASCII letters, no terminator ("yxjb", "yxyy", "yxaq")
    ModuleWindowHandle mainWindow;  // the module's dialog
    const ModuleImageList* icons;   // the module's icons
    char description[81];           // GBK text, zero-terminated ("游戏脚本" ...)

  protected:
    ~tagModuleInterface() = default;
};

// Return codes of InitModuleInterface.
inline constexpr std::int32_t kModuleOk = 0;
inline constexpr std::int32_t kModuleParentNotWindow = -1;
inline constexpr std::int32_t kModuleDialogNotCreated = -2;

// Message 1384: Pextra posts it (QCoreApplication::postEvent) to its dialog's parent widget when
// the page navigates to the link "Morvex://360safe/". Recognise it by type() == 1384 and
// static_cast the QEvent (the class is defined here, so its layout is shared; dynamic_cast does not
// work across the module boundary).
inline constexpr int kSpecialLinkMessage = 1384;

class SpecialLinkEvent : public QEvent {
  public:
    explicit SpecialLinkEvent(ModuleWindowHandle dialog)
        : QEvent(static_cast<QEvent::Type>(kSpecialLinkMessage)), dialogWindow(dialog) {}

    ModuleWindowHandle dialogWindow;    // first parameter: the dialog's window
    std::intptr_t secondParameter = 0;  // always 0
};

// The exported functions (C linkage).
//
// InitModuleInterface: on the first call builds the module's interface and reads the start data
// (later calls ignore theirs). Returns kModuleParentNotWindow when parent names no window. Creates
// the dialog as a child of parent unless it exists (on failure shows "dll中创建窗口失败！" and
// returns kModuleDialogNotCreated), moves it to *rect, shows it, stores the record's address in
// *module and returns kModuleOk. A null rect leaves the dialog where it is; a null module pointer
// is not written.
//
// ShowDlg: on the first call builds a second, independent interface with no start data. When parent
// names a window: creates that dialog if it does not exist, otherwise moves it to *rect and shows
// it. Returns the dialog's window handle, 0 while it does not exist. The two further arguments are
// ignored.
extern "C" {
typedef std::int32_t (*InitModuleInterfaceFunction)(tagModuleInterface** module,
                                                    ModuleWindowHandle parent,
                                                    const ModuleRect* rect, const void* startData,
                                                    std::uint32_t startDataLength);
typedef ModuleWindowHandle (*ShowDlgFunction)(ModuleWindowHandle parent, const ModuleRect* rect,
                                              std::int32_t unused1, std::int32_t unused2);
}
