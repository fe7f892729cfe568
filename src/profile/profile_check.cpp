#include "profile/profile_check.h"

#include <iterator>
#include <string_view>

#include "keys/button_functions.h"
#include "keys/key_table.h"
#include "profile/slot_assignment.h"

namespace t30 {
namespace {

constexpr bool InRange(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

constexpr bool IsFlag(int32_t value) {
    return value == 0 || value == 1;
}

bool IsSensitivity(int32_t value) {
    static constexpr int32_t kSteps[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    for (const int32_t step : kSteps) {
        if (value == step) {
            return true;
        }
    }
    return false;
}

// Byte 3 of a COLORREF is always zero.
constexpr bool IsColour(Colour colour) {
    return (colour >> 24) == 0;
}

template <std::size_t N>
bool IsTerminated(const char16_t (&text)[N]) {
    for (const char16_t c : text) {
        if (c == u'\0') {
            return true;
        }
    }
    return false;
}

// Empty, or a full path (drive or network) of characters a Windows file name may hold, as the
// program-binding dialog gives it; the switching check compares its file name with programs'.
bool IsProgramPath(const char16_t (&path)[500]) {
    std::size_t length = 0;
    while (length < std::size(path) && path[length] != u'\0') {
        ++length;
    }
    if (length == std::size(path)) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    const bool drive =
        length >= 3 &&
        ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
        path[1] == u':' && path[2] == u'\\';
    const bool network = length >= 3 && path[0] == u'\\' && path[1] == u'\\';
    if (!drive && !network) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = path[i];
        if (c < 0x20 || std::u16string_view(u"<>\"|?*").find(c) != std::u16string_view::npos ||
            (c == u':' && i != 1)) {
            return false;
        }
        // Surrogates come in pairs: a high one followed by a low one.
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= length || path[i + 1] < 0xDC00 || path[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// 0 is what the recorder writes for a key the key table lacks.
bool IsEventKey(uint8_t key) {
    return key == 0 || (key >= kUsageMouseLeft && key <= kUsageMouseForward) ||
           FindKeyByUsage(key) != nullptr;
}

std::string_view FirstUnsoundSlot(const ButtonSlot& slot, int number) {
    const uint8_t code = slot.functionType;
    // Slots past the physical buttons are all zero in a fresh profile.
    const bool unset = number >= kPhysicalButtonCount && code == 0;
    if (!unset && FindButtonFunction(code) == nullptr) {
        return "functionType";
    }
    if (slot.buttonIndex != 0 && slot.buttonIndex != number) {
        return "buttonIndex";
    }
    if (slot.eventCount > kMaxMacroEvents) {
        return "eventCount";
    }
    if (code == kFunctionKeyCombination) {
        if (slot.eventCount > 1 || !IsEventKey(slot.events[0].key) ||
            slot.events[0].action > 0x1F) {
            return "key combination";
        }
    }
    if (code == kFunctionMacro || code == kFunctionMacroOption) {
        if (!InRange(slot.macroRepeat, 0, 255)) {
            return "macroRepeat";
        }
        if (!InRange(slot.macroRunMode, 0, 2)) {
            return "macroRunMode";
        }
        if (!IsTerminated(slot.macroName)) {
            return "macroName";
        }
        for (int e = 0; e < slot.eventCount; ++e) {
            const MacroEvent& event = slot.events[e];
            if (!IsEventKey(event.key) ||
                (event.action != kActionPress && event.action != kActionRelease)) {
                return "events";
            }
        }
    }
    return {};
}

}  // namespace

std::string_view FirstUnsoundField(const ProfileRecord& p) {
    if (!IsProgramPath(p.programPath)) {
        return "programPath";
    }
    if (!InRange(p.doubleClickIndex, 0, 10)) {
        return "doubleClickIndex";
    }
    if (!InRange(p.wheelLines, 1, 11)) {
        return "wheelLines";
    }
    if (!IsFlag(p.wheelPageScroll)) {
        return "wheelPageScroll";
    }
    if (!InRange(p.pointerSpeed, 1, 11)) {
        return "pointerSpeed";
    }
    if (!IsFlag(p.enhancePrecision)) {
        return "enhancePrecision";
    }
    if (!IsFlag(p.sensitivityLinked)) {
        return "sensitivityLinked";
    }
    if (!IsSensitivity(p.sensitivityX) || !IsSensitivity(p.sensitivityY)) {
        return "sensitivity";
    }
    for (int s = 0; s < kDpiStageCount; ++s) {
        if (!InRange(p.dpiValues[s], 1, 126)) {
            return "dpiValues";
        }
        if (!IsFlag(p.dpiStageEnabled[s])) {
            return "dpiStageEnabled";
        }
    }
    if (!InRange(p.dpiStage, 0, kDpiStageCount - 1)) {
        return "dpiStage";
    }
    if (!InRange(p.lightBrightness, 1, 3)) {
        return "lightBrightness";
    }
    if (!InRange(p.lightSpeed, 1, 3)) {
        return "lightSpeed";
    }
    if (!InRange(p.reportRate, 0, 3)) {
        return "reportRate";
    }
    // 5 and 6 are modes the level menu knows though no menu entry sets them.
    if (!InRange(p.lightMode, 0, 6)) {
        return "lightMode";
    }
    if (!IsColour(p.lightColour)) {
        return "lightColour";
    }
    for (const Colour colour : p.stageColours) {
        if (!IsColour(colour)) {
            return "stageColours";
        }
    }
    for (int b = 0; b < kButtonSlotCount; ++b) {
        const std::string_view field = FirstUnsoundSlot(p.buttons[b], b);
        if (!field.empty()) {
            return field;
        }
    }
    if (!KeepsPrimaryClick(p, -1, 0)) {
        return "primary click";
    }
    return {};
}

}  // namespace t30
