// Plugs and unplugs the virtual T-30 (t30vhid.sys, beside this program) in the current Wine
// prefix, and shows what it received:
//   t30vhid plug 1|2 [windows|reversed|merged]   root devices of one identity, then waits until
//                                                Windows shows their HID interfaces
//   t30vhid unplug 1|2                           removes them, waits until the interfaces go
//   t30vhid reset                                removes every device, the service and the log
//   t30vhid reports                              every report received, one line each
//   t30vhid clear                                forgets the reports
//   t30vhid counts IMAGE                         "threads handles" of the process running IMAGE
//   t30vhid expect FOLDER LENGTH                 the reports a full apply of FOLDER's settings
//                                                sends, zero-padded to LENGTH, as "reports" shows
// Shapes: "windows" is one device per collection, enumerated pointer first (as Windows lists
// a mouse's collections); "reversed" lists the vendor collection first; "merged" is one
// device with every collection.
#include <windows.h>

#include <tlhelp32.h>
// mingw's HID headers lack C linkage declarations of their own.
extern "C" {
#include <hidsdi.h>
}
#include <newdev.h>
#include <setupapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "device/send_pass.h"
#include "handle_count.h"
#include "profile/settings_file.h"

namespace {

constexpr wchar_t kHardwareId[] = L"T30VHID\0";  // a multi-string
constexpr wchar_t kService[] = L"t30vhid";

struct Part {
    const wchar_t* suffix;    // after the identity in the device id
    const wchar_t* instance;  // tells the driver which collection it plays
};

std::vector<Part> PartsOf(const std::wstring& shape) {
    if (shape == L"windows") {
        return {{L"&COL01", L"POINTER"}, {L"&COL02", L"VENDOR"}, {L"&COL03", L"KEYBOARD"}};
    }
    if (shape == L"reversed") {
        return {{L"&COL01", L"VENDOR"}, {L"&COL02", L"KEYBOARD"}, {L"&COL03", L"POINTER"}};
    }
    if (shape == L"merged") {
        return {{L"", L"ALL"}};
    }
    return {};
}

std::wstring IdentityTag(int identity) {
    return identity == 1 ? L"VID_1D57&PID_FA60" : L"VID_1D57&PID_FA61";
}

std::wstring InstanceId(int identity, const Part& part) {
    return L"ROOT\\" + IdentityTag(identity) + part.suffix + L"\\" + part.instance;
}

// Every instance id a device of this identity may have, whatever shape plugged it.
std::vector<std::wstring> AllInstanceIds(int identity) {
    std::vector<std::wstring> ids;
    for (const wchar_t* shape : {L"windows", L"reversed", L"merged"}) {
        for (const Part& part : PartsOf(shape)) {
            const std::wstring id = InstanceId(identity, part);
            bool seen = false;
            for (const auto& known : ids)
                seen = seen || known == id;
            if (!seen)
                ids.push_back(id);
        }
    }
    return ids;
}

std::wstring Folder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring LogPath() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\temp\\t30-vhid.log";
}

// The HID interfaces present whose path carries the identity.
int InterfaceCount(int identity) {
    GUID hid;
    HidD_GetHidGuid(&hid);
    HDEVINFO set =
        SetupDiGetClassDevsW(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return 0;
    std::wstring tag = IdentityTag(identity);
    CharLowerW(tag.data());
    int count = 0;
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hid, i, &iface); ++i) {
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &needed, nullptr);
        std::vector<unsigned char> buffer(needed + sizeof(wchar_t));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, needed, nullptr, nullptr)) {
            std::wstring path = detail->DevicePath;
            CharLowerW(path.data());
            if (path.find(tag) != std::wstring::npos)
                ++count;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}

bool WaitForInterfaces(int identity, int expected) {
    for (int i = 0; i < 200; ++i) {
        if (InterfaceCount(identity) == expected)
            return true;
        Sleep(50);
    }
    fwprintf(stderr, L"t30vhid: identity %d shows %d interfaces, expected %d\n", identity,
             InterfaceCount(identity), expected);
    return false;
}

bool CreateRootDevice(const std::wstring& instanceId) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    GUID none{};
    bool ok =
        SetupDiCreateDeviceInfoW(set, instanceId.c_str(), &none, nullptr, nullptr, 0, &device) &&
        SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID,
                                          reinterpret_cast<const BYTE*>(kHardwareId),
                                          sizeof kHardwareId) &&
        SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device);
    if (!ok) {
        fwprintf(stderr, L"t30vhid: cannot create %ls (error %lu)\n", instanceId.c_str(),
                 GetLastError());
    }
    SetupDiDestroyDeviceInfoList(set);
    return ok;
}

// Removes the device if present; true when it was there.
bool RemoveRootDevice(const std::wstring& instanceId) {
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    bool removed = SetupDiOpenDeviceInfoW(set, instanceId.c_str(), nullptr, 0, &device) &&
                   SetupDiCallClassInstaller(DIF_REMOVE, set, &device);
    SetupDiDestroyDeviceInfoList(set);
    return removed;
}

int Plug(int identity, const std::wstring& shape) {
    const std::vector<Part> parts = PartsOf(shape);
    if (parts.empty()) {
        fwprintf(stderr, L"t30vhid: unknown shape %ls\n", shape.c_str());
        return 2;
    }
    for (const Part& part : parts) {
        if (!CreateRootDevice(InstanceId(identity, part)))
            return 1;
    }
    const std::wstring inf = Folder() + L"t30vhid.inf";
    BOOL reboot = FALSE;
    if (!UpdateDriverForPlugAndPlayDevicesW(nullptr, L"T30VHID", inf.c_str(), INSTALLFLAG_FORCE,
                                            &reboot)) {
        fwprintf(stderr, L"t30vhid: cannot install %ls (error %lu)\n", inf.c_str(), GetLastError());
        return 1;
    }
    return WaitForInterfaces(identity, static_cast<int>(parts.size())) ? 0 : 1;
}

int Unplug(int identity) {
    for (const std::wstring& id : AllInstanceIds(identity))
        RemoveRootDevice(id);
    return WaitForInterfaces(identity, 0) ? 0 : 1;
}

// Stops and deletes the driver's service, so its host process ends, and forgets its files.
void RemoveDriver() {
    if (SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        if (SC_HANDLE service = OpenServiceW(manager, kService, SERVICE_ALL_ACCESS)) {
            SERVICE_STATUS status;
            ControlService(service, SERVICE_CONTROL_STOP, &status);
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring infFolder = std::wstring(windows) + L"\\inf\\";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((infFolder + L"oem*.inf").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            // Only our own: the copied .inf names the hardware id.
            const std::wstring path = infFolder + found.cFileName;
            wchar_t value[64] = L"";
            GetPrivateProfileStringW(L"Models.NTamd64", L"Virtual T-30", L"", value, 64,
                                     path.c_str());
            if (wcsstr(value, L"T30VHID") != nullptr) {
                SetupUninstallOEMInfW(found.cFileName, SUOI_FORCEDELETE, nullptr);
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    DeleteFileW((std::wstring(windows) + L"\\system32\\drivers\\t30vhid.sys").c_str());
}

int Reports() {
    HANDLE file = CreateFileW(LogPath().c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;  // nothing received yet
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) {
        fwrite(buffer, 1, n, stdout);
    }
    CloseHandle(file);
    return 0;
}

int Counts(const wchar_t* image) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    DWORD pid = 0, threads = 0;
    for (BOOL ok = Process32FirstW(snap, &process); ok; ok = Process32NextW(snap, &process)) {
        if (lstrcmpiW(process.szExeFile, image) == 0) {
            pid = process.th32ProcessID;
            threads = process.cntThreads;
        }
    }
    CloseHandle(snap);
    const int handles = pid != 0 ? t30::HandlesOfProcess(pid) : -1;
    if (handles < 0) {
        fwprintf(stderr, L"t30vhid: no process %ls\n", image);
        return 1;
    }
    printf("%lu %d\n", threads, handles);
    return 0;
}

// Prints each report as the driver logs it: id, padded length, padded bytes.
class PrintingSink : public t30::FeatureSink {
  public:
    explicit PrintingSink(std::size_t length) : length_(length) {}
    bool SetFeature(const uint8_t* data, std::size_t size) override {
        printf("%02x %04zx", data[0], length_);
        for (std::size_t i = 0; i < length_; ++i)
            printf(" %02x", i < size ? data[i] : 0);
        printf("\n");
        return true;
    }

  private:
    std::size_t length_;
};

class NoSleep : public t30::Sleeper {
  public:
    void SleepMs(unsigned) override {}
};

int Expect(const wchar_t* folder, int length) {
    static t30::ProfileBlock block;
    if (length <= 0 || t30::loadSettings(block, folder).source != t30::SettingsSource::kFile) {
        fwprintf(stderr, L"t30vhid: no settings in %ls\n", folder);
        return 1;
    }
    t30::SendPass pass{block.profiles[block.currentIndex], t30::DirtyFlags::All()};
    PrintingSink sink(static_cast<std::size_t>(length));
    NoSleep sleeper;
    t30::RunSendPass(pass, sink, sleeper);
    return 0;
}

int Usage() {
    fwprintf(stderr,
             L"usage: t30vhid plug 1|2 [windows|reversed|merged] | unplug 1|2 | reset |"
             L" reports | clear | counts IMAGE | expect FOLDER LENGTH\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    const std::wstring command = argv[1];
    const int identity = argc > 2 ? _wtoi(argv[2]) : 0;
    const bool identityOk = identity == 1 || identity == 2;
    if (command == L"plug" && identityOk && argc <= 4) {
        return Plug(identity, argc == 4 ? argv[3] : L"windows");
    }
    if (command == L"unplug" && identityOk && argc == 3)
        return Unplug(identity);
    if (command == L"reset" && argc == 2) {
        const int rc = Unplug(1) | Unplug(2);
        RemoveDriver();
        DeleteFileW(LogPath().c_str());
        return rc;
    }
    if (command == L"reports" && argc == 2)
        return Reports();
    if (command == L"clear" && argc == 2) {
        DeleteFileW(LogPath().c_str());
        return 0;
    }
    if (command == L"counts" && argc == 3)
        return Counts(argv[2]);
    if (command == L"expect" && argc == 4)
        return Expect(argv[2], _wtoi(argv[3]));
    return Usage();
}
