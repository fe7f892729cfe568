#include "device/connection_monitor.h"

namespace t30 {

void ConnectionMonitor::Start(uintptr_t window) {
    for (LibraryId which : {LibraryId::kSecond, LibraryId::kFirst}) {
        DriverLibrary* lib = link_.library(which);
        const UsbIdentity& id = kLibraryIdentities[static_cast<int>(which)];
        bool present = false;
        if (lib != nullptr) {
            lib->SetVidPid(id.vendorId, id.productId);
            lib->OpenDevMonitor(window, static_cast<int32_t>(id.eventMessage),
                                static_cast<int32_t>(id.statusMessage));
            present = lib->OpenFeatureDevice();
        }
        link_.SetState(which, present ? Connection::kConnected : Connection::kUnknown);
        if (present) {
            host_.StartSwitchTimer();
        }
    }
    if (!link_.AnyConnected()) {
        host_.StartNoMouseTimer();
    }
}

void ConnectionMonitor::Stop() {
    for (LibraryId which : {LibraryId::kSecond, LibraryId::kFirst}) {
        if (DriverLibrary* lib = link_.library(which)) {
            lib->CloseFeatureDevice();
            lib->CloseDevMonitor();
        }
    }
}

bool ConnectionMonitor::OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {
    for (LibraryId which : {LibraryId::kFirst, LibraryId::kSecond}) {
        const UsbIdentity& id = kLibraryIdentities[static_cast<int>(which)];
        if (message == id.statusMessage) {
            OnStatus(which, wParam);
            return true;
        }
        if (message == id.eventMessage) {
            OnEvent(which, wParam, lParam);
            return true;
        }
    }
    return false;
}

void ConnectionMonitor::OnStatus(LibraryId which, uintptr_t status) {
    DriverLibrary* lib = link_.library(which);
    const bool otherConnected = link_.state(Other(which)) == Connection::kConnected;
    if (status == 1) {
        if (link_.state(which) == Connection::kConnected) {
            return;
        }
        // Give the device time to settle before opening it; the window is hidden meanwhile.
        host_.WaitMs(kArrivalWaitMs);
        link_.SetState(which, Connection::kConnected);
        if (lib != nullptr) {
            lib->OpenFeatureDevice();  // a failure shows later as refused reports
        }
        pipeline_.RequestFullApply();
        if (!otherConnected) {
            host_.AddTrayIcon();
            host_.StartSwitchTimer();
        }
    } else if (status == 0) {
        if (link_.state(which) == Connection::kRemoved) {
            return;
        }
        link_.SetState(which, Connection::kRemoved);
        if (lib != nullptr) {
            lib->CloseFeatureDevice();
        }
        if (!otherConnected) {
            host_.DeleteTrayIcon();
            host_.StopSwitchTimer();
            host_.HideMainWindow();
        }
    }
}

void ConnectionMonitor::OnEvent(LibraryId, uintptr_t eventClass, intptr_t lParam) {
    const int value = static_cast<int>(lParam & 0xFFFF);
    ProfileRecord& profile = store_.current();
    if (eventClass == kEventDpiStage && value >= 1 && value <= 5) {
        profile.dpiStage = value - 1;
        host_.ShowDpiStage(value - 1);
        host_.SaveSettings(store_.edited());
    } else if (eventClass == kEventReportRate && value >= 1 && value <= 4) {
        profile.reportRate = value - 1;
        host_.ShowReportRate(value - 1);
        host_.SaveSettings(store_.edited());
    }
}

}  // namespace t30
