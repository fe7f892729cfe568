#include "keys/keyboard_layout_win32.h"

#include <windows.h>

namespace t30 {

int Win32KeyboardLayout::VirtualKeyFromScanCode(int scanCode) const {
    if (scanCode <= 0) {
        return 0;
    }
    return static_cast<int>(MapVirtualKeyW(static_cast<UINT>(scanCode), MAPVK_VSC_TO_VK_EX));
}

int Win32KeyboardLayout::ScanCodeFromVirtualKey(int virtualKey) const {
    if (virtualKey <= 0) {
        return 0;
    }
    return static_cast<int>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
}

const KeyboardLayout& ActiveKeyboardLayout() {
    static const Win32KeyboardLayout layout;
    return layout;
}

}  // namespace t30
