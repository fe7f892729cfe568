// Follows the mouse being plugged in and out through the driver libraries' status messages, and
// takes in DPI-stage and report-rate changes made on the mouse itself. Runs on the user-interface
// thread; everything it does to windows goes through ConnectionHost.
#pragma once

#include <cstdint>

#include "device/apply_pipeline.h"
#include "device/device_link.h"
#include "profile/profile_store.h"

namespace t30 {

class ConnectionHost {
  public:
    virtual ~ConnectionHost() = default;
    // The pause after an arrival, before the device is opened.
    virtual void WaitMs(unsigned ms) = 0;
    virtual void AddTrayIcon() = 0;
    virtual void DeleteTrayIcon() = 0;
    virtual void StartSwitchTimer() = 0;  // timer 500, 2000 ms
    virtual void StopSwitchTimer() = 0;
    virtual void StartNoMouseTimer() = 0;  // timer 1, 100 ms, one shot
    virtual void HideMainWindow() = 0;
    // The button page shows the new stage / rate of the current profile.
    virtual void ShowDpiStage(int stage) = 0;
    virtual void ShowReportRate(int rateIndex) = 0;
    virtual void SaveSettings(const ProfileBlock& block) = 0;
};

constexpr unsigned kArrivalWaitMs = 1000;
constexpr uintptr_t kEventDpiStage = 0x1000;
constexpr uintptr_t kEventReportRate = 0x2000;

class ConnectionMonitor {
  public:
    ConnectionMonitor(DeviceLink& link, ProfileStore& store, ApplyPipeline& pipeline,
                      ConnectionHost& host)
        : link_(link), store_(store), pipeline_(pipeline), host_(host) {}

    // Second library first, then the first: select the identity, watch it, try to open it.
    // `window` receives the libraries' messages.
    void Start(uintptr_t window);
    // Closes both devices and monitors (second, then first).
    void Stop();

    // Handles 1325..1328; false for any other message.
    bool OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam);

    void OnStatus(LibraryId which, uintptr_t status);
    void OnEvent(LibraryId which, uintptr_t eventClass, intptr_t value);

  private:
    static LibraryId Other(LibraryId l) {
        return l == LibraryId::kFirst ? LibraryId::kSecond : LibraryId::kFirst;
    }

    DeviceLink& link_;
    ProfileStore& store_;
    ApplyPipeline& pipeline_;
    ConnectionHost& host_;
};

}  // namespace t30
