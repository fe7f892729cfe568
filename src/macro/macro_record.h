// One keyboard macro as the library keeps it, byte for byte: the record of "config\macro.data"
// and the payload of an exported macro file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/le_image.h"
#include "profile/profile_record.h"

namespace t30 {

constexpr std::size_t kMacroNameLength = 24;  // UTF-16 units, NUL included: 23 usable

struct MacroRecord {
    int32_t locked;  // 1: sealed, events neither shown nor edited (slot copies and exports)
    char16_t name[kMacroNameLength];
    int32_t repeatCount;  // 1..255 once edited; 0 in a new entry
    int32_t eventCount;   // 0..40
    MacroEvent events[kMaxMacroEvents];
};

static_assert(IsImageRecord<MacroRecord>);
static_assert(sizeof(MacroRecord) == 220);
static_assert(offsetof(MacroRecord, name) == 4);
static_assert(offsetof(MacroRecord, repeatCount) == 52);
static_assert(offsetof(MacroRecord, eventCount) == 56);
static_assert(offsetof(MacroRecord, events) == 60);

// A record read from a file may carry anything: limits eventCount to 0..40 and makes sure the
// name ends in NUL within its array. Returns true when something had to change.
bool RepairMacroRecord(MacroRecord& record);

}  // namespace t30
