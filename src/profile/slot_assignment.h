// What assigning a function code does to the rest of a button slot. The button page, the shortcut
// dialog and the macro code all go through here so the clearing rules live in one place.
#pragma once

#include <cstdint>
#include <string_view>

#include "profile/profile_record.h"

namespace t30 {

enum SpecialFunction : uint8_t {
    kFunctionPrimaryClick = 2,  // at least one physical button must keep it
    kFunctionKeepMacro = 8,     // leaves the slot's macro area as it is
    kFunctionKeyCombination = 17,
    kFunctionMacro = 18,
    kFunctionMacroOption = 50,  // macro with the selection dialog's option set
};

// Codes whose assignment keeps the slot's macro area instead of clearing it.
constexpr bool KeepsMacroArea(uint8_t code) {
    return code == kFunctionKeepMacro || code == kFunctionKeyCombination ||
           code == kFunctionMacro || code == kFunctionMacroOption;
}

// The macro data a slot copies from a library entry.
struct SlotMacro {
    std::u16string_view name;
    int32_t repeatCount;
    uint16_t eventCount;
    const MacroEvent* events;  // kMaxMacroEvents entries, copied whole
};

// Sets the code; any code other than 8, 17, 18 and 50 empties eventCount, events and macroName
// (repeat, index and run mode keep their values).
void AssignFunction(ButtonSlot& slot, uint8_t code);

// Type 17: the first event carries the usage and the modifier bits, the other 39 keep their bytes.
void AssignKeyCombination(ButtonSlot& slot, uint8_t usage, uint8_t modifierBits);

// Types 18 and 50: name (at most 23 units), repeat, count and all 40 events from the macro.
// macroIndex and macroRunMode are the selection dialog's to set.
void AssignMacro(ButtonSlot& slot, const SlotMacro& macro, bool optionChecked);

// False when giving `newCode` to `button` would leave no physical button with the primary click.
bool KeepsPrimaryClick(const ProfileRecord& profile, int button, uint8_t newCode);

}  // namespace t30
