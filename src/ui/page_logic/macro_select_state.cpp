#include "ui/page_logic/macro_select_state.h"

#include "base/fixed_string.h"
#include "profile/slot_assignment.h"

namespace t30 {

MacroSelectState MacroSelectState::ForSlot(const ButtonSlot& slot) {
    MacroSelectState state;
    if (slot.functionType == kFunctionMacro || slot.functionType == kFunctionMacroOption) {
        state.selection_.chosenIndex = slot.macroIndex;
        state.selection_.runMode = slot.macroRunMode;
        state.selection_.optionChecked = slot.functionType == kFunctionMacroOption ? 1 : 0;
    }
    return state;
}

std::vector<std::u16string> MacroSelectState::ListLines(const MacroLibrary& library) {
    std::vector<std::u16string> lines;
    lines.reserve(library.size());
    for (const MacroRecord& record : library.records()) {
        lines.emplace_back(FixedView(record.name));
    }
    return lines;
}

int MacroSelectState::InitialLine(std::size_t lineCount) const {
    const int32_t index = selection_.chosenIndex;
    if (index < 0 || static_cast<std::size_t>(index) >= lineCount) {
        return -1;
    }
    return index;
}

void MacroSelectState::OnRunModeClicked(int mode) {
    if (mode >= 0 && mode < kMacroRunModeCount) {
        selection_.runMode = mode;
    }
}

std::array<bool, kMacroRunModeCount> MacroSelectState::RunModeChecks() const {
    std::array<bool, kMacroRunModeCount> checks{};
    for (int mode = 0; mode < kMacroRunModeCount; ++mode) {
        checks[static_cast<std::size_t>(mode)] = selection_.runMode == mode;
    }
    return checks;
}

}  // namespace t30
