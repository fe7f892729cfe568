// The least a program built like ours must do before its first paint, to tell how much of the
// program's start-up and memory the design itself sets: the same system libraries imported
// (common controls, GDI+, COM, the shell, the file dialogs), GDI+ and COM started, and the main
// window's mask and Normal picture decoded by the program's own picture loader, the window shaped
// by the mask and painted from the picture. No controls, no pages, no settings, no devices.
//   t30_floor.exe SKIN_FOLDER
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objidl.h>
#include <shellapi.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <string>

#include "ui/framework/gdi.h"
#include "ui/skin/skin_win32.h"

namespace {

t30::Bitmap g_background;
SIZE g_size{0, 0};

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            t30::PaintDC dc(window);
            t30::MemoryDC source(CreateCompatibleDC(dc.Get()));
            t30::SelectGuard keep(source.Get(), g_background.Get());
            BitBlt(dc.Get(), 0, 0, g_size.cx, g_size.cy, source.Get(), 0, 0, SRCCOPY);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Referenced so that the linker keeps the libraries among the imports, as the program does.
[[maybe_unused]] volatile auto g_keepShell = &Shell_NotifyIconW;
[[maybe_unused]] volatile auto g_keepDialogs = &GetOpenFileNameW;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) {
        return 2;
    }
    std::wstring skins = argv[1];
    LocalFree(argv);
    if (!skins.empty() && skins.back() != L'\\') {
        skins += L'\\';
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"T30Floor";
    if (!RegisterClassW(&windowClass)) {
        return 1;
    }
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"T30 floor", WS_POPUP, 40, 40, 100,
                                  100, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    {
        t30::Bitmap mask;
        t30::LoadSkinPicture(skins + L"main_mask.bmp", mask);
        g_size = t30::LoadSkinPicture(skins + L"main_normal.jpg", g_background);
        SetWindowPos(window, nullptr, 0, 0, g_size.cx, g_size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        t30::Region shape = t30::MaskToRegion(mask.Get());
        if (shape) {
            SetWindowRgn(window, shape.Release(), TRUE);
        }
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    g_background.Reset();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
