// The two driver libraries and which of them has a mouse. Reports go through the second library
// when its device is connected, else through the first.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/window_messages.h"
#include "device/send_pass.h"

namespace t30 {

// One driver library. A library (or export) that could not be loaded behaves as one without a
// device: every operation does nothing and reports failure.
class DriverLibrary {
  public:
    virtual ~DriverLibrary() = default;
    virtual bool Loaded() const = 0;
    virtual void SetVidPid(int32_t vendorId, int32_t productId) = 0;
    // `window` is the native window handle the library posts its two messages to.
    virtual void OpenDevMonitor(uintptr_t window, int32_t eventMessage, int32_t statusMessage) = 0;
    virtual bool OpenFeatureDevice() = 0;
    virtual bool SetFeature(const uint8_t* data, std::size_t size) = 0;
    virtual void CloseFeatureDevice() = 0;
    virtual void CloseDevMonitor() = 0;
};

struct UsbIdentity {
    int32_t vendorId;
    int32_t productId;
    unsigned eventMessage;
    unsigned statusMessage;
};

enum class LibraryId { kFirst = 0, kSecond = 1 };

constexpr std::array<UsbIdentity, 2> kLibraryIdentities = {{
    {0x1D57, 0xFA60, kMsgFirstLibraryEvent, kMsgFirstLibraryStatus},
    {0x1D57, 0xFA61, kMsgSecondLibraryEvent, kMsgSecondLibraryStatus},
}};

// Connection state of a library: never heard of a device, connected, or removed.
enum class Connection : int { kUnknown = 0, kConnected = 1, kRemoved = 2 };

class DeviceLink : public FeatureSink {
  public:
    DeviceLink() = default;
    void Bind(LibraryId which, std::unique_ptr<DriverLibrary> library);
    DriverLibrary* library(LibraryId which) const {
        return libraries_[static_cast<int>(which)].get();
    }
    void Unbind();  // frees the second library, then the first

    Connection state(LibraryId which) const { return states_[static_cast<int>(which)].load(); }
    void SetState(LibraryId which, Connection c) { states_[static_cast<int>(which)].store(c); }
    bool AnyConnected() const {
        return state(LibraryId::kFirst) == Connection::kConnected ||
               state(LibraryId::kSecond) == Connection::kConnected;
    }

    // Called from the worker thread; the states are atomics because the user-interface thread
    // changes them when a mouse arrives or leaves.
    bool SetFeature(const uint8_t* data, std::size_t size) override;

  private:
    std::array<std::unique_ptr<DriverLibrary>, 2> libraries_;
    std::array<std::atomic<Connection>, 2> states_{Connection::kUnknown, Connection::kUnknown};
};

}  // namespace t30
