// The keyboard layout as the key conversions need it: which virtual key sits on a key position
// and where a virtual key sits. On Windows this is the thread's active layout
// (keyboard_layout_win32.h); elsewhere, and in tests, a fixed layout stands in.
#pragma once

namespace t30 {

class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;

    // Virtual key of the key at a set-1 scan code, left and right modifier keys told apart;
    // 0 when the layout has no key there.
    virtual int VirtualKeyFromScanCode(int scanCode) const = 0;
    // Set-1 scan code of the key that produces a virtual key; 0 when no key does.
    virtual int ScanCodeFromVirtualKey(int virtualKey) const = 0;
};

// The US layout, as recorded in the key table's scan codes.
const KeyboardLayout& UsKeyboardLayout();

}  // namespace t30
