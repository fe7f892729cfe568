// RAII owners for GDI objects and device contexts (kernel handles, files, libraries, COM pointers
// and registry keys are in base/unique_handle_win32.h). Each owns exactly one handle, is movable
// and not copyable, and releases what it owns when it dies or is reset.
//
//   void CMyWnd::Paint(HDC target, const RECT& client) {
//       t30::OffscreenBuffer buffer(target, client.right, client.bottom);  // double buffering
//       t30::Brush brush(CreateSolidBrush(RGB(2, 2, 2)));
//       FillRect(buffer.Dc(), &client, brush.Get());
//       t30::Font font(t30::MakeArialFont(14));
//       t30::SelectGuard keep(buffer.Dc(), font.Get());  // restored before the font is deleted
//       DrawTextW(buffer.Dc(), L"text", -1, const_cast<RECT*>(&client), DT_CENTER);
//   }  // font deselected, then deleted; buffer copied to target, then freed
#pragma once

#include <windows.h>

#include <utility>

#include "base/unique_handle_win32.h"

namespace t30 {

template <class H>
struct GdiObjectTraits {
    static H Invalid() { return nullptr; }
    static void Close(H h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

using Bitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using Region = UniqueHandle<HRGN, GdiObjectTraits<HRGN>>;
using Font = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<HPEN, GdiObjectTraits<HPEN>>;
// A DC made by CreateCompatibleDC (or CreateDC): deleted, never released.
using MemoryDC = UniqueHandle<HDC, MemoryDcTraits>;

// Width and height of a bitmap; 0 by 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// The program's text font: "Arial", swiss pitch and family, height in logical units.
HFONT MakeArialFont(int height, int weight = FW_DONTCARE);

// A 32-bit top-down DIB section (blue, green, red, unused; rows without padding), its pixels at
// *bits when asked. Its memory is the process's own and goes back to the system when the section
// is deleted (under Wine, a compatible bitmap's lives in a heap that keeps it).
Bitmap MakeDibSection(int width, int height, void** bits = nullptr);

// GetDC / ReleaseDC on one window (the screen for nullptr).
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() { Reset(); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& o) noexcept : hwnd_(o.hwnd_), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& o) noexcept {
        if (this != &o) {
            Reset();
            hwnd_ = o.hwnd_;
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    HDC Get() const { return dc_; }

  private:
    void Reset() {
        if (dc_) {
            ReleaseDC(hwnd_, std::exchange(dc_, nullptr));
        }
    }
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint for one WM_PAINT; lives on the handler's stack only.
class PaintDC {
  public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it dies; remembers its DC, so
// it must die before the DC and before the selected object.
class SelectGuard {
  public:
    SelectGuard() = default;
    SelectGuard(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() { Restore(); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    SelectGuard(SelectGuard&& o) noexcept
        : dc_(std::exchange(o.dc_, nullptr)), old_(std::exchange(o.old_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&& o) noexcept {
        if (this != &o) {
            Restore();
            dc_ = std::exchange(o.dc_, nullptr);
            old_ = std::exchange(o.old_, nullptr);
        }
        return *this;
    }
    // False when the selection failed (for example a bitmap already selected elsewhere).
    bool Ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }
    void Restore() {
        if (dc_ && Ok()) {
            SelectObject(dc_, old_);
        }
        dc_ = nullptr;
        old_ = nullptr;
    }

  private:
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Off-screen drawing surface compatible with a target DC. Draw into Dc(); Present() (or the
// destructor, if Present was not called) copies the whole buffer to the target at (0, 0).
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, int width, int height);
    ~OffscreenBuffer();
    OffscreenBuffer(const OffscreenBuffer&) = delete;
    OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

    HDC Dc() const { return dc_.Get(); }
    bool Ok() const { return select_.Ok(); }
    // Copies width x height of the buffer (all of it by default) to the target.
    void Present(int width = -1, int height = -1);

  private:
    HDC target_;
    int width_, height_;
    bool presented_ = false;
    MemoryDC dc_;
    Bitmap bitmap_;
    SelectGuard select_;
};

}  // namespace t30
