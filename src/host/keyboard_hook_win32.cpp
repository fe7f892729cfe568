#include "host/keyboard_hook_win32.h"

#include <string>

namespace t30 {
namespace {

// Touched only on the user-interface thread that installs the hook; the hook procedure runs on
// that same thread.
HHOOK g_hook = nullptr;
HWND g_target = nullptr;
DebugOutput* g_debug = nullptr;

void DebugLine(const std::u16string& line) {
    (g_debug ? *g_debug : PlatformDebugOutput()).Write(line);
}

uint64_t HandleValue(HHOOK hook) {
    return uint64_t(reinterpret_cast<uintptr_t>(hook));
}

}  // namespace

void SetHookDebugOutput(DebugOutput* output) {
    g_debug = output;
}

bool InstallKeyboardHook(HWND target) {
    if (g_hook) {
        // A forgotten hook would keep swallowing the keyboard after its owner is gone.
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    g_target = target;
    g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleW(nullptr), 0);
    DebugLine(HookHandleLine(HandleValue(g_hook)));
    return g_hook != nullptr;
}

int RemoveKeyboardHook() {
    DebugLine(HookHandleLine(HandleValue(g_hook)));
    const bool removed = g_hook != nullptr && UnhookWindowsHookEx(g_hook) != FALSE;
    if (removed) {
        // Forgotten so that a second removal reports failure instead of unhooking a handle the
        // system may have given to a later hook.
        g_hook = nullptr;
    }
    DebugLine(UnhookLine(removed));
    return 1;
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0) {
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    DebugLine(HookKeyLine(event->vkCode));
    // When the target is gone (or its queue is full) the event goes on as usual: a hook that
    // outlived its window must not take the keyboard away for good.
    if (!g_target || !PostMessageW(g_target, WM_HOOK_KEY, event->vkCode, event->flags & LLKHF_UP)) {
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    return 1;
}

KeyboardCapture& ProcessKeyboardCapture() {
    // Never destroyed: at exit the debugger output it would write to may already be gone, and the
    // system removes a process's hooks when it ends anyway.
    static Win32KeyboardHook* const hook = new Win32KeyboardHook;
    static KeyboardCapture* const capture = new KeyboardCapture(*hook);
    return *capture;
}

}  // namespace t30
