// The macro selection dialog without its window: the three values it collects (library index,
// run mode, option), preset from the button's slot, and what its list and buttons show.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "macro/macro_library.h"
#include "profile/profile_record.h"

namespace t30 {

constexpr int kMacroRunModeCount = 3;

// What the dialog hands back after OK.
struct MacroSelection {
    int32_t chosenIndex = -1;   // library index; -1 = none
    int32_t runMode = 0;        // 0-2, stored in the slot's macroRunMode
    int32_t optionChecked = 0;  // 1: the slot gets type 50 instead of 18
};

class MacroSelectState {
  public:
    MacroSelectState() = default;
    // A macro slot (18 or 50) presets its index, run mode and option; any other slot presets
    // index -1 and run mode 0 and leaves the option clear.
    static MacroSelectState ForSlot(const ButtonSlot& slot);

    const MacroSelection& selection() const { return selection_; }

    // The list's lines: every library entry's name, in library order.
    static std::vector<std::u16string> ListLines(const MacroLibrary& library);
    // The line to select when the dialog opens: none (-1) when the index is -1 or lies beyond
    // the last line (the macro was deleted since).
    int InitialLine(std::size_t lineCount) const;

    // The list's selection changed (-1 when the list has none).
    void OnSelectionChanged(int line) { selection_.chosenIndex = line; }
    // Run-mode button 0-2 clicked: that one shows checked, the others not.
    void OnRunModeClicked(int mode);
    void OnOptionClicked(bool checked) { selection_.optionChecked = checked ? 1 : 0; }

    std::array<bool, kMacroRunModeCount> RunModeChecks() const;
    bool optionChecked() const { return selection_.optionChecked == 1; }

  private:
    MacroSelection selection_;
};

}  // namespace t30
