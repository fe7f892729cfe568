#include "keys/key_conversion.h"

#include <gtest/gtest.h>

#include "keys/key_combination.h"
#include "keys/key_table.h"
#include "layouts.h"

namespace t30 {
namespace {

constexpr int kFails = -1;

struct Case {
    int from;
    int to;  // kFails: no result
};

// kFails for no result, so that a failure prints two numbers.
int Result(std::optional<uint8_t> value) {
    return value ? int(*value) : kFails;
}

void ExpectUsageToVirtualKey(const KeyboardLayout& layout, const Case& c) {
    EXPECT_EQ(Result(UsageToVirtualKey(c.from, layout)), c.to) << std::hex << "usage 0x" << c.from;
}

void ExpectVirtualKeyToUsage(const KeyboardLayout& layout, const Case& c) {
    EXPECT_EQ(Result(VirtualKeyToUsage(c.from, layout)), c.to) << std::hex << "vk 0x" << c.from;
}

TEST(UsageToVirtualKey, UsLayout) {
    const Case cases[] = {
        {0x04, 0x41},   {0x14, 0x51},   {0x27, 0x30},   {0x33, 0xBA},
        {0x45, 0x7B},  // through layout
        {0x46, 0x2C},   {0x5F, 0x67},   {0x5E, 0x66},   {0xE1, 0xA0},
        {0xF1, 0xF1},  // by table
        {0xF7, 0xF7},  // row, no name
        {0x32, kFails}, {0x64, kFails}, {0xF6, kFails}, {0x00, kFails},
        {0x03, kFails}, {0xFF, kFails}, {-4, kFails},   {0x104, kFails},
    };
    for (const Case& c : cases) {
        ExpectUsageToVirtualKey(UsKeyboardLayout(), c);
    }
}

TEST(VirtualKeyToUsage, UsLayout) {
    const Case cases[] = {
        {0x41, 0x04},
        {0x30, 0x27},
        {0xBA, 0x33},
        {0x0D, 0x28},
        {0x7B, 0x45},
        {0xA0, 0xE1},
        {0xA5, 0xE6},
        {0x67, 0x5F},
        {0x66, 0x5E},
        {0xF5, 0xF5},
        {0xF8, 0xF8},
        // No row: the generic modifier keys and keys that have only a name.
        {0x10, kFails},
        {0x11, kFails},
        {0x12, kFails},
        {0x29, kFails},
        {0x2B, kFails},
        {0x0C, kFails},
        {0x00, kFails},
        {-1, kFails},
        {0x141, kFails},
    };
    for (const Case& c : cases) {
        ExpectVirtualKeyToUsage(UsKeyboardLayout(), c);
    }
}

TEST(VirtualKeyToUsage, KeysOutsideTheLayoutDependentRangeNeverAskTheLayout) {
    const CountingLayout layout;
    for (int vk : {0xA0, 0xA3, 0x2C, 0x6C, 0xF1, 0x5B}) {
        EXPECT_TRUE(VirtualKeyToUsage(vk, layout)) << vk;
        EXPECT_TRUE(UsageToVirtualKey(FindKeyByVirtualKey(vk)->usage, layout)) << vk;
    }
    EXPECT_EQ(layout.lookups, 0);
    EXPECT_TRUE(VirtualKeyToUsage(0x41, layout));
    EXPECT_EQ(layout.lookups, 1);
}

// On a French keyboard the stored usage is the key's position, and the name shown is what the
// French layout types there.
TEST(KeyConversion, LayoutThatMovesLetters) {
    const CountingLayout french = FrenchLayout();
    const Case toUsage[] = {
        {0x41, 0x14},  // "A" sits at the US "Q" position
        {0x51, 0x04},  // "Q" at the US "A" position
        {0x5A, 0x1A},  // "Z" at US "W"
        {0x4D, 0x33},  // "M" at US ";"
        {0xBC, 0x10},  // "," at US "M"
        {0x42, 0x05},  // "B" did not move
        // The layout has no key for these: the table's own usage stands (and never the first
        // row without a scan code, Print Screen).
        {0xBD, 0x2D},
        {0xBA, 0x33},
        {0xA0, 0xE1},
    };
    for (const Case& c : toUsage) {
        ExpectVirtualKeyToUsage(french, c);
    }
    const Case toVirtualKey[] = {
        {0x14, 0x41}, {0x04, 0x51}, {0x1A, 0x5A},   {0x33, 0x4D},
        {0x10, 0xBC}, {0x05, 0x42}, {0x2D, kFails},  // nothing sits at that position in this layout
    };
    for (const Case& c : toVirtualKey) {
        ExpectUsageToVirtualKey(french, c);
    }

    // Pressing the key that types "A" stores 0x14 and shows "A"; on a US keyboard the same stored
    // key is "Q".
    const std::optional<uint8_t> stored = VirtualKeyToUsage(0x41, french);
    ASSERT_EQ(stored, std::optional<uint8_t>(0x14));
    EXPECT_EQ(FormatKeyCombination(*stored, kModifierCtrl, french), u"Ctrl+A");
    EXPECT_EQ(FormatKeyCombination(*stored, kModifierCtrl, UsKeyboardLayout()), u"Ctrl+Q");
}

TEST(FormatKeyCombination, PrefixesInFixedOrderThenTheKeyName) {
    struct FormatCase {
        int usage;
        uint8_t bits;
        const char16_t* text;
    };
    const FormatCase cases[] = {
        {0x04, 0x06, u"Shift+Ctrl+A"},
        {0x3A, 0x1F, u"F1"},  // the "key alone" bit hides every prefix
        {0x3A, 0x10, u"Win+F1"},
        {0x3A, 0x01, u"F1"},
        {0x04, 0x1E, u"Shift+Ctrl+Alt+Win+A"},
        {0x04, 0x00, u"A"},
        {0x04, 0xE0, u"A"},  // bits 5-7 have no prefix
        {0x58, 0x08, u"Alt+Num_ "},
        {0xE0, 0x02, u"Shift+L_Ctrl"},
        {0x32, 0x04, u"Ctrl+"},  // usage without a row: no key name
        {0xF7, 0x00, u""},
        {0x00, 0x00, u""},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatKeyCombination(c.usage, c.bits, UsKeyboardLayout()), c.text)
            << std::hex << c.usage << " " << int(c.bits);
    }
}

TEST(ModifierBits, FlagsOfTheShortcutDialog) {
    struct FlagsCase {
        ModifierFlags flags;
        uint8_t bits;
    };
    const FlagsCase cases[] = {
        {{false, false, false, false, false}, 0x00}, {{false, true, true, false, false}, 0x06},
        {{false, true, true, true, true}, 0x1E},     {{true, false, false, false, false}, 0x01},
        {{true, true, true, true, true}, 0x01},  // "key alone" keeps only its own bit
    };
    for (const FlagsCase& c : cases) {
        EXPECT_EQ(ModifierBitsFromFlags(c.flags), c.bits);
    }
    // A stored byte presets the dialog from bits 0-4 only, whatever the byte holds.
    EXPECT_EQ(ModifierFlagsFromBits(0xFF), (ModifierFlags{true, true, true, true, true}));
    EXPECT_EQ(ModifierFlagsFromBits(0xE2), (ModifierFlags{false, true, false, false, false}));
}

}  // namespace
}  // namespace t30
