// Helpers for the NUL-terminated UTF-16 strings that live in fixed arrays inside on-disk records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/wide_text.h"

namespace t30 {

// Length up to the first NUL, never past the array: a record read from a file may lack the NUL.
template <std::size_t N>
std::size_t FixedLength(const char16_t (&text)[N]) {
    std::size_t n = 0;
    while (n < N && text[n] != 0) {
        ++n;
    }
    return n;
}

template <std::size_t N>
std::u16string_view FixedView(const char16_t (&text)[N]) {
    return std::u16string_view(text, FixedLength(text));
}

// Zeroes the whole array, then copies at most N - 1 units so the result always ends in NUL.
template <std::size_t N>
void SetFixed(char16_t (&dest)[N], std::u16string_view text) {
    std::memset(dest, 0, sizeof dest);
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(dest, text.data(), n * sizeof(char16_t));
}

}  // namespace t30
