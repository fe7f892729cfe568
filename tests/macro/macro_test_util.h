// Building blocks for macro tests.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "base/debug_output.h"
#include "base/fixed_string.h"
#include "macro/macro_record.h"

namespace t30::testing {

inline MacroRecord MakeMacro(std::u16string_view name, int events, uint8_t firstKey = 4,
                             int32_t repeat = 1, int32_t locked = 0) {
    MacroRecord r;
    std::memset(&r, 0, sizeof r);
    r.locked = locked;
    SetFixed(r.name, name);
    r.repeatCount = repeat;
    r.eventCount = events;
    for (int i = 0; i < events && i < 40; ++i) {
        r.events[i] = {static_cast<uint8_t>(firstKey + i / 2), static_cast<uint8_t>(1 + i % 2),
                       static_cast<uint16_t>(10 * i)};
    }
    return r;
}

class RecordingDebug : public DebugOutput {
  public:
    void Write(std::u16string_view line) override { lines.emplace_back(line); }
    std::vector<std::u16string> lines;
};

}  // namespace t30::testing
