#pragma once
// The screen-capture hot key on an X11 desktop: the key combination is grabbed on the root window,
// so its presses come to the program whichever window has the focus, and are told by the signal
// `activated`. On platforms without X11 (offscreen, Wayland) nothing is grabbed and every
// registration succeeds.
#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <optional>

#include "client/ports/hot_key_port.h"

struct xcb_connection_t;

namespace chat {

class X11HotKey final : public QObject, public HotKeyPort, private QAbstractNativeEventFilter {
    Q_OBJECT

  public:
    explicit X11HotKey(QObject* parent = nullptr);
    ~X11HotKey() override;

    bool registerHotKey(uint32_t value) override;
    void unregisterHotKey() override;

    // Whether this desktop has key grabs (an X11 display).
    bool grabsKeys() const { return connection_ != nullptr; }

  signals:
    void activated();

  private:
    struct Grab {
        uint8_t keycode = 0;
        uint16_t modifiers = 0;  // X11 modifier mask
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    uint8_t keycodeOf(uint32_t keysym) const;
    // Grabs (or releases) the combination with every state of Caps Lock and Num Lock.
    bool grab(const Grab& combination);
    void release(const Grab& combination);

    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    std::optional<Grab> held_;
};

}  // namespace chat
