#include "keys/key_conversion.h"

#include "keys/key_table.h"

namespace t30 {

std::optional<uint8_t> UsageToVirtualKey(int usage, const KeyboardLayout& layout) {
    const KeyRow* row = FindKeyByUsage(usage);
    if (!row) {
        return std::nullopt;
    }
    if (!IsPositionalUsage(usage)) {
        return static_cast<uint8_t>(row->virtualKey);
    }
    const int virtualKey = layout.VirtualKeyFromScanCode(row->scanCode);
    if (virtualKey <= 0 || virtualKey > 0xFF) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(virtualKey);
}

std::optional<uint8_t> VirtualKeyToUsage(int virtualKey, const KeyboardLayout& layout) {
    const KeyRow* row = FindKeyByVirtualKey(virtualKey);
    if (!row) {
        return std::nullopt;
    }
    if (!IsPositionalUsage(row->usage)) {
        return static_cast<uint8_t>(row->usage);
    }
    if (const KeyRow* position = FindKeyByScanCode(layout.ScanCodeFromVirtualKey(virtualKey))) {
        return static_cast<uint8_t>(position->usage);
    }
    return static_cast<uint8_t>(row->usage);
}

}  // namespace t30
