#include "keys/keyboard_layout.h"

#include "keys/key_table.h"

namespace t30 {
namespace {

// The key table's scan codes are the US positions, so it is the whole description of the layout
// for the keys whose meaning depends on one.
class UsLayout final : public KeyboardLayout {
  public:
    int VirtualKeyFromScanCode(int scanCode) const override {
        const KeyRow* row = FindKeyByScanCode(scanCode);
        return row ? row->virtualKey : 0;
    }
    int ScanCodeFromVirtualKey(int virtualKey) const override {
        const KeyRow* row = FindKeyByVirtualKey(virtualKey);
        return row ? row->scanCode : 0;
    }
};

}  // namespace

const KeyboardLayout& UsKeyboardLayout() {
    static const UsLayout layout;
    return layout;
}

}  // namespace t30
