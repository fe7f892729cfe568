#include "device/apply_diff.h"

#include <cstddef>
#include <cstring>

#include "profile/profile_store.h"

namespace t30 {
namespace {

template <typename T>
bool Differs(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) != 0;
}

// Byte range [first, last) of a profile record.
bool RangeDiffers(const ProfileRecord& a, const ProfileRecord& b, std::size_t first,
                  std::size_t last) {
    const auto* pa = reinterpret_cast<const unsigned char*>(&a);
    const auto* pb = reinterpret_cast<const unsigned char*>(&b);
    return std::memcmp(pa + first, pb + first, last - first) != 0;
}

}  // namespace

DirtyFlags diffProfiles(const ProfileBlock& applied, const ProfileBlock& edited) {
    if (applied.currentIndex != edited.currentIndex) {
        return DirtyFlags::All();
    }
    const int p = SanitizedProfileIndex(edited.currentIndex);
    const ProfileRecord& a = applied.profiles[p];
    const ProfileRecord& e = edited.profiles[p];

    DirtyFlags flags;
    flags.buttons = Differs(a.buttons, e.buttons);
    flags.dpi = a.sensitivityX != e.sensitivityX || a.sensitivityY != e.sensitivityY ||
                a.reserved1560 != e.reserved1560 || Differs(a.dpiValues, e.dpiValues) ||
                Differs(a.reserved1588, e.reserved1588) || a.dpiStage != e.dpiStage ||
                // dpiStageEnabled and the two fields after it, then the compared reserved bytes
                RangeDiffers(a, e, offsetof(ProfileRecord, dpiStageEnabled),
                             offsetof(ProfileRecord, reserved1640)) ||
                std::memcmp(a.reserved1640, e.reserved1640, 10) != 0 ||
                Differs(a.stageColours, e.stageColours);
    flags.rate = a.reportRate != e.reportRate;
    flags.lighting = a.lightMode != e.lightMode || a.lightSpeed != e.lightSpeed ||
                     a.lightBrightness != e.lightBrightness || a.lightColour != e.lightColour;
    return flags;
}

}  // namespace t30
