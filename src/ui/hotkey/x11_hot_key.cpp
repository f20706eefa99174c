#include "ui/hotkey/x11_hot_key.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ui/hotkey/virtual_keys.h"

namespace chat {

namespace {

// The lock states a grab must cover, or the key would not work with Caps Lock or Num Lock on.
constexpr std::array<uint16_t, 4> kLockStates = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                 XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t kChordModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

uint16_t x11Modifiers(uint8_t flags) {
    uint16_t modifiers = 0;
    if (flags & HotKeyFlag::kShift) {
        modifiers |= XCB_MOD_MASK_SHIFT;
    }
    if (flags & HotKeyFlag::kControl) {
        modifiers |= XCB_MOD_MASK_CONTROL;
    }
    if (flags & HotKeyFlag::kAlt) {
        modifiers |= XCB_MOD_MASK_1;
    }
    return modifiers;
}

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

}  // namespace

X11HotKey::X11HotKey(QObject* parent) : QObject(parent) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    connection_ = x11->connection();
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKey::~X11HotKey() {
    if (connection_ != nullptr) {
        unregisterHotKey();
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool X11HotKey::registerHotKey(uint32_t value) {
    if (connection_ == nullptr) {
        return true;
    }
    unregisterHotKey();
    const HotKeyChord chord = HotKeyChord::fromValue(value);
    const uint32_t keysym = x11KeysymOfVirtualKey(chord.virtualKey);
    const uint8_t keycode = keysym == 0 ? 0 : keycodeOf(keysym);
    if (keycode == 0) {
        return false;
    }
    const Grab combination{keycode, x11Modifiers(chord.flags)};
    if (!grab(combination)) {
        return false;
    }
    held_ = combination;
    return true;
}

void X11HotKey::unregisterHotKey() {
    if (connection_ != nullptr && held_) {
        release(*held_);
    }
    held_.reset();
}

uint8_t X11HotKey::keycodeOf(uint32_t keysym) const {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const uint8_t first = setup->min_keycode;
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - first + 1);
    const XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, first, count), nullptr));
    if (!mapping || mapping->keysyms_per_keycode == 0) {
        return 0;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int total = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    for (int index = 0; index < total; ++index) {
        if (keysyms[index] == keysym) {
            return static_cast<uint8_t>(first + index / mapping->keysyms_per_keycode);
        }
    }
    return 0;
}

bool X11HotKey::grab(const Grab& combination) {
    std::vector<xcb_void_cookie_t> requests;
    for (const uint16_t locks : kLockStates) {
        requests.push_back(xcb_grab_key_checked(connection_, 1, root_,
                                                combination.modifiers | locks, combination.keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool granted = true;
    for (const xcb_void_cookie_t request : requests) {
        // Another client that holds the combination makes the server refuse it (BadAccess).
        if (const XcbReply<xcb_generic_error_t> error{xcb_request_check(connection_, request)}) {
            granted = false;
        }
    }
    if (!granted) {
        release(combination);
    }
    return granted;
}

void X11HotKey::release(const Grab& combination) {
    // Only this client's grabs are released; another client's grab of the same keys stays.
    for (const uint16_t locks : kLockStates) {
        xcb_ungrab_key(connection_, combination.keycode, root_, combination.modifiers | locks);
    }
    xcb_flush(connection_);
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
    if (!held_ || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->event != root_ || press->detail != held_->keycode ||
        (press->state & kChordModifiers) != held_->modifiers) {
        return false;
    }
    emit activated();
    return true;
}

}  // namespace chat
