#include "ui/windows/painted_text.h"

#include "ui/framework/gdi.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

void DrawWrappedText(HDC dc, const std::wstring& text, int fontHeight, RECT box, UINT align,
                     COLORREF colour) {
    Font font(MakeArialFont(fontHeight, FW_NORMAL));
    SelectGuard keep(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const UINT format = DT_WORDBREAK | DT_NOPREFIX | align;
    RECT measure{box.left, box.top, box.right, box.top};
    const int height = DrawTextW(dc, text.c_str(), -1, &measure, format | DT_CALCRECT);
    const int boxHeight = box.bottom - box.top;
    if (height < boxHeight) {
        box.top += (boxHeight - height) / 2;
    }
    DrawTextW(dc, text.c_str(), -1, &box, format);
}

void DrawPaintedText(HDC dc, const PaintedText& text, COLORREF colour) {
    DrawWrappedText(dc, LangString(text.stringId), text.fontHeight, text.box, text.align, colour);
}

void DrawBitmapAt(HDC target, HBITMAP bitmap, int x, int y, int width, int height) {
    if (bitmap == nullptr) {
        return;
    }
    MemoryDC source(CreateCompatibleDC(target));
    SelectGuard keep(source.Get(), bitmap);
    BitBlt(target, x, y, width, height, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace t30
