// The profile record, byte for byte. These images are the settings file, the exported profile
// files and what the apply pipeline compares, so no field may move.
//
// Every field happens to sit at its natural alignment, so the structs need no packing pragma
// (which would make every reference to a UTF-16 array a misaligned-pointer hazard); the
// static_asserts below prove the layout instead.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/le_image.h"

namespace t30 {

constexpr int kProfileCount = 5;
constexpr int kButtonSlotCount = 24;
constexpr int kPhysicalButtonCount = 12;
constexpr int kMaxMacroEvents = 40;
constexpr int kDpiStageCount = 6;  // stage 5 is kept but never reaches the mouse
constexpr int kStageColourCount = 5;

// COLORREF layout: byte 0 red, byte 1 green, byte 2 blue.
using Colour = uint32_t;
constexpr Colour MakeColour(uint8_t r, uint8_t g, uint8_t b) {
    return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16);
}

enum MacroAction : uint8_t { kActionPress = 1, kActionRelease = 2 };

struct MacroEvent {
    uint8_t key;          // HID usage, or 0xF1..0xF5 for mouse buttons
    uint8_t action;       // MacroAction
    uint16_t delayAfter;  // ms
};

struct ButtonSlot {
    uint8_t buttonIndex;
    uint8_t functionType;
    char16_t macroName[24];
    uint8_t reserved50[2];
    int32_t macroRepeat;
    int32_t macroIndex;  // library position chosen for this slot, -1 = none
    uint16_t eventCount;
    MacroEvent events[kMaxMacroEvents];  // type 17 keeps usage and modifier bits in events[0]
    uint8_t reserved222[10];
    int32_t macroRunMode;
    uint8_t reserved236[520];
};

struct ProfileRecord {
    char16_t name[250];
    char16_t programPath[500];
    int32_t doubleClickIndex;
    int32_t wheelLines;
    int32_t wheelPageScroll;
    int32_t pointerSpeed;
    int32_t reserved1516;  // follows enhancePrecision: 8 when set, 0 when cleared
    int32_t enhancePrecision;
    int32_t reserved1524;
    int32_t reserved1528;
    int32_t reserved1532;
    int32_t sensitivityLinked;
    int32_t sensitivityX;
    int32_t sensitivityY;
    int32_t reserved1548;
    int32_t reserved1552;
    int32_t reserved1556;
    int32_t reserved1560;
    int32_t dpiValues[kDpiStageCount];
    int32_t reserved1588[5];
    int32_t dpiStageEnabled[kDpiStageCount];
    int32_t reserved1632;
    int32_t reserved1636;
    uint8_t reserved1640[12];
    int32_t lightBrightness;
    int32_t lightSpeed;
    int32_t reserved1660;
    int32_t reserved1664;
    int32_t dpiStage;
    int32_t reserved1672;
    int32_t reportRate;
    int32_t reserved1680;
    int32_t lightMode;
    int32_t reserved1688;
    int32_t reserved1692;
    int32_t reserved1696;
    int32_t reserved1700[4];
    int32_t reserved1716;
    Colour lightColour;
    int32_t reserved1724;
    Colour stageColours[kStageColourCount];
    ButtonSlot buttons[kButtonSlotCount];
};

struct ProfileBlock {
    int32_t currentIndex;
    ProfileRecord profiles[kProfileCount];
    int32_t buttonMarks[kProfileCount][kButtonSlotCount];
    uint8_t reserved99944[8];
};

static_assert(IsImageRecord<MacroEvent> && IsImageRecord<ButtonSlot> &&
              IsImageRecord<ProfileRecord> && IsImageRecord<ProfileBlock>);

static_assert(sizeof(MacroEvent) == 4);
static_assert(offsetof(MacroEvent, action) == 1 && offsetof(MacroEvent, delayAfter) == 2);

static_assert(sizeof(ButtonSlot) == 756);
static_assert(offsetof(ButtonSlot, functionType) == 1);
static_assert(offsetof(ButtonSlot, macroName) == 2);
static_assert(offsetof(ButtonSlot, macroRepeat) == 52);
static_assert(offsetof(ButtonSlot, macroIndex) == 56);
static_assert(offsetof(ButtonSlot, eventCount) == 60);
static_assert(offsetof(ButtonSlot, events) == 62);
static_assert(offsetof(ButtonSlot, macroRunMode) == 232);

static_assert(sizeof(ProfileRecord) == 19892);
static_assert(offsetof(ProfileRecord, programPath) == 500);
static_assert(offsetof(ProfileRecord, doubleClickIndex) == 1500);
static_assert(offsetof(ProfileRecord, wheelLines) == 1504);
static_assert(offsetof(ProfileRecord, wheelPageScroll) == 1508);
static_assert(offsetof(ProfileRecord, pointerSpeed) == 1512);
static_assert(offsetof(ProfileRecord, reserved1516) == 1516);
static_assert(offsetof(ProfileRecord, enhancePrecision) == 1520);
static_assert(offsetof(ProfileRecord, sensitivityLinked) == 1536);
static_assert(offsetof(ProfileRecord, sensitivityX) == 1540);
static_assert(offsetof(ProfileRecord, sensitivityY) == 1544);
static_assert(offsetof(ProfileRecord, reserved1560) == 1560);
static_assert(offsetof(ProfileRecord, dpiValues) == 1564);
static_assert(offsetof(ProfileRecord, reserved1588) == 1588);
static_assert(offsetof(ProfileRecord, dpiStageEnabled) == 1608);
static_assert(offsetof(ProfileRecord, reserved1632) == 1632);
static_assert(offsetof(ProfileRecord, reserved1640) == 1640);
static_assert(offsetof(ProfileRecord, lightBrightness) == 1652);
static_assert(offsetof(ProfileRecord, lightSpeed) == 1656);
static_assert(offsetof(ProfileRecord, dpiStage) == 1668);
static_assert(offsetof(ProfileRecord, reportRate) == 1676);
static_assert(offsetof(ProfileRecord, lightMode) == 1684);
static_assert(offsetof(ProfileRecord, reserved1692) == 1692);
static_assert(offsetof(ProfileRecord, reserved1700) == 1700);
static_assert(offsetof(ProfileRecord, reserved1716) == 1716);
static_assert(offsetof(ProfileRecord, lightColour) == 1720);
static_assert(offsetof(ProfileRecord, reserved1724) == 1724);
static_assert(offsetof(ProfileRecord, stageColours) == 1728);
static_assert(offsetof(ProfileRecord, buttons) == 1748);

static_assert(sizeof(ProfileBlock) == 99952);
static_assert(offsetof(ProfileBlock, profiles) == 4);
static_assert(offsetof(ProfileBlock, buttonMarks) == 99464);
static_assert(offsetof(ProfileBlock, reserved99944) == 99944);

}  // namespace t30
