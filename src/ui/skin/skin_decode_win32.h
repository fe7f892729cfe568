// Skin JPEG pictures decoded by the program itself into a bitmap, without the system picture
// decoder (which stays loaded, with its memory, for the rest of the process once used).
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/gdi.h"

namespace t30 {

// Reads the file at `path`, decodes it with DecodeJpeg and puts the pixels in a new 32-bit
// top-down DIB section owned by `out`. False, with `out` empty and `size` 0 by 0, when the file
// cannot be read or DecodeJpeg does not take it: the caller then uses LoadSkinPicture.
bool DecodeJpegToDib(const std::wstring& path, Bitmap& out, SIZE& size);

}  // namespace t30
