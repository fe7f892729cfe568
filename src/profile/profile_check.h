// Whether a profile read from a file may be used: every field that reaches the mouse or the
// desktop must lie within its range, since a wrong file picked by mistake (a picture, a macro
// file, another product's profile) is otherwise sent to the device as it is.
#pragma once

#include <string_view>

#include "profile/profile_record.h"

namespace t30 {

// The first field outside its range, for diagnostics and tests; empty when the profile is sound.
// Reserved fields and the name, which nothing sends or shows, are not looked at.
std::string_view FirstUnsoundField(const ProfileRecord& profile);

inline bool IsSoundProfile(const ProfileRecord& profile) {
    return FirstUnsoundField(profile).empty();
}

}  // namespace t30
