// Building blocks for macro tests.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "base/debug_output.h"
#include "base/fixed_string.h"
#include "macro/macro_record.h"

namespace t30::testing {

// A record named `name` holding `events` (at most the record's 40 are kept), as the library and
// the files keep it; every byte not set is zero.
inline MacroRecord MacroOf(std::u16string_view name, const std::vector<MacroEvent>& events,
                           int32_t repeat = 1, int32_t locked = 0) {
    MacroRecord r;
    std::memset(&r, 0, sizeof r);
    r.locked = locked;
    SetFixed(r.name, name);
    r.repeatCount = repeat;
    r.eventCount = static_cast<int32_t>(events.size());
    std::copy_n(events.begin(), std::min<std::size_t>(events.size(), std::size(r.events)),
                r.events);
    return r;
}

// `events` presses and releases in turn from `firstKey` (two events a key), 10 ms apart; the
// count is kept as given, even past the record's 40 events.
inline MacroRecord MakeMacro(std::u16string_view name, int events, uint8_t firstKey = 4,
                             int32_t repeat = 1, int32_t locked = 0) {
    std::vector<MacroEvent> list;
    for (int i = 0; i < events && i < 40; ++i) {
        list.push_back({static_cast<uint8_t>(firstKey + i / 2), static_cast<uint8_t>(1 + i % 2),
                        static_cast<uint16_t>(10 * i)});
    }
    MacroRecord r = MacroOf(name, list, repeat, locked);
    r.eventCount = events;
    return r;
}

class RecordingDebug : public DebugOutput {
  public:
    void Write(std::u16string_view line) override { lines.emplace_back(line); }
    std::vector<std::u16string> lines;
};

}  // namespace t30::testing
