#include "device/feature_reports.h"

#include <algorithm>

#include "keys/button_functions.h"

namespace t30 {
namespace {

constexpr uint8_t kKeyCombinationEntry = 0x11;

constexpr uint8_t Low(int32_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

// DPI values above 63 travel halved, with their stage's range bit set.
constexpr int32_t kDpiRangeLimit = 63;

void PutRgb(uint8_t* out, Colour c) {
    out[0] = static_cast<uint8_t>(c & 0xFF);
    out[1] = static_cast<uint8_t>((c >> 8) & 0xFF);
    out[2] = static_cast<uint8_t>((c >> 16) & 0xFF);
}

// A pause above 254 ms does not fit an event pair (7 bits of 2 ms); its multiples of 200 ms go
// into a long-pause pair while the pair budget lasts. Returns what is left for the next pair.
unsigned SplitLongPause(unsigned pause, int& pausePairs, uint8_t* pairs, int& n) {
    if (pause <= 254) {
        return pause;
    }
    if (pausePairs < kMaxPausePairs) {
        // The value byte holds at most 255 units; longer pauses are cut to 51 s rather than
        // wrapping round to something short.
        pairs[2 * n] = static_cast<uint8_t>(std::min(pause / 200u, 255u));
        pairs[2 * n + 1] = 3;
        ++n;
        ++pausePairs;
    }
    return pause % 200u;
}

}  // namespace

DpiReport BuildDpiReport(const ProfileRecord& p) {
    DpiReport r{};
    r[0] = kDpiReportId;
    r[1] = kDpiReportSize;
    r[2] = Low(p.sensitivityX);
    r[3] = Low(p.sensitivityY);
    uint8_t enabled = 0;
    uint8_t range = 0;
    for (int i = 0; i < kStageColourCount; ++i) {
        const int32_t value = p.dpiValues[i];
        if (p.dpiStageEnabled[i] == 1) {
            enabled |= uint8_t(1u << i);
        }
        if (value > kDpiRangeLimit) {
            range |= uint8_t(1u << i);
        }
        const uint8_t encoded = Low(value > kDpiRangeLimit ? value / 2 : value);
        r[7 + i] = encoded;
        r[12 + i] = encoded;
        PutRgb(&r[18 + 3 * i], p.stageColours[i]);
    }
    r[4] = enabled;
    r[5] = range;
    r[6] = range;
    r[17] = Low(Low(p.dpiStage) + 1);
    r[33] = 3;
    return r;
}

LightingReport BuildLightingReport(const ProfileRecord& p) {
    LightingReport r{};
    r[0] = kLightingReportId;
    r[1] = kLightingReportSize;
    r[2] = Low(p.lightMode);
    r[3] = p.lightSpeed == 1 ? 8 : p.lightSpeed == 2 ? 3 : 1;
    if (p.lightMode == 2 || p.lightMode == 3 || p.lightMode == 4) {
        r[4] = 8;
    } else {
        r[4] = p.lightBrightness == 1 ? 1 : p.lightBrightness == 2 ? 5 : 8;
    }
    PutRgb(&r[5], p.lightColour);
    r[8] = 1;
    return r;
}

RateReport BuildRateReport(const ProfileRecord& p) {
    static constexpr uint8_t kRateCodes[] = {8, 4, 2, 1};
    RateReport r{};
    r[0] = kRateReportId;
    r[1] = kRateReportSize;
    r[2] = p.reportRate >= 0 && p.reportRate <= 3 ? kRateCodes[p.reportRate] : 2;
    return r;
}

MacroReport BuildMacroReport(const ButtonSlot& b, int slot) {
    MacroReport r{};
    r[0] = kMacroReportId;
    r[1] = kMacroReportSize;
    r[2] = Low(slot + 1);
    r[3] = Low(b.macroRunMode);
    r[4] = Low(b.macroRepeat) == 0 ? 1 : Low(b.macroRepeat);

    // A damaged file may claim more events than the slot holds.
    const int count = std::min<int>(b.eventCount, kMaxMacroEvents);
    uint8_t* pairs = &r[30];
    int n = 0;
    int pausePairs = 0;
    for (int k = 0; k < count; ++k) {
        const MacroEvent& e = b.events[k];
        unsigned before = k == 0 ? 0u : b.events[k - 1].delayAfter;
        before = SplitLongPause(before, pausePairs, pairs, n);
        pairs[2 * n] = static_cast<uint8_t>((before / 2) | (e.action != kActionPress ? 0x80 : 0));
        pairs[2 * n + 1] = e.key;
        ++n;
        if (k == count - 1) {
            unsigned after = SplitLongPause(e.delayAfter, pausePairs, pairs, n);
            if (after / 2 != 0 && pausePairs < kMaxPausePairs) {
                pairs[2 * n] = static_cast<uint8_t>(after / 2);
                pairs[2 * n + 1] = 0;
                ++n;
                ++pausePairs;
            }
        }
    }
    r[29] = Low(n);
    return r;
}

ButtonMapReport BuildButtonMapReport(const ProfileRecord& p) {
    ButtonMapReport r{};
    r[0] = kButtonMapReportId;
    r[1] = kButtonMapReportSize;
    for (int i = 0; i < kPhysicalButtonCount; ++i) {
        const ButtonSlot& b = p.buttons[i];
        uint8_t* entry = &r[2 + 3 * i];
        const uint8_t type = b.functionType;
        // Key combinations, the user's own and the built-in shortcuts, travel as type 0x11.
        if (type == kFunctionKeyCombination) {
            entry[0] = kKeyCombinationEntry;
            entry[1] = b.events[0].action;  // modifier bits as stored
            entry[2] = b.events[0].key;
        } else if (const auto fixed = FixedKeyCombination(type)) {
            entry[0] = kKeyCombinationEntry;
            entry[1] = fixed->modifier;
            entry[2] = fixed->usage;
        } else {
            entry[0] = type;
            entry[2] = (type == 7 || type == 8 || type == 16) ? 0x0A : 0x00;
        }
    }
    return r;
}

}  // namespace t30
