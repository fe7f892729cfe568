// A driver library bound at run time by its full path in the application folder.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "device/device_link.h"

namespace t30 {

constexpr const wchar_t* kLibraryFileNames[2] = {L"hiddriver_1.dll", L"hiddriver_2.dll"};

class Win32DriverLibrary : public DriverLibrary {
  public:
    // Loads the library; when the file or any of the seven exports is missing the object stays
    // unloaded and behaves as a library without a device.
    explicit Win32DriverLibrary(const std::wstring& fullPath);

    bool Loaded() const override { return module_ != nullptr; }
    void SetVidPid(int32_t vendorId, int32_t productId) override;
    void OpenDevMonitor(uintptr_t window, int32_t eventMessage, int32_t statusMessage) override;
    bool OpenFeatureDevice() override;
    bool SetFeature(const uint8_t* data, std::size_t size) override;
    void CloseFeatureDevice() override;
    void CloseDevMonitor() override;

    // Plain C calling convention; the caller cleans the stack.
    using SetVidPidFn = int(__cdecl*)(int, int);
    using OpenDevMonitorFn = int(__cdecl*)(HWND, int, int);
    using NoArgFn = int(__cdecl*)();
    using SetFeatureFn = int(__cdecl*)(unsigned char*, int);
    using GetFeatureFn = int(__cdecl*)(unsigned char*, int);

  private:
    struct ModuleDeleter {
        void operator()(HMODULE m) const { FreeLibrary(m); }
    };
    std::unique_ptr<HINSTANCE__, ModuleDeleter> module_;
    SetVidPidFn setVidPid_ = nullptr;
    OpenDevMonitorFn openDevMonitor_ = nullptr;
    NoArgFn closeDevMonitor_ = nullptr;
    NoArgFn openFeatureDevice_ = nullptr;
    NoArgFn closeFeatureDevice_ = nullptr;
    SetFeatureFn setFeature_ = nullptr;
    GetFeatureFn getFeature_ = nullptr;  // looked up so a library without it is refused; unused
};

// Application folder (ending in a backslash) + file name of the library.
std::unique_ptr<DriverLibrary> LoadDriverLibrary(const std::wstring& appFolder, LibraryId which);

}  // namespace t30
