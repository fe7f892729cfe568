// Texts the skinned dialogs and pages paint over their background pictures.
#pragma once

#include <windows.h>

#include <string>

namespace t30 {

struct PaintedText {
    UINT stringId;
    int fontHeight;
    RECT box;
    UINT align;  // DT_LEFT or DT_CENTER
};

// Word-wrapped text in `box` (Arial, normal weight, transparent, `colour`): centred vertically
// when the wrapped text is lower than the box, else from its top and cut off at its bottom.
void DrawWrappedText(HDC dc, const std::wstring& text, int fontHeight, RECT box, UINT align,
                     COLORREF colour);
// The same for a language string.
void DrawPaintedText(HDC dc, const PaintedText& text, COLORREF colour);

// Copies `bitmap` to (x, y) of `target`, width x height of it at most.
void DrawBitmapAt(HDC target, HBITMAP bitmap, int x, int y, int width, int height);

}  // namespace t30
