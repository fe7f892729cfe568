// One control entry of a skin description file: "name,left,top,width,height[,text]".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace t30 {

struct SkinEntry {
    static constexpr std::size_t kMaxName = 39;
    static constexpr std::size_t kMaxText = 99;

    std::u16string name;  // before the first comma; cut to kMaxName
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;   // left + width
    std::int32_t bottom = 0;  // top + height
    std::u16string text;      // after the last comma, trimmed; cut to kMaxText

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
};

// Never fails: what cannot be read stays zero or empty, over-long parts are cut. The numbers
// follow "%d,%d,%d,%d": reading stops at the first character that does not fit, and values
// beyond 32 bits saturate instead of wrapping.
SkinEntry ParseSkinEntry(std::u16string_view value);

// Spaces, tabs and line breaks at both ends removed.
std::u16string_view TrimSkinText(std::u16string_view text);

}  // namespace t30
