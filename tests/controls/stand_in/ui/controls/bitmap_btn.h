// Test-only stand-in for the bitmap button the spin's arrows are made of, used while the real
// one is not in the tree: the same creation call and state images, an owner-drawn push button
// that shows its normal image (down image while pressed) and reports clicks as BN_CLICKED.
#pragma once

#include <windows.h>

#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"
#include "ui/skin/skin_win32.h"

namespace t30 {

class CBitmapBtn : public CWnd {
  public:
    bool Create(const wchar_t* caption, DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, L"BUTTON", caption, style | BS_OWNERDRAW, rect, parent, id);
    }
    void SetStateImages(const RECT& rect, HBITMAP normal, HBITMAP over, HBITMAP down,
                        HBITMAP disable) {
        WindowDC dc(Hwnd());
        CutImageRect(dc.Get(), normal_, normal, rect);
        CutImageRect(dc.Get(), down_, down, rect);
        (void)over;
        (void)disable;
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CWnd::GetMessageMap(),
                                    {OnMessage(kReflect + WM_DRAWITEM, &CBitmapBtn::OnDraw)}};
        return &map;
    }

  private:
    LRESULT OnDraw(WPARAM, LPARAM lParam) {
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        HBITMAP image = (dis.itemState & ODS_SELECTED) ? down_.Get() : normal_.Get();
        MemoryDC source(CreateCompatibleDC(dis.hDC));
        SelectGuard keep(source.Get(), image);
        if (keep.Ok()) {
            const SIZE size = BitmapSize(image);
            BitBlt(dis.hDC, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
        }
        return TRUE;
    }

    Bitmap normal_, down_;
};

}  // namespace t30
