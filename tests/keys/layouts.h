// Keyboard layouts for tests: the US one from the library, and a French-style one that moves
// letters and punctuation to other positions. Both count how often they are asked.
#pragma once

#include <map>
#include <utility>

#include "keys/keyboard_layout.h"

namespace t30 {

class CountingLayout : public KeyboardLayout {
  public:
    // Positions that differ from US: scan code -> virtual key. A virtual key of 0 leaves the
    // position empty.
    explicit CountingLayout(std::map<int, int> moved = {}) : moved_(std::move(moved)) {}

    int VirtualKeyFromScanCode(int scanCode) const override {
        ++lookups;
        auto it = moved_.find(scanCode);
        if (it != moved_.end()) {
            return it->second;
        }
        return UsKeyboardLayout().VirtualKeyFromScanCode(scanCode);
    }
    int ScanCodeFromVirtualKey(int virtualKey) const override {
        ++lookups;
        for (const auto& [scan, vk] : moved_) {
            if (vk == virtualKey) {
                return scan;
            }
        }
        const int usScan = UsKeyboardLayout().ScanCodeFromVirtualKey(virtualKey);
        // A key that moved away from its US position is not found there any more.
        return moved_.count(usScan) ? 0 : usScan;
    }

    mutable int lookups = 0;

  private:
    std::map<int, int> moved_;
};

// The moves of a French AZERTY keyboard that matter here: A/Q and Z/W swap, M sits where US has
// ";", and "," where US has M. It has no key for VK_OEM_MINUS (0xBD) and none at the US "-"
// position (0x0C) in this simplified form.
inline CountingLayout FrenchLayout() {
    return CountingLayout({{0x10, 0x41},  // A
                           {0x1E, 0x51},  // Q
                           {0x11, 0x5A},  // Z
                           {0x2C, 0x57},  // W
                           {0x27, 0x4D},  // M
                           {0x32, 0xBC},  // ,
                           {0x0C, 0x00}});
}

}  // namespace t30
