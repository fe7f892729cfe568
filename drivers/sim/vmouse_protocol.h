// How the simulated driver libraries, the vmouse command line and the running virtual mouse talk.
//
// `vmouse.exe serve` owns a message-only window of class kServerClass. Requests reach it as
// WM_COPYDATA (dwData = Request, payload below) and its answer is SendMessage's result. Each
// simulated library that watches for a device owns a message-only window of class kClientClass;
// the server posts plug, unplug and event notices to every such window, and the library passes
// them on to the program's window as its status and event messages. Client classes carry the
// identity in their name, so the server finds exactly the libraries of one identity.
#pragma once

#include <windows.h>

#include <cstdint>

namespace t30::vmouse {

constexpr wchar_t kServerClass[] = L"T30VirtualMouseServer";
constexpr wchar_t kClientClass1[] = L"T30VirtualMouseClient1";
constexpr wchar_t kClientClass2[] = L"T30VirtualMouseClient2";
inline const wchar_t* ClientClass(int identity) {
    return identity == 1 ? kClientClass1 : kClientClass2;
}

// Identity 1 is 0x1D57/0xFA60 (first library), 2 is 0x1D57/0xFA61 (second library).
constexpr int kVendorId = 0x1D57;
constexpr int kProductIds[3] = {0, 0xFA60, 0xFA61};

inline int IdentityOf(int vendorId, int productId) {
    if (vendorId != kVendorId) {
        return 0;
    }
    return productId == kProductIds[1] ? 1 : productId == kProductIds[2] ? 2 : 0;
}

enum Request : ULONG_PTR {
    kSetFeature = 1,  // payload: identity byte, then the report
    kIsPlugged,       // payload: identity byte
    kPlug,            // payload: identity byte, 1 plug / 0 unplug
    kEvent,           // payload: EventRequest
    kRefuse,          // payload: identity byte, 1 on / 0 off
    kReports,         // payload: HWND of the asker (as uint64); answer sent back as kReportsText
    kClear,
    kQuit,
    kReportsText,  // server to asker: the reports, one per line
};

struct EventRequest {
    int32_t identity;
    uint32_t eventClass;
    uint32_t value;
};

// Notices the server posts to client windows.
constexpr UINT kNoticeStatus = WM_APP + 1;  // wParam 1 arrived / 0 removed
constexpr UINT kNoticeEvent = WM_APP + 2;   // wParam event class, lParam value

// Every request gives up after this long, so nobody hangs on a stuck server.
constexpr UINT kTimeoutMs = 1000;

inline HWND FindServer() {
    return FindWindowExW(HWND_MESSAGE, nullptr, kServerClass, nullptr);
}

// Sends one request; false when no server answers.
inline bool Ask(HWND server, Request request, const void* data, DWORD size, LRESULT* answer,
                HWND from = nullptr) {
    COPYDATASTRUCT cds{request, size, const_cast<void*>(data)};
    DWORD_PTR result = 0;
    // Not SMTO_BLOCK: the reports request is answered by a message sent back to the asker.
    if (!SendMessageTimeoutW(server, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                             reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, kTimeoutMs,
                             &result)) {
        return false;
    }
    if (answer != nullptr) {
        *answer = static_cast<LRESULT>(result);
    }
    return true;
}

}  // namespace t30::vmouse
