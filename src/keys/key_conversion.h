// Usage code <-> virtual key. A stored usage names a key position (as on a US keyboard); for the
// layout-dependent keys (letters, digits, punctuation, Enter, Esc, Backspace, Tab, Space, Caps
// Lock, F1-F12) the conversions go through the keyboard layout, so the key that types "A" on a
// French keyboard is stored as the US "Q" position (0x14) and shown as "A".
#pragma once

#include <cstdint>
#include <optional>

#include "keys/keyboard_layout.h"

namespace t30 {

// Virtual key the layout puts at the usage's position; other keys by the table alone. Empty for
// usages without a row, and for positions where the layout has no key.
std::optional<uint8_t> UsageToVirtualKey(int usage, const KeyboardLayout& layout);

// Usage of the key position that produces the virtual key; empty for virtual keys without a row
// (Select, the generic Shift/Ctrl/Alt keys, ...). When the layout cannot place a layout-dependent
// key, the table's own usage for it stands.
std::optional<uint8_t> VirtualKeyToUsage(int virtualKey, const KeyboardLayout& layout);

}  // namespace t30
