// Skin JPEG pictures decoded by the program itself into a bitmap, without the system picture
// decoder (which stays loaded, with its memory, for the rest of the process once used).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "ui/framework/gdi.h"

namespace t30 {

// Decodes a JPEG file's bytes with DecodeJpeg into a new 32-bit top-down DIB section owned by
// `out`. False, with `out` empty and `size` 0 by 0, when DecodeJpeg does not take them: the
// caller then uses the system decoder.
bool JpegToDib(const std::uint8_t* data, std::size_t length, Bitmap& out, SIZE& size);

}  // namespace t30
