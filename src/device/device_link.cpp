#include "device/device_link.h"

namespace t30 {

void DeviceLink::Bind(LibraryId which, std::unique_ptr<DriverLibrary> library) {
    libraries_[static_cast<int>(which)] = std::move(library);
}

void DeviceLink::Unbind() {
    libraries_[static_cast<int>(LibraryId::kSecond)].reset();
    libraries_[static_cast<int>(LibraryId::kFirst)].reset();
}

bool DeviceLink::SetFeature(const uint8_t* data, std::size_t size) {
    const LibraryId route = state(LibraryId::kSecond) == Connection::kConnected ? LibraryId::kSecond
                                                                                : LibraryId::kFirst;
    DriverLibrary* lib = library(route);
    return lib != nullptr && lib->SetFeature(data, size);
}

}  // namespace t30
