#include "profile/profile_store.h"

#include <cstdio>
#include <cstring>

#include "base/fixed_string.h"

namespace t30 {
void MakeProfileDefaults(ProfileRecord& p, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "Default%d", number);
    SetFixed(p.name, Widen(name));
    SetFixed(p.programPath, u"");

    p.doubleClickIndex = 6;
    p.wheelLines = 3;
    p.wheelPageScroll = 0;
    p.pointerSpeed = 6;
    p.reserved1516 = 10;
    p.enhancePrecision = 0;
    p.reserved1524 = 3;
    p.reserved1528 = 0;
    p.reserved1532 = 0;
    p.sensitivityLinked = 1;
    p.sensitivityX = 8;
    p.sensitivityY = 8;
    p.reserved1548 = 8;
    p.reserved1552 = 1;
    p.reserved1556 = 1;
    p.reserved1560 = 1;

    static constexpr int32_t kDpiValues[kDpiStageCount] = {26, 42, 63, 84, 126, 126};
    static constexpr int32_t kStageEnabled[kDpiStageCount] = {1, 1, 1, 1, 1, 0};
    std::memcpy(p.dpiValues, kDpiValues, sizeof p.dpiValues);
    std::memcpy(p.dpiStageEnabled, kStageEnabled, sizeof p.dpiStageEnabled);

    p.reserved1632 = 0;
    p.reserved1636 = 0;
    static constexpr uint8_t k1640[12] = {1, 2, 3, 4, 4, 5, 5, 6, 6, 0, 1, 1};
    std::memcpy(p.reserved1640, k1640, sizeof p.reserved1640);

    p.lightBrightness = 3;
    p.lightSpeed = 2;
    p.reserved1660 = 6;
    p.reserved1664 = 1;
    p.dpiStage = 1;
    p.reserved1672 = 10;
    p.reportRate = 2;
    p.reserved1680 = 1;
    p.lightMode = 4;
    p.reserved1688 = 1;
    p.reserved1696 = 1;
    std::memset(p.reserved1700, 0, sizeof p.reserved1700);
    p.reserved1716 = 1;
    p.lightColour = MakeColour(255, 0, 0);

    static constexpr Colour kStageColours[kStageColourCount] = {
        MakeColour(255, 0, 0), MakeColour(0, 255, 0), MakeColour(0, 0, 255),
        MakeColour(255, 0, 255), MakeColour(0, 255, 255)};
    std::memcpy(p.stageColours, kStageColours, sizeof p.stageColours);

    // Fields without a default (reserved1588, 1692, 1724) keep what the block held.
    std::memset(p.buttons, 0, sizeof p.buttons);
    for (int b = 0; b < kPhysicalButtonCount; ++b) {
        p.buttons[b].buttonIndex = static_cast<uint8_t>(b);
        p.buttons[b].functionType = kDefaultButtonTypes[b];
    }
}

void makeDefaults(ProfileBlock& block) {
    block.currentIndex = 0;
    for (int i = 0; i < kProfileCount; ++i) {
        MakeProfileDefaults(block.profiles[i], i + 1);
    }
}

void restoreButtonDefaults(ProfileRecord& profile) {
    std::memset(profile.buttons, 0, sizeof profile.buttons);
    for (int b = 0; b < kButtonSlotCount; ++b) {
        profile.buttons[b].buttonIndex = static_cast<uint8_t>(b);
        profile.buttons[b].functionType = DefaultButtonType(b);
    }
}

ProfileStore::ProfileStore()
    : edited_(std::make_unique<ProfileBlock>()), applied_(std::make_unique<ProfileBlock>()) {
    makeDefaults(*edited_);
    makeDefaults(*applied_);
}

bool ProfileStore::SetCurrentIndex(int index) {
    if (index < 0 || index >= kProfileCount) {
        return false;
    }
    edited_->currentIndex = index;
    return true;
}

void ProfileStore::CopyEditedToApplied() {
    *applied_ = *edited_;
}

void ProfileStore::CopyAppliedToEdited() {
    *edited_ = *applied_;
}

void ProfileStore::MarkButton(int profile, int button) {
    if (profile >= 0 && profile < kProfileCount && button >= 0 && button < kButtonSlotCount) {
        edited_->buttonMarks[profile][button] = 1;
    }
}

}  // namespace t30
