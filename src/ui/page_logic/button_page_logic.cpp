#include "ui/page_logic/button_page_logic.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/fixed_string.h"
#include "profile/slot_assignment.h"
#include "ui/page_logic/lighting.h"

namespace t30 {

namespace {

constexpr std::array<int, kPhysicalButtonCount> kDisplayNumbers = {1, 2, 3, 5, 4,  0,
                                                                   7, 8, 9, 6, 11, 12};
constexpr std::array<const char*, kPhysicalButtonCount> kPictureFiles = {
    "mouse1.jpg", "mouse2.jpg", "mouse3.jpg", "mouse5.jpg", "mouse4.jpg", "mouse.jpg",
    "mouse7.jpg", "mouse8.jpg", "mouse9.jpg", "mouse6.jpg", "mouse.jpg",  "mouse.jpg"};

}  // namespace

int ButtonDisplayNumber(int index) {
    if (index >= 0 && index < kPhysicalButtonCount) {
        return kDisplayNumbers[static_cast<std::size_t>(index)];
    }
    return 1;
}

const char* ButtonPictureFile(int index) {
    if (index >= 0 && index < kPhysicalButtonCount) {
        return kPictureFiles[static_cast<std::size_t>(index)];
    }
    return "mouse.jpg";
}

std::u16string ButtonLabel(int index, const ButtonSlot& slot, const KeyboardLayout& layout,
                           const LanguageText& text) {
    const std::string number = std::to_string(ButtonDisplayNumber(index)) + ".";
    return Widen(number) + ButtonFunctionText(slot, layout, text);
}

std::array<std::u16string, kButtonSlotCount> ButtonLabels(const ProfileRecord& profile,
                                                          const KeyboardLayout& layout,
                                                          const LanguageText& text) {
    std::array<std::u16string, kButtonSlotCount> labels;
    for (int i = 0; i < kButtonSlotCount; ++i) {
        labels[static_cast<std::size_t>(i)] = ButtonLabel(i, profile.buttons[i], layout, text);
    }
    return labels;
}

std::optional<int> HighlightForNotifyId(int64_t notifyId) {
    const int64_t index = notifyId - kButtonNotifyIdFirst;
    if (index < 0 || index >= kButtonSlotCount) {
        return std::nullopt;
    }
    return static_cast<int>(index);
}

ButtonPageView MakeButtonPageView(const ProfileRecord& profile, const KeyboardLayout& layout,
                                  const LanguageText& text) {
    ButtonPageView view{};
    view.buttonLabels = ButtonLabels(profile, layout, text);
    view.lightModeCaption = LightModeCaption(profile.lightMode, text);
    view.lightColourEnabled = LightColourApplies(profile.lightMode);
    view.lightLevelCaption = LightLevelCaption(profile, text);
    for (int j = 0; j < kReportRateCount; ++j) {
        view.reportRateChecked[static_cast<std::size_t>(j)] = profile.reportRate == j;
    }
    view.lightColour = profile.lightColour;
    std::copy(std::begin(profile.stageColours), std::end(profile.stageColours),
              view.stageColours.begin());
    for (int k = 0; k < kDpiStageCount; ++k) {
        view.dpiStages[static_cast<std::size_t>(k)] = {
            profile.dpiValues[k], profile.dpiStageEnabled[k] == 1, profile.dpiStage == k};
    }
    return view;
}

bool ButtonPageLogic::OpenFunctionMenu(int button) {
    if (!ValidButton(button)) {
        return false;
    }
    openMenuButton_ = button;
    return true;
}

FunctionChoice ButtonPageLogic::ChooseFunction(int commandId) {
    const int i = openMenuButton_;
    const uint8_t code = ButtonFunctionForCommand(commandId);
    const int p = store_.CurrentIndex();
    if (!ValidButton(i)) {
        return {FunctionChoiceKind::kIgnored, p, i, code};
    }
    if (!KeepsPrimaryClick(profile(), i, code)) {
        return {FunctionChoiceKind::kRefused, p, i, code};
    }
    if (commandId == kMacroCommand) {
        return {FunctionChoiceKind::kMacro, p, i, code};
    }
    if (commandId == kKeyCombinationCommand) {
        return {FunctionChoiceKind::kShortcut, p, i, code};
    }
    AssignFunction(profile().buttons[i], code);
    store_.MarkButton(p, i);
    return {FunctionChoiceKind::kAssigned, p, i, code};
}

const ButtonSlot* ButtonPageLogic::ChoiceSlot(const FunctionChoice& choice,
                                              FunctionChoiceKind kind) const {
    if (choice.kind != kind || choice.profile < 0 || choice.profile >= kProfileCount ||
        !ValidButton(choice.button)) {
        return nullptr;
    }
    return &store_.edited().profiles[choice.profile].buttons[choice.button];
}

ButtonSlot* ButtonPageLogic::ChoiceSlot(const FunctionChoice& choice, FunctionChoiceKind kind) {
    return const_cast<ButtonSlot*>(std::as_const(*this).ChoiceSlot(choice, kind));
}

ShortcutDialogState ButtonPageLogic::ShortcutPreset(const FunctionChoice& choice,
                                                    const KeyboardLayout& layout) const {
    const ButtonSlot* slot = ChoiceSlot(choice, FunctionChoiceKind::kShortcut);
    return slot ? ShortcutDialogState::ForSlot(*slot, layout) : ShortcutDialogState();
}

MacroSelectState ButtonPageLogic::MacroPreset(const FunctionChoice& choice) const {
    const ButtonSlot* slot = ChoiceSlot(choice, FunctionChoiceKind::kMacro);
    return slot ? MacroSelectState::ForSlot(*slot) : MacroSelectState();
}

bool ButtonPageLogic::FinishKeyCombination(const FunctionChoice& choice, uint8_t usage,
                                           const ModifierFlags& flags) {
    ButtonSlot* slot = ChoiceSlot(choice, FunctionChoiceKind::kShortcut);
    if (!slot) {
        return false;
    }
    AssignKeyCombination(*slot, usage, ModifierBitsFromFlags(flags));
    store_.MarkButton(choice.profile, choice.button);
    return true;
}

bool ButtonPageLogic::FinishMacro(const FunctionChoice& choice, const MacroSelection& selection) {
    ButtonSlot* slot = ChoiceSlot(choice, FunctionChoiceKind::kMacro);
    if (!slot) {
        return false;
    }
    slot->macroRunMode = selection.runMode;
    slot->macroIndex = selection.chosenIndex;
    const int32_t index = selection.chosenIndex;
    if (index >= 0 && static_cast<std::size_t>(index) < library_.size()) {
        const MacroRecord& record = library_[static_cast<std::size_t>(index)];
        // The library keeps counts within 0-40 on load; a slot must never claim more events
        // than it holds whatever the entry says.
        const int count = std::clamp<int32_t>(record.eventCount, 0, kMaxMacroEvents);
        const SlotMacro macro{FixedView(record.name), record.repeatCount,
                              static_cast<uint16_t>(count), record.events};
        AssignMacro(*slot, macro, selection.optionChecked == 1);
    } else {
        AssignFunction(*slot, DefaultButtonType(choice.button));
    }
    store_.MarkButton(choice.profile, choice.button);
    return true;
}

void ButtonPageLogic::RestoreDefaults() {
    restoreButtonDefaults(profile());
}

DpiStageUpdate ButtonPageLogic::OnDpiStageMessage(uint64_t wParam, int64_t lParam) {
    return ApplyDpiStageMessage(profile(), wParam, lParam);
}

bool ButtonPageLogic::ChooseReportRate(int rate) {
    if (rate < 0 || rate >= kReportRateCount) {
        return false;
    }
    profile().reportRate = rate;
    return true;
}

void ButtonPageLogic::ChooseLightMode(int commandId) {
    profile().lightMode = LightModeForCommand(commandId);
}

void ButtonPageLogic::ChooseLightLevel(int commandId) {
    t30::ChooseLightLevel(profile(), commandId);
}

void ButtonPageLogic::SetLightColour(Colour colour) {
    profile().lightColour = colour;
}

bool ButtonPageLogic::SetStageColour(int stage, Colour colour) {
    if (stage < 0 || stage >= kStageColourCount) {
        return false;
    }
    profile().stageColours[stage] = colour;
    return true;
}

}  // namespace t30
