// The button assignment page without its window. The page window is a shell over ButtonPageLogic:
// it forwards clicks, menu commands and stage messages, runs the dialogs this logic asks for, and
// paints from ButtonPageView.
//
// Assigning a function, as the window drives it:
//   logic.OpenFunctionMenu(i);                       // before showing button i's menu
//   FunctionChoice c = logic.ChooseFunction(id);     // WM_COMMAND 1000-2000
//   kRefused       -> show the click warning; nothing changed
//   kShortcut      -> run the shortcut dialog from logic.ShortcutPreset(c, layout);
//                     on OK logic.FinishKeyCombination(c, dialog.usage(), dialog.flags())
//   kMacro         -> run the macro dialog from logic.MacroPreset(c);
//                     on OK logic.FinishMacro(c, dialog.selection())
//   kAssigned      -> done
// and after every completed assignment relabel from ButtonLabels / MakeButtonPageView.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "keys/button_functions.h"
#include "keys/key_combination.h"
#include "keys/keyboard_layout.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/page_logic/dpi_stages.h"
#include "ui/page_logic/macro_select_state.h"
#include "ui/page_logic/shortcut_dialog_state.h"

namespace t30 {

constexpr int kReportRateCount = 4;
constexpr int kButtonNotifyIdFirst = 200;  // assignment button i reports hover with 200 + i
constexpr int kFunctionMenuMinWidth = 159;
// The two function-menu commands that open a dialog before anything is assigned.
constexpr int kMacroCommand = 1049;
constexpr int kKeyCombinationCommand = 1060;

// The number a button's label starts with: buttons are numbered as on the mouse, and index 5 (the
// button the mouse has no number for) shows 0. Indexes 12-23 all show 1.
int ButtonDisplayNumber(int index);
// The highlight picture of a button in the skin's "Mouse\" folder ("mouse.jpg" for buttons the
// picture does not mark).
const char* ButtonPictureFile(int index);

// "%d." with the display number, then the function's text.
std::u16string ButtonLabel(int index, const ButtonSlot& slot, const KeyboardLayout& layout,
                           const LanguageText& text);
std::array<std::u16string, kButtonSlotCount> ButtonLabels(const ProfileRecord& profile,
                                                          const KeyboardLayout& layout,
                                                          const LanguageText& text);

// Hover notification 0x464: the highlight picture to show or hide, nothing for ids of other
// controls.
std::optional<int> HighlightForNotifyId(int64_t notifyId);

struct DpiStageView {
    int value;
    bool enabled;
    bool current;
};

// Everything the page shows for a profile, in one piece for Refresh.
struct ButtonPageView {
    std::array<std::u16string, kButtonSlotCount> buttonLabels;
    std::u16string lightModeCaption;
    bool lightColourEnabled;  // the colour button, and whether caption 159 is painted
    std::u16string lightLevelCaption;
    std::array<bool, kReportRateCount> reportRateChecked;
    Colour lightColour;
    std::array<Colour, kStageColourCount> stageColours;
    std::array<DpiStageView, kDpiStageCount> dpiStages;
};

ButtonPageView MakeButtonPageView(const ProfileRecord& profile, const KeyboardLayout& layout,
                                  const LanguageText& text);

enum class FunctionChoiceKind {
    kIgnored,   // no function menu was open
    kRefused,   // would leave no button with the primary click: show the click warning
    kShortcut,  // run the shortcut dialog, then FinishKeyCombination
    kMacro,     // run the macro selection dialog, then FinishMacro
    kAssigned,  // a plain function: stored and marked
};

struct FunctionChoice {
    FunctionChoiceKind kind;
    // The profile and button the menu was opened for. A dialog's result goes there even if an
    // automatic profile switch changed the current profile while the dialog was open.
    int profile;
    int button;
    uint8_t code;  // the code the command stands for
};

class ButtonPageLogic {
  public:
    ButtonPageLogic(ProfileStore& store, const MacroLibrary& library)
        : store_(store), library_(library) {}

    ProfileRecord& profile() { return store_.current(); }
    const ProfileRecord& profile() const { return store_.current(); }

    // Remembers which button's menu is open; false (and nothing remembered) for a bad index.
    bool OpenFunctionMenu(int button);
    int OpenMenuButton() const { return openMenuButton_; }

    // A command of the function menu. Plain functions are assigned here; the key combination and
    // the macro first need their dialogs. The primary-click rule runs before any dialog opens.
    FunctionChoice ChooseFunction(int commandId);

    ShortcutDialogState ShortcutPreset(const FunctionChoice& choice,
                                       const KeyboardLayout& layout) const;
    MacroSelectState MacroPreset(const FunctionChoice& choice) const;

    // After OK of the shortcut dialog; false (nothing changed) for a choice of another kind.
    bool FinishKeyCombination(const FunctionChoice& choice, uint8_t usage,
                              const ModifierFlags& flags);
    // After OK of the macro selection dialog. The run mode and index are kept even when the
    // library has no entry there; the button then gets its default function.
    bool FinishMacro(const FunctionChoice& choice, const MacroSelection& selection);

    // The restore button: every slot back to its default; marks and all other fields stay.
    void RestoreDefaults();

    // Message 0x4C9 from a stage window (see ApplyDpiStageMessage).
    DpiStageUpdate OnDpiStageMessage(uint64_t wParam, int64_t lParam);

    // Report-rate button j; false for a j that is no button.
    bool ChooseReportRate(int rate);
    // Commands of the lighting menus (3001-3100, 4001-5000).
    void ChooseLightMode(int commandId);
    void ChooseLightLevel(int commandId);
    // Colour dialog results.
    void SetLightColour(Colour colour);
    bool SetStageColour(int stage, Colour colour);

  private:
    static bool ValidButton(int button) { return button >= 0 && button < kButtonSlotCount; }
    // The slot a dialog's choice is for; nullptr unless the choice is of `kind`.
    ButtonSlot* ChoiceSlot(const FunctionChoice& choice, FunctionChoiceKind kind);
    const ButtonSlot* ChoiceSlot(const FunctionChoice& choice, FunctionChoiceKind kind) const;

    ProfileStore& store_;
    const MacroLibrary& library_;
    int openMenuButton_ = -1;
};

}  // namespace t30
