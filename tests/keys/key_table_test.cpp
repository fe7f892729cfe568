#include "keys/key_table.h"

#include <gtest/gtest.h>

#include <set>

namespace t30 {
namespace {

TEST(KeyTable, LayoutDependentRowsAreExactlyThoseWithScanCodes) {
    // Rows 0-64 carry the positional usages 0x04-0x45 and a scan code; none after them does.
    for (std::size_t i = 0; i < KeyTable.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(IsPositionalUsage(KeyTable[i].usage), i <= 64);
        EXPECT_EQ(KeyTable[i].scanCode != 0, i <= 64);
    }
}

TEST(KeyTable, UsagesVirtualKeysAndScanCodesAreEachListedOnce) {
    // A repeated value would make "first matching row" hide a row; a repeated scan code would
    // make two usages share one key position.
    std::set<int> usages, keys, scans;
    for (const KeyRow& row : KeyTable) {
        EXPECT_TRUE(usages.insert(row.usage).second) << row.usage;
        EXPECT_TRUE(keys.insert(row.virtualKey).second) << row.virtualKey;
        EXPECT_TRUE(row.scanCode == 0 || scans.insert(row.scanCode).second) << row.scanCode;
        EXPECT_TRUE(row.virtualKey > 0 && row.virtualKey < 0xFF) << row.virtualKey;
    }
    for (int missing : {0x32, 0x64, 0xF6}) {
        EXPECT_EQ(FindKeyByUsage(missing), nullptr) << missing;
    }
}

TEST(KeyTable, KeypadSevenStandsBeforeKeypadSix) {
    EXPECT_EQ(KeyTable[89].usage, 0x5F);
    EXPECT_EQ(KeyTable[89].virtualKey, 0x67);
    EXPECT_EQ(KeyTable[90].usage, 0x5E);
    EXPECT_EQ(KeyTable[90].virtualKey, 0x66);
    EXPECT_EQ(FindKeyByUsage(0x5E), &KeyTable[90]);
}

TEST(KeyTable, ScanCodeZeroFindsNoRow) {
    // Zero is "no key" to a layout, not Print Screen's missing scan code.
    EXPECT_EQ(FindKeyByScanCode(0), nullptr);
    EXPECT_EQ(FindKeyByScanCode(0x10), &KeyTable[16]);
    EXPECT_EQ(FindKeyByScanCode(0x56), nullptr);
}

TEST(GetKeyName, NamesByVirtualKey) {
    struct Case {
        int virtualKey;
        const char16_t* name;
    };
    const Case cases[] = {
        {0x41, u"A"},
        {0x31, u"1"},
        {0x0D, u"Enter"},
        {0x08, u"BkSpac"},
        {0xDC, u"\\"},
        {0x6C, u"Num_ "},
        {0x67, u"Num_7"},
        {0x66, u"Num_6"},
        {0xA2, u"L_Ctrl"},
        {0x5C, u"R_WIN"},
        {0xF1, u"Left Button"},
        {0xF5, u"Forward"},
        {0x29, u"Select"},
        {0x2B, u"Execute"},
        {0x2F, u"Help"},
        // No name: keys without a row, the two unnamed rows, and values that are no key at all.
        {0x0C, u""},
        {0x10, u""},
        {0xF7, u""},
        {0xF8, u""},
        {0x00, u""},
        {-1, u""},
        {0x100, u""},
        {0x141, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetKeyName(c.virtualKey), c.name) << std::hex << c.virtualKey;
    }
}

TEST(KeyNameTable, HoldsTheRowsNamesPlusThreeAndNothingElse) {
    int named = 0;
    for (std::size_t vk = 0; vk < KeyNameTable.size(); ++vk) {
        const KeyRow* row = FindKeyByVirtualKey(static_cast<int>(vk));
        if (row) {
            EXPECT_STREQ(KeyNameTable[vk], row->name) << vk;
        }
        named += KeyNameTable[vk][0] != '\0';
    }
    EXPECT_EQ(named, 109 + 3);  // 111 rows, two of them unnamed, plus Select, Execute, Help
}

}  // namespace
}  // namespace t30
