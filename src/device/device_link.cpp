#include "device/device_link.h"

namespace t30 {

void DeviceLink::Bind(Library which, std::unique_ptr<DriverLibrary> library) {
    libraries_[static_cast<int>(which)] = std::move(library);
}

void DeviceLink::Unbind() {
    libraries_[static_cast<int>(Library::kSecond)].reset();
    libraries_[static_cast<int>(Library::kFirst)].reset();
}

bool DeviceLink::SetFeature(const uint8_t* data, std::size_t size) {
    const Library route =
        state(Library::kSecond) == Connection::kConnected ? Library::kSecond : Library::kFirst;
    DriverLibrary* lib = library(route);
    return lib != nullptr && lib->SetFeature(data, size);
}

}  // namespace t30
