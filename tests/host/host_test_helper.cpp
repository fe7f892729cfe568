// A stand-in for other programs on the desktop, for the Windows tests of this folder:
//   host_test_helper idle EVENT     waits until the named event is set
//   host_test_helper window EVENT   the same, with a visible window brought to the foreground
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (!stop) {
        return 3;
    }
    HWND window = nullptr;
    if (std::wcscmp(argv[1], L"window") == 0) {
        window = CreateWindowExW(0, L"STATIC", L"t30 helper", WS_POPUP | WS_VISIBLE, 400, 300, 120,
                                 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!window) {
            CloseHandle(stop);
            return 4;
        }
        SetForegroundWindow(window);
    }
    // Keep the window's messages flowing until told to stop.
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1) {
            break;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    if (window) {
        DestroyWindow(window);
    }
    CloseHandle(stop);
    return 0;
}
