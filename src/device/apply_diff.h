// Which groups of reports an apply has to send, found by comparing the applied block with the
// edited one.
#pragma once

#include <cstdint>

#include "profile/profile_record.h"

namespace t30 {

struct DirtyFlags {
    bool dpi = false;       // report 0x04
    bool lighting = false;  // report 0x05
    bool rate = false;      // report 0x06
    bool buttons = false;   // the macro reports 0x09, then report 0x08

    static DirtyFlags All() { return {true, true, true, true}; }
    bool any() const { return dpi || lighting || rate || buttons; }
    bool operator==(const DirtyFlags& o) const {
        return dpi == o.dpi && lighting == o.lighting && rate == o.rate && buttons == o.buttons;
    }
};

// Compares the profile at the edited block's current index in both blocks; a changed current
// index marks everything. Names, program paths and pointer settings never make a report dirty.
DirtyFlags diffProfiles(const ProfileBlock& applied, const ProfileBlock& edited);

}  // namespace t30
