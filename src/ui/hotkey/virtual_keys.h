#pragma once
// The keys a screen-capture hot key can use, by their virtual key codes (the codes the settings
// file keeps): what Qt calls them when the user presses them, how they are named in the hot-key
// field, and which X11 key symbol they are on this desktop. Punctuation follows the US layout.
#include <QString>

#include <cstdint>
#include <optional>

namespace chat {

struct PressedVirtualKey {
    uint8_t virtualKey = 0;
    bool extended = false;  // an extended key (navigation block, keypad divide)
};

// The virtual key of a pressed Qt key; `keypad` when it came from the numeric keypad. Shifted
// digits and punctuation give the key they are on. Nothing for keys a hot key cannot use
// (modifiers, lock keys, unknown keys).
std::optional<PressedVirtualKey> virtualKeyOfQtKey(int qtKey, bool keypad);

// The name of a virtual key as the hot-key field shows it; its code in hexadecimal when unknown.
QString virtualKeyName(uint8_t virtualKey);

// The X11 key symbol of a virtual key; 0 when there is none.
uint32_t x11KeysymOfVirtualKey(uint8_t virtualKey);

}  // namespace chat
