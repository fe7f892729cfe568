// Fixed-size records are stored as their in-memory image; that is only the little-endian file
// format on a little-endian machine with the packing pinned by static_asserts next to each record.
#pragma once

#include <type_traits>

namespace t30 {

#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are little-endian images");
#endif

template <typename T>
constexpr bool IsImageRecord = std::is_trivially_copyable_v<T>&& std::is_standard_layout_v<T>;

}  // namespace t30
