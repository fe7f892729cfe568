// The simulated driver library: the same seven exports as the real one, served by a running
// `vmouse.exe serve` instead of a USB device. Without a server it behaves as a library whose
// device is absent.
#include <vector>

#include "driver_exports.h"
#include "sim/vmouse_protocol.h"

namespace {

namespace vm = t30::vmouse;

HINSTANCE g_module = nullptr;
int g_identity = 0;
HWND g_target = nullptr;
int g_eventMessage = 0;
int g_statusMessage = 0;
HWND g_client = nullptr;

LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case vm::kNoticeStatus:
            PostMessageW(g_target, static_cast<UINT>(g_statusMessage), wp, 0);
            return 0;
        case vm::kNoticeEvent:
            PostMessageW(g_target, static_cast<UINT>(g_eventMessage), wp, lp & 0xFFFF);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

int AskServer(vm::Request request, const std::vector<unsigned char>& payload) {
    HWND server = vm::FindServer();
    LRESULT answer = 0;
    if (server == nullptr ||
        !vm::Ask(server, request, payload.data(), static_cast<DWORD>(payload.size()), &answer)) {
        return 0;
    }
    return static_cast<int>(answer);
}

}  // namespace

int __cdecl Set_VIDPID(int vendorId, int productId) {
    g_identity = vm::IdentityOf(vendorId, productId);
    return g_identity != 0;
}

int __cdecl Open_DevMonitor(HWND window, int eventMessage, int statusMessage) {
    if (g_identity == 0 || g_client != nullptr) {
        return 0;
    }
    g_target = window;
    g_eventMessage = eventMessage;
    g_statusMessage = statusMessage;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = g_module;
    wc.lpszClassName = vm::ClientClass(g_identity);
    RegisterClassW(&wc);
    // Lives on the caller's thread, whose message loop delivers the server's notices.
    g_client = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               g_module, nullptr);
    return g_client != nullptr;
}

int __cdecl Close_DevMonitor() {
    if (g_client != nullptr) {
        DestroyWindow(g_client);
        g_client = nullptr;
        UnregisterClassW(vm::ClientClass(g_identity), g_module);
    }
    return 1;
}

int __cdecl Open_FeatureDevice() {
    if (g_identity == 0) {
        return 0;
    }
    return AskServer(vm::kIsPlugged, {static_cast<unsigned char>(g_identity)});
}

int __cdecl Close_FeatureDevice() {
    return 1;
}

int __cdecl SetFeature(unsigned char* report, int length) {
    if (g_identity == 0 || report == nullptr || length <= 0) {
        return 0;
    }
    std::vector<unsigned char> payload{static_cast<unsigned char>(g_identity)};
    payload.insert(payload.end(), report, report + length);
    return AskServer(vm::kSetFeature, payload);
}

int __cdecl GetFeature(unsigned char*, int) {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
