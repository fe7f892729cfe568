// Text between the portable core (UTF-16 in std::u16string) and its neighbours: the Win32
// boundary (wchar_t) and the program's own ASCII texts. The one place for these conversions.
#pragma once

#include <string>
#include <string_view>

namespace t30 {

// Unit by unit: on Windows wchar_t is UTF-16 too, so nothing is lost either way.
inline std::wstring ToWide(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
inline std::u16string ToU16(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

// ASCII-only widening, for the program's own fixed texts ("Default1") and numbers.
inline std::u16string Widen(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace t30
