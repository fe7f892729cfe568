#include "keys/keyboard_layout_win32.h"

#include <gtest/gtest.h>

#include "keys/key_conversion.h"
#include "keys/key_table.h"

namespace t30 {
namespace {

// The test session runs with a US keyboard.
TEST(ActiveKeyboardLayout, ConvertsThroughTheSessionsUsLayout) {
    const KeyboardLayout& layout = ActiveKeyboardLayout();
    EXPECT_EQ(VirtualKeyToUsage(0x41, layout), std::optional<uint8_t>(0x04));
    EXPECT_EQ(UsageToVirtualKey(0x04, layout), std::optional<uint8_t>(0x41));
    EXPECT_EQ(VirtualKeyToUsage(0x10, layout), std::nullopt);
    EXPECT_EQ(VirtualKeyToUsage(0xA0, layout), std::optional<uint8_t>(0xE1));
}

TEST(ActiveKeyboardLayout, AgreesWithTheKeyTablesUsPositions) {
    const KeyboardLayout& layout = ActiveKeyboardLayout();
    for (const KeyRow& row : KeyTable) {
        if (row.scanCode == 0) {
            continue;
        }
        EXPECT_EQ(layout.VirtualKeyFromScanCode(row.scanCode), row.virtualKey)
            << std::hex << "scan 0x" << row.scanCode;
        EXPECT_EQ(layout.ScanCodeFromVirtualKey(row.virtualKey), row.scanCode)
            << std::hex << "vk 0x" << row.virtualKey;
    }
    // Left and right modifier keys are told apart.
    EXPECT_EQ(layout.VirtualKeyFromScanCode(0x2A), 0xA0);
    EXPECT_EQ(layout.VirtualKeyFromScanCode(0x36), 0xA1);
    EXPECT_EQ(layout.VirtualKeyFromScanCode(0), 0);
}

}  // namespace
}  // namespace t30
