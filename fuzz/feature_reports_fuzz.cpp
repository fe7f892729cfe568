// The report encoders fed any profile image, as a damaged settings or profile file can make it.
// ASan stops any byte written past a report; the checks hold the macro report to its shape:
// byte 29 counts at most 50 pairs, and pairs sit only in bytes 30..129.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "device/feature_reports.h"
#include "fuzz_support.h"

using namespace t30;

namespace {

void CheckMacroReport(const MacroReport& r, int slot) {
    T30_FUZZ_CHECK(r[0] == kMacroReportId && r[1] == kMacroReportSize);
    T30_FUZZ_CHECK(r[2] == slot + 1);
    T30_FUZZ_CHECK(r[4] != 0);
    for (std::size_t i = 5; i < 29; ++i) {
        T30_FUZZ_CHECK(r[i] == 0);
    }
    const std::size_t pairs = r[29];
    T30_FUZZ_CHECK(pairs <= static_cast<std::size_t>(kMaxMacroPairs) && pairs <= 50);
    for (std::size_t i = 30 + 2 * pairs; i < kMacroReportSize; ++i) {
        T30_FUZZ_CHECK(r[i] == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The input over a zeroed record: a short input reaches only the record's start.
    auto profile = std::make_unique<ProfileRecord>();
    std::memset(profile.get(), 0, sizeof *profile);
    std::memcpy(profile.get(), data, std::min(size, sizeof *profile));

    const DpiReport dpi = BuildDpiReport(*profile);
    T30_FUZZ_CHECK(dpi[0] == kDpiReportId && dpi[1] == kDpiReportSize);
    const LightingReport light = BuildLightingReport(*profile);
    T30_FUZZ_CHECK(light[0] == kLightingReportId && light[1] == kLightingReportSize);
    const RateReport rate = BuildRateReport(*profile);
    T30_FUZZ_CHECK(rate[0] == kRateReportId && rate[1] == kRateReportSize);
    const ButtonMapReport map = BuildButtonMapReport(*profile);
    T30_FUZZ_CHECK(map[0] == kButtonMapReportId && map[1] == kButtonMapReportSize);
    for (std::size_t i = 2 + 3 * kPhysicalButtonCount; i < kButtonMapReportSize; ++i) {
        T30_FUZZ_CHECK(map[i] == 0);
    }
    for (int s = 0; s < kButtonSlotCount; ++s) {
        if (CarriesMacro(profile->buttons[s].functionType)) {
            CheckMacroReport(BuildMacroReport(profile->buttons[s], s), s);
        }
    }

    // The same bytes as one button slot, so the pair encoding sees dense input even from short
    // inputs; the slot number comes from the first byte.
    auto slot = std::make_unique<ButtonSlot>();
    std::memset(slot.get(), 0, sizeof *slot);
    std::memcpy(slot.get(), data, std::min(size, sizeof *slot));
    const int s = size > 0 ? data[0] % kButtonSlotCount : 0;
    CheckMacroReport(BuildMacroReport(*slot, s), s);
    return 0;
}
