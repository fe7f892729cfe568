// A full apply's worth of work on the user-interface and worker sides: diff two blocks whose
// current profile differs everywhere, then encode every report of a profile with 24 macro slots
// of 40 events each.
#include <benchmark/benchmark.h>

#include "device/apply_diff.h"
#include "device/feature_reports.h"
#include "profile/profile_store.h"

namespace {

void FillMacros(t30::ProfileRecord& p) {
    for (int s = 0; s < t30::kButtonSlotCount; ++s) {
        t30::ButtonSlot& b = p.buttons[s];
        b.functionType = 18;
        b.eventCount = t30::kMaxMacroEvents;
        b.macroRepeat = 3;
        for (int k = 0; k < t30::kMaxMacroEvents; ++k) {
            b.events[k] = {uint8_t(0x04 + k % 26), uint8_t(k % 2 ? 2 : 1),
                           uint16_t(k % 5 == 0 ? 700 : 40)};
        }
    }
}

void BM_FullApplyDiffAndEncode(benchmark::State& state) {
    t30::ProfileStore store;
    FillMacros(store.current());
    store.current().buttons[23].events[39].delayAfter = 9;  // differs at the very end
    for (auto _ : state) {
        const t30::DirtyFlags flags = t30::diffProfiles(store.applied(), store.edited());
        benchmark::DoNotOptimize(flags);
        const t30::ProfileRecord& p = store.current();
        auto dpi = t30::BuildDpiReport(p);
        auto light = t30::BuildLightingReport(p);
        auto rate = t30::BuildRateReport(p);
        benchmark::DoNotOptimize(dpi);
        benchmark::DoNotOptimize(light);
        benchmark::DoNotOptimize(rate);
        for (int s = 0; s < t30::kButtonSlotCount; ++s) {
            auto macro = t30::BuildMacroReport(p.buttons[s], s);
            benchmark::DoNotOptimize(macro);
        }
        auto map = t30::BuildButtonMapReport(p);
        benchmark::DoNotOptimize(map);
    }
}
BENCHMARK(BM_FullApplyDiffAndEncode);

}  // namespace
