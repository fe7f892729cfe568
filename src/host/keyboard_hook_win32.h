// The process-wide low-level keyboard hook: every keyboard event of the desktop becomes a posted
// kMsgHookKey to one target window and reaches no other program while the hook is installed.
#pragma once

#include <windows.h>

#include "base/debug_output.h"
#include "base/window_messages.h"
#include "host/keyboard_capture.h"
#include "host/macro_recorder.h"

namespace t30 {

// Installs the hook for all threads of the desktop, routing events to `target`. A hook still
// installed from before is removed first, so there is never more than one. Must be called on a
// thread that keeps retrieving messages.
bool InstallKeyboardHook(HWND target);
// Removes the hook; always returns 1. Writes the success or failure line for the debugger.
int RemoveKeyboardHook();
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

// Where the debugger lines go: the platform's debugger output unless a test watches them
// (null restores it).
void SetHookDebugOutput(DebugOutput* output);

class Win32KeyboardHook final : public KeyboardHookPort {
  public:
    bool install(WindowRef target) override {
        return InstallKeyboardHook(static_cast<HWND>(target));
    }
    void remove() override { RemoveKeyboardHook(); }
};

// The one keyboard capture of the process, over the hook above. The recorder and the shortcut
// dialog both acquire and release through it, never through the hook functions directly.
KeyboardCapture& ProcessKeyboardCapture();

class TickCountClock final : public TickClock {
  public:
    uint32_t NowMs() override { return GetTickCount(); }
};

}  // namespace t30
