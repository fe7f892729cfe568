// A free key combination (function type 17): a usage code plus the modifier bits chosen in the
// shortcut dialog, kept in the slot's first event and sent to the mouse unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "keys/keyboard_layout.h"

namespace t30 {

// Bit n is check button n of the shortcut dialog. Only bits 0-4 are ever set.
enum ModifierBits : uint8_t {
    kModifierKeyAlone = 0x01,  // excludes the other four; shown without a prefix
    kModifierShift = 0x02,
    kModifierCtrl = 0x04,
    kModifierAlt = 0x08,
    kModifierWin = 0x10,
};

constexpr int kModifierFlagCount = 5;
using ModifierFlags = std::array<bool, kModifierFlagCount>;

// Flag n gives bit n; a set "key alone" flag stores that bit only, whatever the others say.
constexpr uint8_t ModifierBitsFromFlags(const ModifierFlags& flags) {
    if (flags[0]) {
        return kModifierKeyAlone;
    }
    uint8_t bits = 0;
    for (int n = 1; n < kModifierFlagCount; ++n) {
        if (flags[static_cast<std::size_t>(n)]) {
            bits = static_cast<uint8_t>(bits | (1u << n));
        }
    }
    return bits;
}

// Bits 0-4 of a stored byte as the dialog's five flags (bits 5-7 are not the dialog's).
constexpr ModifierFlags ModifierFlagsFromBits(uint8_t bits) {
    ModifierFlags flags{};
    for (int n = 0; n < kModifierFlagCount; ++n) {
        flags[static_cast<std::size_t>(n)] = (bits >> n) & 1u;
    }
    return flags;
}

// "Shift+Ctrl+A": the prefixes of bits 1-4 in that order (none when bit 0 is set), then the name
// of the key the layout shows at the usage's position (empty when there is none).
std::u16string FormatKeyCombination(int usage, uint8_t modifierBits, const KeyboardLayout& layout);

}  // namespace t30
