// RAII owners for GDI objects, device contexts and loaded libraries. Each owns exactly one handle,
// is movable and not copyable, and releases what it owns when it dies or is reset.
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

namespace t30 {

// Owner of one handle whose release is Traits::Close. Traits::Invalid() is the empty value.
template <class Handle, class Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    // Gives up ownership without releasing.
    Handle Release() { return std::exchange(h_, Traits::Invalid()); }
    // Releases what is owned, then owns h.
    void Reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid() && h_ != h) {
            Traits::Close(h_);
        }
        h_ = h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

template <class H>
struct GdiObjectTraits {
    static H Invalid() { return nullptr; }
    static void Close(H h) { DeleteObject(h); }
};
struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
// A kernel object (process, mutex, event...); not for files, whose empty value differs.
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A file opened by CreateFile, whose empty value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A COM interface pointer: released, never deleted.
template <class Interface>
struct ComTraits {
    static Interface* Invalid() { return nullptr; }
    static void Close(Interface* p) { p->Release(); }
};

using Bitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using Region = UniqueHandle<HRGN, GdiObjectTraits<HRGN>>;
using Font = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<HPEN, GdiObjectTraits<HPEN>>;
using Library = UniqueHandle<HMODULE, LibraryTraits>;
// A DC made by CreateCompatibleDC (or CreateDC): deleted, never released.
using MemoryDC = UniqueHandle<HDC, MemoryDcTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
template <class Interface>
using ComPtr = UniqueHandle<Interface*, ComTraits<Interface>>;

// Width and height of a bitmap; 0 by 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// The program's text font: "Arial", swiss pitch and family, height in logical units.
HFONT MakeArialFont(int height, int weight = FW_DONTCARE);

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
