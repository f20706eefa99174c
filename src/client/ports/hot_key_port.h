#pragma once
// The screen-capture hot key as the program needs it from the system: take a key combination for
// the whole desktop, and give it back. The value is the hot-key control's: the low byte a virtual
// key code, the next byte the modifier flags.
#include <cstdint>

namespace chat {

namespace HotKeyFlag {
inline constexpr uint8_t kShift = 0x01;
inline constexpr uint8_t kControl = 0x02;
inline constexpr uint8_t kAlt = 0x04;
inline constexpr uint8_t kExtended = 0x08;  // an extended key of the keyboard; not a modifier
}  // namespace HotKeyFlag

struct HotKeyChord {
    uint8_t virtualKey = 0;
    uint8_t flags = 0;  // HotKeyFlag bits

    static constexpr HotKeyChord fromValue(uint32_t value) {
        return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF)};
    }
    constexpr uint32_t value() const { return uint32_t{flags} << 8 | virtualKey; }
    bool operator==(const HotKeyChord&) const = default;
};

class HotKeyPort {
  public:
    virtual ~HotKeyPort() = default;
    // Takes the combination of `value` (not 0) for the program; false when it cannot be had
    // (another program holds it, or the key does not exist on this keyboard).
    virtual bool registerHotKey(uint32_t value) = 0;
    // Gives back the combination taken last; nothing when none is held.
    virtual void unregisterHotKey() = 0;
};

}  // namespace chat
