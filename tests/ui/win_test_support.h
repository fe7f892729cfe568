// Helpers for the toolkit's tests that run real windows under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace t30::test {

// Dispatches everything queued on this thread.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until done() holds or the time is up; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) {
            return done();
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

// Pumps for a while, for "nothing more arrives" checks.
inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// Real input through the system's input queue, at screen coordinates.
inline void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_MOVE) {
        in.mi.dx = static_cast<LONG>((x * 65535LL + GetSystemMetrics(SM_CXSCREEN) / 2) /
                                     (GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = static_cast<LONG>((y * 65535LL + GetSystemMetrics(SM_CYSCREEN) / 2) /
                                     (GetSystemMetrics(SM_CYSCREEN) - 1));
        flags |= MOUSEEVENTF_ABSOLUTE;
    }
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}
inline void MoveTo(int x, int y) {
    SendMouse(MOUSEEVENTF_MOVE, x, y);
    PumpFor(60);
}
inline void LeftDown() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(60);
}
inline void LeftUp() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(60);
}

// A DC of the screen for the life of the process (tests only).
inline HDC ScreenDc() {
    static HDC dc = GetDC(nullptr);
    return dc;
}

// Wine makes a system colour brush the first time it is asked for and keeps it for the process
// (Windows keeps them in the system). Whether a run asks for one depends on what the default
// handling happens to paint, so a count of the process's objects makes them all first.
inline void MakeSystemColourBrushes() {
    for (int index = 0; index <= COLOR_MENUBAR; ++index) {
        GetSysColorBrush(index);
    }
}

// Live GDI objects (DCs included) of the process. Wine's GetGuiResources answers 0, but Wine takes
// a handle's bare table index as the handle, so there the table is counted directly.
inline DWORD GdiObjectCount() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        return reported;
    }
    MakeSystemColourBrushes();
    DWORD live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index) {
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    }
    return live;
}

// Windows of this thread, children included (x64: callbacks need no calling-convention mark).
inline DWORD WindowCount() {
    DWORD n = 0;
    auto countTop = [](HWND hwnd, LPARAM p) -> BOOL {
        ++*reinterpret_cast<DWORD*>(p);
        EnumChildWindows(
            hwnd,
            [](HWND, LPARAM q) -> BOOL {
                ++*reinterpret_cast<DWORD*>(q);
                return TRUE;
            },
            p);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), countTop, reinterpret_cast<LPARAM>(&n));
    return n;
}

// A screen-compatible bitmap of one colour, like a whole-window state picture of a test skin.
inline HBITMAP SolidBitmap(COLORREF colour, int width = 300, int height = 200) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A plain registered window class for test parents.
inline const wchar_t* TestWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"T30 Test Window";
        RegisterClassW(&wc);
        return L"T30 Test Window";
    }();
    return name;
}

// Writes a 24-bit bottom-up BMP file; pixel(x, y) gives the colour (y = 0 at the top).
inline bool WriteBmp(const std::wstring& path, int width, int height,
                     const std::function<COLORREF(int, int)>& pixel) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride * height);
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    std::string data(static_cast<std::size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = &data[static_cast<std::size_t>(height - 1 - y) * stride];
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3 + 0] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, &fh, sizeof fh, &written, nullptr) &&
              WriteFile(file, &ih, sizeof ih, &written, nullptr) &&
              WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    return ok;
}

// A fresh folder under the temporary folder, with a trailing backslash.
inline std::wstring TempFolder(const wchar_t* name) {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + name + L"_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

}  // namespace t30::test
