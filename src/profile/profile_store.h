// The five profiles, kept twice: the edited block every page works on and the applied block as
// it was at the last apply. Comparing the two is how an apply finds what to send.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "profile/profile_record.h"

namespace t30 {

// Function code of each physical button in a fresh profile.
constexpr std::array<uint8_t, kPhysicalButtonCount> kDefaultButtonTypes = {2,  3,  4, 5,  6, 1,
                                                                           14, 15, 7, 42, 9, 10};
// Slots 12..23 repeat the physical buttons' defaults.
constexpr uint8_t DefaultButtonType(int slot) {
    return kDefaultButtonTypes[static_cast<std::size_t>(slot % kPhysicalButtonCount)];
}

// A current index read from a file may be anything; out-of-range values mean the first profile.
constexpr int SanitizedProfileIndex(int32_t index) {
    return index >= 0 && index < kProfileCount ? index : 0;
}

void makeDefaults(ProfileBlock& block);
// The defaults of profile `number` (1..5) alone; fields without a default keep their bytes.
void MakeProfileDefaults(ProfileRecord& profile, int number);
void restoreButtonDefaults(ProfileRecord& profile);

class ProfileStore {
  public:
    ProfileStore();  // both blocks start as fresh defaults

    ProfileBlock& edited() { return *edited_; }
    const ProfileBlock& edited() const { return *edited_; }
    ProfileBlock& applied() { return *applied_; }
    const ProfileBlock& applied() const { return *applied_; }

    int CurrentIndex() const { return SanitizedProfileIndex(edited_->currentIndex); }
    ProfileRecord& current() { return edited_->profiles[CurrentIndex()]; }
    const ProfileRecord& current() const { return edited_->profiles[CurrentIndex()]; }

    // Writes only the edited block's index; refreshing pages and applying is the caller's job.
    // Returns false (and changes nothing) for an index outside the five profiles.
    bool SetCurrentIndex(int index);

    void CopyEditedToApplied();
    void CopyAppliedToEdited();

    void MarkButton(int profile, int button);

  private:
    // 100 KB each: kept off the stack of whoever owns the store.
    std::unique_ptr<ProfileBlock> edited_;
    std::unique_ptr<ProfileBlock> applied_;
};

}  // namespace t30
