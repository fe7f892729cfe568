// Message ids shared between the main window, the apply worker and the driver libraries.
#pragma once

namespace t30 {

constexpr unsigned kMsgSendPass = 1649;      // to the worker thread: wParam 1 = one send pass
constexpr unsigned kMsgSendPassDone = 1258;  // worker to main window

// Driver library notifications: event (class, value) and status (1 arrived, 0 removed).
constexpr unsigned kMsgFirstLibraryEvent = 1325;
constexpr unsigned kMsgFirstLibraryStatus = 1326;
constexpr unsigned kMsgSecondLibraryEvent = 1327;
constexpr unsigned kMsgSecondLibraryStatus = 1328;

}  // namespace t30
