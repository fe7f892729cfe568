// The lighting controls of the button page: the mode menu, the level menu whose meaning depends on
// the mode (brightness or speed), their button captions and when the lighting colour applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keys/button_functions.h"
#include "profile/profile_record.h"

namespace t30 {

constexpr int kLightModeCommandFirst = 3001;
constexpr int kLightModeCommandLast = 3100;
constexpr int kLightLevelCommandFirst = 4001;
constexpr int kLightLevelCommandLast = 5000;
constexpr int kLightMenuItemWidth = 132;

struct LightMenuItem {
    uint16_t commandId;
    uint16_t textId;
};
constexpr bool operator==(const LightMenuItem& a, const LightMenuItem& b) {
    return a.commandId == b.commandId && a.textId == b.textId;
}

// Which profile field the level menu sets in a mode.
enum class LightLevelKind { kNone, kBrightness, kSpeed };
LightLevelKind LightLevelKindOf(int lightMode);

// The mode menu's five items, in menu order.
std::vector<LightMenuItem> LightModeMenuItems();
// The mode a command of 3001-3100 selects; ids the menu does not offer select mode 0.
int LightModeForCommand(int commandId);

// The level menu of a mode: brightness or speed names, or no items at all.
std::vector<LightMenuItem> LightLevelMenuItems(int lightMode);
// Stores the level a command of 4001-5000 picks into the field of the profile's mode (nothing in
// a mode without levels).
void ChooseLightLevel(ProfileRecord& profile, int commandId);

// String of the mode button's caption; nothing for a mode no menu item names.
std::optional<uint16_t> LightModeCaptionId(int lightMode);
std::u16string LightModeCaption(int lightMode, const LanguageText& text);
// The level button's caption: "0%" with the lighting off, else the name of the current level.
std::u16string LightLevelCaption(const ProfileRecord& profile, const LanguageText& text);

// Steady and breathing use the lighting colour: its button is enabled and its caption painted
// only then.
constexpr bool LightColourApplies(int lightMode) {
    return lightMode == 1 || lightMode == 2;
}

}  // namespace t30
