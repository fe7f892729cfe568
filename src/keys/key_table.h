// The keys the program knows: each key's device usage code, Windows virtual key and US scan code,
// and the short name shown for it. Profiles, macros and device reports carry usage codes; the
// keyboard hook delivers virtual keys; the scan code ties a usage to a key position so that the
// user's keyboard layout decides which character is shown there (see key_conversion.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace t30 {

struct KeyRow {
    int32_t usage;       // HID keyboard usage, or the program's own 0xF1..0xF8
    int32_t virtualKey;  // Windows virtual key (equal to the usage for 0xF1..0xF8)
    int32_t scanCode;    // set-1 make code of the key on a US keyboard; 0 = not layout-dependent
    const char* name;    // short display name of the virtual key
};

constexpr std::size_t kKeyTableRows = 111;

// Lookups take the first matching row, so the order is part of the table (keypad 7 stands before
// keypad 6 on purpose). Usages 0x32, 0x64 and 0xF6 have no row.
inline constexpr std::array<KeyRow, kKeyTableRows> KeyTable = {{
    {0x04, 0x41, 0x1E, "A"},             // 0
    {0x05, 0x42, 0x30, "B"},             // 1
    {0x06, 0x43, 0x2E, "C"},             // 2
    {0x07, 0x44, 0x20, "D"},             // 3
    {0x08, 0x45, 0x12, "E"},             // 4
    {0x09, 0x46, 0x21, "F"},             // 5
    {0x0A, 0x47, 0x22, "G"},             // 6
    {0x0B, 0x48, 0x23, "H"},             // 7
    {0x0C, 0x49, 0x17, "I"},             // 8
    {0x0D, 0x4A, 0x24, "J"},             // 9
    {0x0E, 0x4B, 0x25, "K"},             // 10
    {0x0F, 0x4C, 0x26, "L"},             // 11
    {0x10, 0x4D, 0x32, "M"},             // 12
    {0x11, 0x4E, 0x31, "N"},             // 13
    {0x12, 0x4F, 0x18, "O"},             // 14
    {0x13, 0x50, 0x19, "P"},             // 15
    {0x14, 0x51, 0x10, "Q"},             // 16
    {0x15, 0x52, 0x13, "R"},             // 17
    {0x16, 0x53, 0x1F, "S"},             // 18
    {0x17, 0x54, 0x14, "T"},             // 19
    {0x18, 0x55, 0x16, "U"},             // 20
    {0x19, 0x56, 0x2F, "V"},             // 21
    {0x1A, 0x57, 0x11, "W"},             // 22
    {0x1B, 0x58, 0x2D, "X"},             // 23
    {0x1C, 0x59, 0x15, "Y"},             // 24
    {0x1D, 0x5A, 0x2C, "Z"},             // 25
    {0x1E, 0x31, 0x02, "1"},             // 26
    {0x1F, 0x32, 0x03, "2"},             // 27
    {0x20, 0x33, 0x04, "3"},             // 28
    {0x21, 0x34, 0x05, "4"},             // 29
    {0x22, 0x35, 0x06, "5"},             // 30
    {0x23, 0x36, 0x07, "6"},             // 31
    {0x24, 0x37, 0x08, "7"},             // 32
    {0x25, 0x38, 0x09, "8"},             // 33
    {0x26, 0x39, 0x0A, "9"},             // 34
    {0x27, 0x30, 0x0B, "0"},             // 35
    {0x28, 0x0D, 0x1C, "Enter"},         // 36
    {0x29, 0x1B, 0x01, "Esc"},           // 37
    {0x2A, 0x08, 0x0E, "BkSpac"},        // 38
    {0x2B, 0x09, 0x0F, "Tab"},           // 39
    {0x2C, 0x20, 0x39, "Space"},         // 40
    {0x2D, 0xBD, 0x0C, "-"},             // 41
    {0x2E, 0xBB, 0x0D, "="},             // 42
    {0x2F, 0xDB, 0x1A, "["},             // 43
    {0x30, 0xDD, 0x1B, "]"},             // 44
    {0x31, 0xDC, 0x2B, "\\"},            // 45
    {0x33, 0xBA, 0x27, ";"},             // 46
    {0x34, 0xDE, 0x28, "'"},             // 47
    {0x35, 0xC0, 0x29, "`"},             // 48
    {0x36, 0xBC, 0x33, ","},             // 49
    {0x37, 0xBE, 0x34, "."},             // 50
    {0x38, 0xBF, 0x35, "/"},             // 51
    {0x39, 0x14, 0x3A, "CapsLk"},        // 52
    {0x3A, 0x70, 0x3B, "F1"},            // 53
    {0x3B, 0x71, 0x3C, "F2"},            // 54
    {0x3C, 0x72, 0x3D, "F3"},            // 55
    {0x3D, 0x73, 0x3E, "F4"},            // 56
    {0x3E, 0x74, 0x3F, "F5"},            // 57
    {0x3F, 0x75, 0x40, "F6"},            // 58
    {0x40, 0x76, 0x41, "F7"},            // 59
    {0x41, 0x77, 0x42, "F8"},            // 60
    {0x42, 0x78, 0x43, "F9"},            // 61
    {0x43, 0x79, 0x44, "F10"},           // 62
    {0x44, 0x7A, 0x57, "F11"},           // 63
    {0x45, 0x7B, 0x58, "F12"},           // 64
    {0x46, 0x2C, 0x00, "PrtSc"},         // 65
    {0x47, 0x91, 0x00, "ScrLk"},         // 66
    {0x48, 0x13, 0x00, "Pause"},         // 67
    {0x49, 0x2D, 0x00, "Insert"},        // 68
    {0x4A, 0x24, 0x00, "Home"},          // 69
    {0x4B, 0x21, 0x00, "PgUp"},          // 70
    {0x4C, 0x2E, 0x00, "Delete"},        // 71
    {0x4D, 0x23, 0x00, "End"},           // 72
    {0x4E, 0x22, 0x00, "PgDn"},          // 73
    {0x4F, 0x27, 0x00, "Right"},         // 74
    {0x50, 0x25, 0x00, "Left"},          // 75
    {0x51, 0x28, 0x00, "Down"},          // 76
    {0x52, 0x26, 0x00, "Up"},            // 77
    {0x53, 0x90, 0x00, "NmLk"},          // 78
    {0x54, 0x6F, 0x00, "Num_/"},         // 79
    {0x55, 0x6A, 0x00, "Num_*"},         // 80
    {0x56, 0x6D, 0x00, "Num_-"},         // 81
    {0x57, 0x6B, 0x00, "Num_+"},         // 82
    {0x58, 0x6C, 0x00, "Num_ "},         // 83
    {0x59, 0x61, 0x00, "Num_1"},         // 84
    {0x5A, 0x62, 0x00, "Num_2"},         // 85
    {0x5B, 0x63, 0x00, "Num_3"},         // 86
    {0x5C, 0x64, 0x00, "Num_4"},         // 87
    {0x5D, 0x65, 0x00, "Num_5"},         // 88
    {0x5F, 0x67, 0x00, "Num_7"},         // 89
    {0x5E, 0x66, 0x00, "Num_6"},         // 90
    {0x60, 0x68, 0x00, "Num_8"},         // 91
    {0x61, 0x69, 0x00, "Num_9"},         // 92
    {0x62, 0x60, 0x00, "Num_0"},         // 93
    {0x63, 0x6E, 0x00, "Num_."},         // 94
    {0x65, 0x5D, 0x00, "APP"},           // 95
    {0xE0, 0xA2, 0x00, "L_Ctrl"},        // 96
    {0xE1, 0xA0, 0x00, "L_Shift"},       // 97
    {0xE2, 0xA4, 0x00, "L_Alt"},         // 98
    {0xE3, 0x5B, 0x00, "L_WIN"},         // 99
    {0xE4, 0xA3, 0x00, "R_Ctrl"},        // 100
    {0xE5, 0xA1, 0x00, "R_Shift"},       // 101
    {0xE6, 0xA5, 0x00, "R_Alt"},         // 102
    {0xE7, 0x5C, 0x00, "R_WIN"},         // 103
    {0xF1, 0xF1, 0x00, "Left Button"},   // 104
    {0xF2, 0xF2, 0x00, "Right Button"},  // 105
    {0xF3, 0xF3, 0x00, "Wheel"},         // 106
    {0xF4, 0xF4, 0x00, "Backward"},      // 107
    {0xF5, 0xF5, 0x00, "Forward"},       // 108
    {0xF7, 0xF7, 0x00, ""},              // 109
    {0xF8, 0xF8, 0x00, ""},              // 110
}};

// Mouse buttons inside macros use the program's own codes.
enum MouseUsage : uint8_t {
    kUsageMouseLeft = 0xF1,
    kUsageMouseRight = 0xF2,
    kUsageMouseWheel = 0xF3,
    kUsageMouseBackward = 0xF4,
    kUsageMouseForward = 0xF5,
};

// Usages whose meaning is a key position: their rows carry a scan code, and the conversions pass
// them through the keyboard layout.
constexpr int kFirstPositionalUsage = 0x04;
constexpr int kLastPositionalUsage = 0x45;
constexpr bool IsPositionalUsage(int usage) {
    return usage >= kFirstPositionalUsage && usage <= kLastPositionalUsage;
}

constexpr std::size_t kVirtualKeyCount = 256;

namespace detail {
constexpr std::array<const char*, kVirtualKeyCount> BuildKeyNameTable() {
    std::array<const char*, kVirtualKeyCount> names{};
    for (const char*& name : names) {
        name = "";
    }
    for (std::size_t i = kKeyTableRows; i-- > 0;) {  // backwards, so the first row wins
        names[static_cast<std::size_t>(KeyTable[i].virtualKey)] = KeyTable[i].name;
    }
    // Keys with a name but no row: they can be shown, never stored.
    names[0x29] = "Select";
    names[0x2B] = "Execute";
    names[0x2F] = "Help";
    return names;
}
}  // namespace detail

// Display name of every virtual key; "" for keys without one.
inline constexpr std::array<const char*, kVirtualKeyCount> KeyNameTable =
    detail::BuildKeyNameTable();

// First row whose usage, virtual key or (non-zero) scan code matches; nullptr when none does.
const KeyRow* FindKeyByUsage(int usage);
const KeyRow* FindKeyByVirtualKey(int virtualKey);
const KeyRow* FindKeyByScanCode(int scanCode);

// The name table entry as a wide string; empty for keys without a name and for values that are
// not virtual keys at all.
std::u16string GetKeyName(int virtualKey);

}  // namespace t30
