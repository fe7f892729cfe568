#include "host/keyboard_hook_win32.h"

#include <string>

#include "base/window_messages.h"

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

// The debugger line of each key is written from the message loop, never inside the hook
// procedure: writing to a debugger (or to a slow debug-output viewer) can block for seconds, and
// the system skips a low-level hook that overruns its timeout and, after a few overruns, removes
// it without a word. So the procedure only posts, here and to the target.
LRESULT CALLBACK KeyLineProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgHookKeyLine) {
        DebugLine(HookKeyLine(static_cast<uint32_t>(wParam)));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A message-only window on the hook's thread, made with the first hook and kept for the life of
// the process: lines of keys still queued when a hook is removed are written all the same.
class KeyLineWindow {
  public:
    HWND Get() {
        if (hwnd_ == nullptr) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = KeyLineProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"T30 Hook Key Lines";
            RegisterClassW(&wc);
            hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    wc.hInstance, nullptr);
        }
        return hwnd_;
    }
    ~KeyLineWindow() {
        if (hwnd_ != nullptr) {
            DestroyWindow(hwnd_);
        }
    }

  private:
    HWND hwnd_ = nullptr;
};

KeyLineWindow g_keyLines;
HWND g_keyLineWindow = nullptr;

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
    g_keyLineWindow = g_keyLines.Get();
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
    if (g_keyLineWindow != nullptr) {
        PostMessageW(g_keyLineWindow, kMsgHookKeyLine, event->vkCode, 0);
    }
    // When the target is gone (or its queue is full) the event goes on as usual: a hook that
    // outlived its window must not take the keyboard away for good.
    if (!g_target || !PostMessageW(g_target, kMsgHookKey, event->vkCode, event->flags & LLKHF_UP)) {
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
