#include "host/keyboard_capture.h"

namespace t30 {

KeyboardCapture::~KeyboardCapture() {
    if (owner_) {
        port_.remove();
    }
}

bool KeyboardCapture::acquire(CaptureClient& client, WindowRef target) {
    if (owner_ && owner_ != &client) {
        CaptureClient* previous = owner_;
        previous->CaptureTaken();
        if (owner_ == previous) {  // it did not let go itself
            port_.remove();
            owner_ = nullptr;
        }
    } else if (owner_) {
        port_.remove();  // the same owner again: a fresh hook, never a second one
        owner_ = nullptr;
    }
    owner_ = &client;
    return port_.install(target);
}

void KeyboardCapture::release(CaptureClient& client) {
    if (owner_ != &client) {
        return;
    }
    owner_ = nullptr;
    port_.remove();
}

namespace {

std::u16string Hex(uint64_t value) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

}  // namespace

std::u16string HookHandleLine(uint64_t handle) {
    return u"Hhook: " + Hex(handle) + u"\r\n";
}

std::u16string UnhookLine(bool removed) {
    return removed ? u"UnHhook: Success \r\n" : u"UnHhook: Fail \r\n";
}

std::u16string HookKeyLine(uint32_t virtualKey) {
    return Hex(virtualKey) + u"\n";
}

}  // namespace t30
