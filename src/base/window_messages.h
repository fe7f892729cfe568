// Every private window message of the program, in one place so that no number is taken twice.
// The numbers are fixed: the driver libraries, the virtual mouse and the tests send them too.
#pragma once

#include <cstddef>

namespace t30 {

// Controls to their parent.
// wParam the value, lParam the control's id.
constexpr unsigned kMsgSliderValue = 0x446;
constexpr unsigned kMsgSpinValue = 0x45A;
// (0, 0) when the edit field loses the keyboard focus.
constexpr unsigned kMsgEditFocusLost = 0x45C;
// Both kinds of skinned button (CRgnWnd, CBitmapButtonBase): wParam 1 when hovering starts, 0 when
// hovering or pressing ends; lParam the button's notify id.
constexpr unsigned kMsgButtonHover = 0x464;
// wParam the row, lParam the list id.
constexpr unsigned kMsgListNewRowCommitted = 0x5F4;
constexpr unsigned kMsgListRowRenamed = 0x5F6;
// wParam 0, lParam the list id.
constexpr unsigned kMsgListRightButton = 0x6BC;

// A DPI stage window to the button page: wParam kind << 16 | value; lParam window id.
constexpr unsigned kMsgDpiStageChanged = 0x4C9;

// The keyboard hook to its target window: wParam virtual key, lParam kHookKeyReleased or 0.
constexpr unsigned kMsgHookKey = 0x40A;
// The hook procedure to its own line-writing window (WM_APP + 0x40A).
constexpr unsigned kMsgHookKeyLine = 0x8000 + 0x40A;

// To the main window.
constexpr unsigned kMsgTrayIcon = 1036;
constexpr unsigned kMsgShowMainWindow = 1039;  // from a second start of the program
constexpr unsigned kMsgTellUser = 1041;        // shows the warnings waiting in pendingWarnings_
constexpr unsigned kMsgTellDamage = 1042;      // tells what of the installation is missing

constexpr unsigned kMsgSendPassDone = 1258;  // worker to main window

// Driver library notifications: event (class, value) and status (1 arrived, 0 removed).
constexpr unsigned kMsgFirstLibraryEvent = 1325;
constexpr unsigned kMsgFirstLibraryStatus = 1326;
constexpr unsigned kMsgSecondLibraryEvent = 1327;
constexpr unsigned kMsgSecondLibraryStatus = 1328;

namespace window_messages_detail {

constexpr unsigned kAll[] = {
    kMsgSliderValue,
    kMsgSpinValue,
    kMsgEditFocusLost,
    kMsgButtonHover,
    kMsgListNewRowCommitted,
    kMsgListRowRenamed,
    kMsgListRightButton,
    kMsgDpiStageChanged,
    kMsgHookKey,
    kMsgHookKeyLine,
    kMsgTrayIcon,
    kMsgShowMainWindow,
    kMsgTellUser,
    kMsgTellDamage,
    kMsgSendPassDone,
    kMsgFirstLibraryEvent,
    kMsgFirstLibraryStatus,
    kMsgSecondLibraryEvent,
    kMsgSecondLibraryStatus,
};

constexpr bool AllDistinct() {
    constexpr std::size_t count = sizeof(kAll) / sizeof(kAll[0]);
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = i + 1; j < count; ++j) {
            if (kAll[i] == kAll[j]) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace window_messages_detail

// A message added above belongs in kAll too; two messages on one number would reach the wrong
// handler without a word.
static_assert(window_messages_detail::AllDistinct(), "two window messages share a number");

}  // namespace t30
