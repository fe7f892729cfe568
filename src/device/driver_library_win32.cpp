#include "device/driver_library_win32.h"

#include <vector>

namespace t30 {
namespace {

template <typename Fn>
bool Lookup(HMODULE module, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return out != nullptr;
}

}  // namespace

Win32DriverLibrary::Win32DriverLibrary(const std::wstring& fullPath) {
    HMODULE module = LoadLibraryW(fullPath.c_str());
    if (module == nullptr) {
        return;
    }
    const bool complete = Lookup(module, "Set_VIDPID", setVidPid_) &&
                          Lookup(module, "Open_DevMonitor", openDevMonitor_) &&
                          Lookup(module, "Close_DevMonitor", closeDevMonitor_) &&
                          Lookup(module, "Open_FeatureDevice", openFeatureDevice_) &&
                          Lookup(module, "Close_FeatureDevice", closeFeatureDevice_) &&
                          Lookup(module, "SetFeature", setFeature_) &&
                          Lookup(module, "GetFeature", getFeature_);
    if (!complete) {
        FreeLibrary(module);
        return;
    }
    module_.reset(module);
}

void Win32DriverLibrary::SetVidPid(int32_t vendorId, int32_t productId) {
    if (Loaded()) {
        setVidPid_(vendorId, productId);
    }
}

void Win32DriverLibrary::OpenDevMonitor(uintptr_t window, int32_t eventMessage,
                                        int32_t statusMessage) {
    if (Loaded()) {
        openDevMonitor_(reinterpret_cast<HWND>(window), eventMessage, statusMessage);
    }
}

bool Win32DriverLibrary::OpenFeatureDevice() {
    return Loaded() && openFeatureDevice_() != 0;
}

bool Win32DriverLibrary::SetFeature(const uint8_t* data, std::size_t size) {
    if (!Loaded() || size > 0x7FFFFFFF) {
        return false;
    }
    // The export takes a mutable buffer; give it a copy so our report stays as built.
    std::vector<unsigned char> copy(data, data + size);
    return setFeature_(copy.data(), static_cast<int>(size)) != 0;
}

void Win32DriverLibrary::CloseFeatureDevice() {
    if (Loaded()) {
        closeFeatureDevice_();
    }
}

void Win32DriverLibrary::CloseDevMonitor() {
    if (Loaded()) {
        closeDevMonitor_();
    }
}

std::unique_ptr<DriverLibrary> LoadDriverLibrary(const std::wstring& appFolder, LibraryId which) {
    return std::make_unique<Win32DriverLibrary>(appFolder +
                                                kLibraryFileNames[static_cast<int>(which)]);
}

}  // namespace t30
