// A top-level test window that records what the controls on it post and send.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "ui/controls/bmp_edit.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/wnd.h"
#include "win_test_support.h"

namespace t30::test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CRecorder : public CWnd {
  public:
    std::vector<Received> received;

    bool CreateAt(int left, int top, int width, int height) {
        return CreateEx(WS_EX_TOPMOST, TestWindowClass(), L"controls",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                        RECT{left, top, left + width, top + height}, nullptr, 0);
    }
    // Messages of one kind, in order.
    std::vector<Received> Of(UINT message) const {
        std::vector<Received> out;
        for (const Received& r : received) {
            if (r.message == message) {
                out.push_back(r);
            }
        }
        return out;
    }
    void Clear() { received.clear(); }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MEASUREITEM &&
            CExMenu::HandleMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        if (message == WM_DRAWITEM &&
            CExMenu::HandleDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        if ((message >= WM_USER && message < 0x8000) || message >= 0xC000) {
            received.push_back({message, wParam, lParam});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// GDI+ for the menu's text while it lives.
class GdiplusScope {
  public:
    GdiplusScope() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusScope() { Gdiplus::GdiplusShutdown(token_); }
    GdiplusScope(const GdiplusScope&) = delete;
    GdiplusScope& operator=(const GdiplusScope&) = delete;

  private:
    ULONG_PTR token_ = 0;
};

// A whole-window picture filled with one colour.
inline Bitmap SolidPicture(int width, int height, COLORREF colour) {
    return Bitmap(SolidBitmap(colour, width, height));
}

// What a window shows at a point of its client area, after it has painted.
inline COLORREF Shown(HWND hwnd, int x, int y) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WindowDC dc(hwnd);
    return GetPixel(dc.Get(), x, y);
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

}  // namespace t30::test
