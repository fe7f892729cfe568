// Skin pictures, cut-outs, mask regions and language strings on Windows.
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/gdi.h"

namespace t30 {

// Decodes a BMP, JPEG or GIF file with the system picture decoder into `bitmap`, which owns the
// result alone. Whatever `bitmap` held is deleted first; on any failure it stays empty and the
// size is 0 by 0. Returns the picture's width and height.
SIZE LoadSkinPicture(const std::wstring& path, Bitmap& bitmap);
// The same, always with the system picture decoder (which LoadSkinPicture leaves out for the JPEG
// pictures it decodes itself).
SIZE LoadPictureWithSystemDecoder(const std::wstring& path, Bitmap& bitmap);

// The region of the pixels of `mask` whose colour is not within [key, key + tolerance] in each of
// red, green and blue. None for no bitmap or a failure; an empty region for a mask without any
// opaque pixel.
Region MaskToRegion(HBITMAP mask, COLORREF key = RGB(255, 255, 255), COLORREF tolerance = 0);

// String `id` of the language library into buffer (capacity characters, NUL included); the
// number of characters, 0 and an empty buffer when the library or string is missing.
int LoadLangString(UINT id, wchar_t* buffer, int capacity);
// The same as a string; capacity 260 for most texts, 520 for the main window's captions.
std::wstring LangString(UINT id, int capacity = 260);

// Text between std::u16string (the portable core) and the Win32 boundary.
inline std::wstring ToWide(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
inline std::u16string ToU16(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

}  // namespace t30
