#include "profile/slot_assignment.h"

#include <cstring>

#include "base/fixed_string.h"

namespace t30 {

void AssignFunction(ButtonSlot& slot, uint8_t code) {
    slot.functionType = code;
    if (!KeepsMacroArea(code)) {
        slot.eventCount = 0;
        std::memset(slot.events, 0, sizeof slot.events);
        std::memset(slot.macroName, 0, sizeof slot.macroName);
    }
}

void AssignKeyCombination(ButtonSlot& slot, uint8_t usage, uint8_t modifierBits) {
    slot.eventCount = 1;
    slot.events[0].key = usage;
    slot.events[0].action = modifierBits;
    std::memset(slot.macroName, 0, sizeof slot.macroName);
    slot.functionType = kFunctionKeyCombination;
}

void AssignMacro(ButtonSlot& slot, const SlotMacro& macro, bool optionChecked) {
    slot.eventCount = macro.eventCount;
    SetFixed(slot.macroName, macro.name);
    std::memcpy(slot.events, macro.events, sizeof slot.events);
    slot.macroRepeat = macro.repeatCount;
    slot.functionType = optionChecked ? kFunctionMacroOption : kFunctionMacro;
}

bool KeepsPrimaryClick(const ProfileRecord& profile, int button, uint8_t newCode) {
    for (int b = 0; b < kPhysicalButtonCount; ++b) {
        const uint8_t code = b == button ? newCode : profile.buttons[b].functionType;
        if (code == kFunctionPrimaryClick) {
            return true;
        }
    }
    return false;
}

}  // namespace t30
