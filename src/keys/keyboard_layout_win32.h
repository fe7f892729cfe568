// The keyboard layout the user has active, asked of Windows on every call so that a layout
// switch takes effect at once.
#pragma once

#include "keys/keyboard_layout.h"

namespace t30 {

class Win32KeyboardLayout final : public KeyboardLayout {
  public:
    int VirtualKeyFromScanCode(int scanCode) const override;
    int ScanCodeFromVirtualKey(int virtualKey) const override;
};

// The layout of the calling thread, shared by every caller.
const KeyboardLayout& ActiveKeyboardLayout();

}  // namespace t30
