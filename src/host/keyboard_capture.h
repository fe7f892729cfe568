// The process has one low-level keyboard hook, and two users want it: the macro recorder and the
// shortcut dialog. KeyboardCapture hands it to one owner at a time. A new owner takes it from the
// current one, which is told first (the recorder ends its recording and saves it), so a hook is
// never left installed once its owners are done and never stacked on another hook.
#pragma once

#include <cstdint>
#include <string>

#include "base/window_messages.h"

namespace t30 {

constexpr uint32_t kHookKeyReleased = 0x80;

// A platform window handle, opaque to the portable code.
using WindowRef = void*;

// The platform's hook. install() replaces nothing: KeyboardCapture removes before it installs.
class KeyboardHookPort {
  public:
    virtual ~KeyboardHookPort() = default;
    virtual bool install(WindowRef target) = 0;
    virtual void remove() = 0;
};

class CaptureClient {
  public:
    virtual ~CaptureClient() = default;
    // Another user is taking the keyboard. The client finishes what it was doing; it may call
    // KeyboardCapture::release() from here, and loses the hook afterwards in any case.
    virtual void CaptureTaken() = 0;
};

class KeyboardCapture {
  public:
    explicit KeyboardCapture(KeyboardHookPort& port) : port_(port) {}
    ~KeyboardCapture();
    KeyboardCapture(const KeyboardCapture&) = delete;
    KeyboardCapture& operator=(const KeyboardCapture&) = delete;

    // Makes `client` the owner and routes every keyboard event to `target`. A different current
    // owner is told and loses the hook first. Returns whether the platform installed the hook;
    // the client owns the capture either way, so its release still balances.
    bool acquire(CaptureClient& client, WindowRef target);
    // Removes the hook when `client` owns it; does nothing for anyone else, so a late release
    // can never take the hook from its next owner.
    void release(CaptureClient& client);

    bool owns(const CaptureClient& client) const { return owner_ == &client; }
    bool held() const { return owner_ != nullptr; }

  private:
    KeyboardHookPort& port_;
    CaptureClient* owner_ = nullptr;
};

// The hook's debugger lines, formatted once for every platform: "Hhook: %x\r\n",
// "UnHhook: Success \r\n" / "UnHhook: Fail \r\n" and "%x\n" for each key.
std::u16string HookHandleLine(uint64_t handle);
std::u16string UnhookLine(bool removed);
std::u16string HookKeyLine(uint32_t virtualKey);

}  // namespace t30
