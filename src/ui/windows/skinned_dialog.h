// What the skinned modal dialogs (warnings, shortcut, macro selection) have in common.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/controls/rgn_wnd.h"
#include "ui/skin/skin_window_win32.h"
#include "ui/windows/painted_text.h"

namespace t30 {

// Skin entries 1 and 2 of a dialog: the OK and Cancel region buttons, shaped by "ok_mask.bmp"
// and "cancel_mask.bmp" of the skin folder and captioned in the user's language.
SkinControl SkinOkButton(CRgnButton& button, HWND dialog);
SkinControl SkinCancelButton(CRgnButton& button, HWND dialog);

// Centres `dialog` over `over` when that window is shown and not minimised, else over the work
// area of the desktop.
void CentreDialog(HWND dialog, HWND over);

// WM_PAINT of a skinned dialog: its background with `texts` over it, double-buffered.
void PaintSkinWithTexts(HWND dialog, const SkinWindowImages& skin, const PaintedText* texts,
                        std::size_t count, COLORREF colour);

}  // namespace t30
