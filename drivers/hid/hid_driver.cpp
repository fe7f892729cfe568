// The driver library on the Windows HID API. One source builds both shipped libraries; which
// mouse identity a library serves is chosen at run time through Set_VIDPID.
#include <windows.h>

#include <dbt.h>
// mingw's HID headers lack C linkage declarations of their own.
extern "C" {
#include <hidsdi.h>  // first: it brings the usage types hidpi.h needs

#include <hidpi.h>
}
#include <setupapi.h>

#include <cwctype>
#include <string>
#include <vector>

#include "driver_exports.h"

namespace {

HINSTANCE g_module = nullptr;
int g_vendorId = 0;
int g_productId = 0;

// The open feature collection.
HANDLE g_device = INVALID_HANDLE_VALUE;
USHORT g_featureLength = 0;

// The arrival and removal watcher: a message-only window on a thread of its own.
HANDLE g_monitorThread = nullptr;
DWORD g_monitorThreadId = 0;
HWND g_target = nullptr;
int g_statusMessage = 0;

constexpr wchar_t kMonitorClass[] = L"T30HidDriverMonitor";

std::wstring Upper(std::wstring s) {
    for (wchar_t& c : s) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return s;
}

// Device interface paths carry "VID_xxxx&PID_yyyy".
bool PathMatchesIdentity(const wchar_t* path) {
    wchar_t tag[32];
    wsprintfW(tag, L"VID_%04X&PID_%04X", g_vendorId & 0xFFFF, g_productId & 0xFFFF);
    return Upper(path).find(tag) != std::wstring::npos;
}

// Opens one HID interface; mice refuse read/write access to everyone but the system, and
// feature reports need neither.
HANDLE OpenInterface(const wchar_t* path) {
    HANDLE h = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        h = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr);
    }
    return h;
}

// The reports that carry the settings; a collection with this one among its feature reports is
// the one to talk to.
constexpr UCHAR kSettingsReportId = 0x04;
constexpr USHORT kFirstVendorUsagePage = 0xFF00;

// How well a collection suits the settings reports: a mouse lists several (pointer, keyboard,
// vendor), in no order to rely on, and only one takes them.
enum class Fit { kNone, kVendorPage, kCarriesSettings };

struct CollectionInfo {
    Fit fit = Fit::kNone;
    USHORT featureLength = 0;
};

bool HasFeatureReport(PHIDP_PREPARSED_DATA data, const HIDP_CAPS& caps, UCHAR reportId) {
    USHORT count = caps.NumberFeatureValueCaps;
    if (count > 0) {
        std::vector<HIDP_VALUE_CAPS> values(count);
        if (HidP_GetValueCaps(HidP_Feature, values.data(), &count, data) == HIDP_STATUS_SUCCESS) {
            for (USHORT i = 0; i < count; ++i) {
                if (values[i].ReportID == reportId) {
                    return true;
                }
            }
        }
    }
    count = caps.NumberFeatureButtonCaps;
    if (count > 0) {
        std::vector<HIDP_BUTTON_CAPS> buttons(count);
        if (HidP_GetButtonCaps(HidP_Feature, buttons.data(), &count, data) == HIDP_STATUS_SUCCESS) {
            for (USHORT i = 0; i < count; ++i) {
                if (buttons[i].ReportID == reportId) {
                    return true;
                }
            }
        }
    }
    return false;
}

CollectionInfo Inspect(HANDLE h) {
    CollectionInfo info;
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(h, &data)) {
        return info;
    }
    HIDP_CAPS caps{};
    if (HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS && caps.FeatureReportByteLength > 0) {
        info.featureLength = caps.FeatureReportByteLength;
        if (HasFeatureReport(data, caps, kSettingsReportId)) {
            info.fit = Fit::kCarriesSettings;
        } else if (caps.UsagePage >= kFirstVendorUsagePage) {
            info.fit = Fit::kVendorPage;
        }
    }
    HidD_FreePreparsedData(data);
    return info;
}

void CloseDevice() {
    if (g_device != INVALID_HANDLE_VALUE) {
        CloseHandle(g_device);
        g_device = INVALID_HANDLE_VALUE;
        g_featureLength = 0;
    }
}

LRESULT CALLBACK MonitorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DEVICECHANGE && (wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE)) {
        const auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
        if (hdr != nullptr && hdr->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
            const auto* di = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(hdr);
            if (PathMatchesIdentity(di->dbcc_name)) {
                PostMessageW(g_target, static_cast<UINT>(g_statusMessage),
                             wp == DBT_DEVICEARRIVAL ? 1 : 0, 0);
            }
        }
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

DWORD WINAPI MonitorThread(void* ready) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MonitorProc;
    wc.hInstance = g_module;
    wc.lpszClassName = kMonitorClass;
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, kMonitorClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  g_module, nullptr);
    HDEVNOTIFY notify = nullptr;
    if (window != nullptr) {
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        HidD_GetHidGuid(&filter.dbcc_classguid);
        notify = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    if (notify != nullptr) {
        UnregisterDeviceNotification(notify);
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
    UnregisterClassW(kMonitorClass, g_module);
    // The thread holds its own reference so the library cannot go away under it.
    FreeLibraryAndExitThread(g_module, 0);
}

}  // namespace

int __cdecl Set_VIDPID(int vendorId, int productId) {
    g_vendorId = vendorId;
    g_productId = productId;
    return 1;
}

int __cdecl Open_FeatureDevice() {
    CloseDevice();
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set =
        SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) {
        return 0;
    }
    Fit best = Fit::kNone;
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    for (DWORD i = 0; best != Fit::kCarriesSettings &&
                      SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, i, &iface);
         ++i) {
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &needed, nullptr);
        if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        std::vector<unsigned char> buffer(needed);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, needed, nullptr, nullptr)) {
            continue;
        }
        HANDLE h = OpenInterface(detail->DevicePath);
        if (h == INVALID_HANDLE_VALUE) {
            continue;
        }
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        const CollectionInfo info = Inspect(h);
        if (HidD_GetAttributes(h, &attributes) && attributes.VendorID == (g_vendorId & 0xFFFF) &&
            attributes.ProductID == (g_productId & 0xFFFF) && info.fit > best) {
            CloseDevice();
            g_device = h;
            g_featureLength = info.featureLength;
            best = info.fit;
        } else {
            CloseHandle(h);
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return g_device != INVALID_HANDLE_VALUE;
}

int __cdecl Close_FeatureDevice() {
    CloseDevice();
    return 1;
}

int __cdecl SetFeature(unsigned char* report, int length) {
    if (g_device == INVALID_HANDLE_VALUE || report == nullptr || length <= 0 ||
        length > g_featureLength) {
        return 0;  // a report longer than the collection's is refused, never cut
    }
    // The collection expects exactly its own length; shorter reports are padded with zeros.
    std::vector<unsigned char> padded(g_featureLength, 0);
    memcpy(padded.data(), report, static_cast<size_t>(length));
    return HidD_SetFeature(g_device, padded.data(), g_featureLength) ? 1 : 0;
}

int __cdecl GetFeature(unsigned char* report, int length) {
    if (g_device == INVALID_HANDLE_VALUE || report == nullptr || length <= 0) {
        return 0;
    }
    return HidD_GetFeature(g_device, report, static_cast<ULONG>(length)) ? 1 : 0;
}

int __cdecl Open_DevMonitor(HWND window, int, int statusMessage) {
    if (g_monitorThread != nullptr) {
        return 0;
    }
    g_target = window;
    g_statusMessage = statusMessage;
    HMODULE self = nullptr;
    // Reference for the thread, released by FreeLibraryAndExitThread.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&MonitorThread), &self)) {
        return 0;
    }
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_monitorThread = CreateThread(nullptr, 0, MonitorThread, ready, 0, &g_monitorThreadId);
    if (g_monitorThread == nullptr) {
        FreeLibrary(self);
        CloseHandle(ready);
        return 0;
    }
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    return 1;
}

int __cdecl Close_DevMonitor() {
    if (g_monitorThread == nullptr) {
        return 1;
    }
    PostThreadMessageW(g_monitorThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_monitorThread, INFINITE);
    CloseHandle(g_monitorThread);
    g_monitorThread = nullptr;
    g_monitorThreadId = 0;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
