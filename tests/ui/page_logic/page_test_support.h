// Shared pieces of the page logic tests: a language library that answers "#<id>", and macros.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_string.h"
#include "keys/button_functions.h"
#include "macro/macro_record.h"

namespace t30 {

inline std::u16string StringMark(uint16_t id) {
    return u"#" + Widen(std::to_string(id));
}

inline const LanguageText& FakeText() {
    static const LanguageText text = [](uint16_t id) { return StringMark(id); };
    return text;
}

// A macro of `count` events whose keys are base, base+1, ... so copies can be told apart.
inline MacroRecord MakeMacro(std::u16string_view name, int count, int repeat, uint8_t base) {
    MacroRecord record{};
    SetFixed(record.name, name);
    record.repeatCount = repeat;
    record.eventCount = count;
    for (int e = 0; e < kMaxMacroEvents; ++e) {
        record.events[e] = {static_cast<uint8_t>(base + e), e % 2 ? kActionRelease : kActionPress,
                            static_cast<uint16_t>(10 * e)};
    }
    return record;
}

}  // namespace t30
