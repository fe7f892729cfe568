#include "ui/page_logic/lighting.h"

#include "string_ids.h"

namespace t30 {

LightLevelKind LightLevelKindOf(int lightMode) {
    switch (lightMode) {
        case 1:
        case 5:
            return LightLevelKind::kBrightness;
        case 2:
        case 3:
        case 4:
        case 6:
            return LightLevelKind::kSpeed;
        default:
            return LightLevelKind::kNone;
    }
}

std::vector<LightMenuItem> LightModeMenuItems() {
    return {{3001, IDS_LIGHT_STEADY},
            {3002, IDS_LIGHT_BREATHING},
            {3005, IDS_LIGHT_WAVE},
            {3003, IDS_LIGHT_SPECTRUM},
            {3004, IDS_LIGHT_OFF}};
}

int LightModeForCommand(int commandId) {
    switch (commandId) {
        case 3001:
            return 1;
        case 3002:
            return 2;
        case 3003:
            return 3;
        case 3005:
            return 4;
        default:  // 3004 is "off"; anything else the menu never sends
            return 0;
    }
}

std::vector<LightMenuItem> LightLevelMenuItems(int lightMode) {
    switch (LightLevelKindOf(lightMode)) {
        case LightLevelKind::kBrightness:
            return {{4001, IDS_LIGHT_BRIGHTNESS_LOW},
                    {4002, IDS_LIGHT_BRIGHTNESS_MEDIUM},
                    {4003, IDS_LIGHT_BRIGHTNESS_HIGH}};
        case LightLevelKind::kSpeed:
            return {{4001, IDS_LIGHT_SPEED_SLOW},
                    {4002, IDS_LIGHT_SPEED_MEDIUM},
                    {4003, IDS_LIGHT_SPEED_FAST}};
        case LightLevelKind::kNone:
            break;
    }
    return {};
}

void ChooseLightLevel(ProfileRecord& profile, int commandId) {
    switch (LightLevelKindOf(profile.lightMode)) {
        case LightLevelKind::kBrightness:
            profile.lightBrightness = commandId == 4001 ? 1 : commandId == 4002 ? 2 : 3;
            break;
        case LightLevelKind::kSpeed:
            profile.lightSpeed = commandId == 4001 ? 1 : commandId == 4003 ? 3 : 2;
            break;
        case LightLevelKind::kNone:
            break;
    }
}

std::optional<uint16_t> LightModeCaptionId(int lightMode) {
    switch (lightMode) {
        case 0:
            return IDS_LIGHT_OFF;
        case 1:
            return IDS_LIGHT_STEADY;
        case 2:
            return IDS_LIGHT_BREATHING;
        case 3:
            return IDS_LIGHT_SPECTRUM;
        case 4:
            return IDS_LIGHT_WAVE;
        default:
            return std::nullopt;
    }
}

std::u16string LightModeCaption(int lightMode, const LanguageText& text) {
    const std::optional<uint16_t> id = LightModeCaptionId(lightMode);
    return id ? text(*id) : std::u16string();
}

std::u16string LightLevelCaption(const ProfileRecord& profile, const LanguageText& text) {
    if (profile.lightMode == 0) {
        return u"0%";
    }
    switch (LightLevelKindOf(profile.lightMode)) {
        case LightLevelKind::kBrightness:
            return text(profile.lightBrightness == 1   ? IDS_LIGHT_BRIGHTNESS_LOW
                        : profile.lightBrightness == 2 ? IDS_LIGHT_BRIGHTNESS_MEDIUM
                                                       : IDS_LIGHT_BRIGHTNESS_HIGH);
        case LightLevelKind::kSpeed:
            return text(profile.lightSpeed == 1   ? IDS_LIGHT_SPEED_SLOW
                        : profile.lightSpeed == 3 ? IDS_LIGHT_SPEED_FAST
                                                  : IDS_LIGHT_SPEED_MEDIUM);
        case LightLevelKind::kNone:
            break;
    }
    return {};
}

}  // namespace t30
