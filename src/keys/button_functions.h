// Every button function the program names, assigns or sends: one row per type code with the menu
// command that assigns it, where the function menu shows it, the language string that labels it
// and, for the built-in shortcuts, the keys sent to the mouse. The function menu, the button
// labels and the button map report are all read from this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "keys/keyboard_layout.h"
#include "profile/profile_record.h"
#include "profile/profile_store.h"
#include "profile/slot_assignment.h"

namespace t30 {

// The value of ButtonSlot::functionType.
using ButtonFunctionType = uint8_t;

// Where the function menu offers a function.
struct FunctionMenuPlace {
    uint16_t submenu;  // 0 = the main list, else the string id of the submenu's title
    uint8_t position;  // 1-based place in that list; 0 = no menu item offers the function
    uint16_t textId;   // string the item shows; 0 = the string of its command id
};

enum class FunctionLabelKind : uint8_t {
    kNone,            // the button shows only its number
    kText,            // the string labelId
    kKeyCombination,  // the slot's own key combination (key_combination.h)
    kMacro,           // the string labelId, "-", then the slot's macro name
};

struct FunctionLabel {
    FunctionLabelKind kind;
    uint16_t stringId;
};

// Modifier byte of a USB HID keyboard report, as the mouse takes it for built-in shortcuts.
enum HidModifier : uint8_t {
    kHidLeftCtrl = 0x01,
    kHidLeftAlt = 0x04,
    kHidLeftWin = 0x08,
};

struct FixedKeys {
    uint8_t modifier;  // HidModifier bits
    uint8_t usage;     // 0 = not a built-in shortcut
};

struct ButtonFunctionInfo {
    ButtonFunctionType code;
    uint16_t commandId;  // 0 = no command assigns it
    FunctionMenuPlace menu;
    FunctionLabel label;
    FixedKeys fixedKeys;
};

constexpr int kFunctionCommandFirst = 1000;  // the function menu's command range
constexpr int kFunctionCommandLast = 2000;
constexpr int kMainMenuItemCount = 16;
constexpr uint16_t kMainMenu = 0;

// String ids of the submenu titles, in the order the submenus follow the main items.
constexpr std::array<uint16_t, 5> kFunctionSubmenus = {1055, 1006, 1015, 1026, 1040};

namespace detail {
constexpr FunctionMenuPlace kNoMenu = {kMainMenu, 0, 0};
constexpr FunctionMenuPlace Main(uint8_t position, uint16_t textId = 0) {
    return {kMainMenu, position, textId};
}
constexpr FunctionMenuPlace Sub(uint16_t submenu, uint8_t position) {
    return {submenu, position, 0};
}
constexpr FunctionLabel kNoLabel = {FunctionLabelKind::kNone, 0};
constexpr FunctionLabel kKeysLabel = {FunctionLabelKind::kKeyCombination, 0};
constexpr FunctionLabel Text(uint16_t id) {
    return {FunctionLabelKind::kText, id};
}
constexpr FunctionLabel Macro(uint16_t id) {
    return {FunctionLabelKind::kMacro, id};
}
// Most functions are labelled with the string of their own command id.
constexpr ButtonFunctionInfo Named(ButtonFunctionType code, uint16_t command,
                                   FunctionMenuPlace menu, FixedKeys keys = {0, 0}) {
    return {code, command, menu, Text(command), keys};
}
}  // namespace detail

inline constexpr ButtonFunctionInfo ButtonFunctionTable[] = {
    // clang-format off
    detail::Named(1, 1058, detail::Main(16)),
    detail::Named(2, 1003, detail::Main(1)),
    detail::Named(3, 1005, detail::Main(2)),
    detail::Named(4, 1004, detail::Main(3)),
    detail::Named(5, 1009, detail::Main(5)),
    detail::Named(6, 1008, detail::Main(4)),
    detail::Named(7, 1052, detail::Main(10)),
    detail::Named(8, 1054, detail::Main(11)),
    detail::Named(9, 1016, detail::Main(6)),
    detail::Named(10, 1017, detail::Main(7)),
    detail::Named(11, 1018, detail::Main(8)),
    detail::Named(12, 1019, detail::Main(9)),
    detail::Named(13, 1104, detail::Sub(1055, 1)),
    detail::Named(14, 1105, detail::Sub(1055, 2)),
    detail::Named(15, 1106, detail::Sub(1055, 3)),
    {16, 0, detail::kNoMenu, detail::kNoLabel, {0, 0}},  // only the mouse knows it
    {17, 1060, detail::Main(12), detail::kKeysLabel, {0, 0}},
    {18, 1049, detail::Main(13, 1143), detail::Macro(1062), {0, 0}},
    detail::Named(21, 1041, detail::Sub(1040, 1)),
    detail::Named(22, 1042, detail::Sub(1040, 2)),
    detail::Named(23, 1043, detail::Sub(1040, 3)),
    detail::Named(24, 1045, detail::Sub(1040, 5)),
    detail::Named(25, 1044, detail::Sub(1040, 4)),
    detail::Named(26, 1046, detail::Sub(1040, 6)),
    detail::Named(27, 1047, detail::Sub(1040, 7)),
    detail::Named(28, 1048, detail::Sub(1040, 8)),
    detail::Named(29, 1078, detail::Sub(1006, 8)),
    detail::Named(30, 1014, detail::Sub(1006, 6)),
    detail::Named(31, 1013, detail::Sub(1006, 5)),
    detail::Named(34, 1010, detail::Sub(1006, 2)),
    detail::Named(35, 1021, detail::Sub(1006, 7)),
    detail::Named(36, 1011, detail::Sub(1006, 3)),
    detail::Named(37, 1007, detail::Sub(1006, 1)),
    detail::Named(38, 1012, detail::Sub(1006, 4)),
    detail::Named(42, 1142, detail::Main(15)),
    // The macro dialog's option turns 18 into 50; no command gives 50 directly.
    {50, 0, detail::kNoMenu, detail::Macro(1148), {0, 0}},
    {51, 1061, detail::Main(14, 1147), detail::Text(1147), {0, 0}},
    detail::Named(52, 1020, detail::Sub(1015, 1), {kHidLeftAlt, 0x2B}),   // Alt+Tab
    detail::Named(54, 1022, detail::Sub(1015, 2), {kHidLeftAlt, 0x3D}),   // Alt+F4
    detail::Named(55, 1023, detail::kNoMenu),
    detail::Named(56, 1024, detail::kNoMenu),
    detail::Named(57, 1025, detail::Sub(1015, 3), {kHidLeftWin, 0x07}),   // Win+D
    detail::Named(64, 1027, detail::Sub(1026, 1), {kHidLeftCtrl, 0x12}),  // Ctrl+O
    detail::Named(65, 1028, detail::Sub(1026, 2), {kHidLeftCtrl, 0x11}),  // Ctrl+N
    detail::Named(66, 1029, detail::Sub(1026, 3), {kHidLeftCtrl, 0x1B}),  // Ctrl+X
    detail::Named(67, 1030, detail::Sub(1026, 4), {kHidLeftCtrl, 0x06}),  // Ctrl+C
    detail::Named(68, 1031, detail::Sub(1026, 5), {kHidLeftCtrl, 0x19}),  // Ctrl+V
    detail::Named(69, 1032, detail::Sub(1026, 6), {kHidLeftCtrl, 0x16}),  // Ctrl+S
    detail::Named(70, 1033, detail::Sub(1026, 7), {kHidLeftCtrl, 0x13}),  // Ctrl+P
    detail::Named(71, 1034, detail::Sub(1026, 8), {kHidLeftCtrl, 0x09}),  // Ctrl+F
    detail::Named(72, 1035, detail::Sub(1026, 9), {kHidLeftCtrl, 0x1C}),  // Ctrl+Y
    detail::Named(73, 1036, detail::kNoMenu),
    detail::Named(74, 1037, detail::kNoMenu),
    detail::Named(75, 1038, detail::kNoMenu),
    detail::Named(76, 1039, detail::Sub(1026, 10), {kHidLeftCtrl, 0x04}), // Ctrl+A
    detail::Named(77, 1053, detail::kNoMenu),
    detail::Named(96, 1056, detail::Sub(1015, 4), {kHidLeftWin, 0x0F}),   // Win+L
    detail::Named(97, 1057, detail::Sub(1015, 5), {kHidLeftWin, 0x15}),   // Win+R
    {100, 1059, detail::kNoMenu, detail::kNoLabel, {0, 0}},
    detail::Named(105, 1109, detail::kNoMenu),
    detail::Named(106, 1110, detail::kNoMenu),
    detail::Named(112, 1108, detail::kNoMenu),
    // 1006 is the title of a submenu; no item sends it.
    {115, 1006, detail::kNoMenu, detail::kNoLabel, {0, 0}},
    // clang-format on
};

// The row of a code; nullptr for codes the program does not know (they have no name).
const ButtonFunctionInfo* FindButtonFunction(int code);

// The string a button's label is made of: the whole label for plain functions, the part before
// "-" and the macro name for macros (18, 50). Empty for codes without a name, including 17,
// whose label is its key combination.
std::optional<uint16_t> ButtonFunctionLabelId(int code);

// The code a function-menu command assigns; every id of 1000-2000 the table does not list gives
// the primary click (2), as does any other id.
ButtonFunctionType ButtonFunctionForCommand(int commandId);

// Modifier byte and usage the mouse sends for a built-in shortcut (52, 54, 57, 64-72, 76, 96, 97).
std::optional<FixedKeys> FixedKeyCombination(int code);

// Bit b set for each button index b (0-23) whose default function is `code`. The defaults
// themselves belong to the profile store.
constexpr uint32_t DefaultIndexMask(int code) {
    uint32_t mask = 0;
    for (int b = 0; b < kButtonSlotCount; ++b) {
        if (DefaultButtonType(b) == code) {
            mask |= uint32_t(1) << b;
        }
    }
    return mask;
}

struct FunctionMenuItem {
    uint16_t commandId;
    uint16_t textId;  // string shown by the item
};

// The items of the main list (kMainMenu) or of one submenu, in menu order.
std::vector<FunctionMenuItem> FunctionMenuItems(uint16_t submenu);

// Looks up a language string by id.
using LanguageText = std::function<std::u16string(uint16_t stringId)>;

// The function part of a button's label (the page puts the button's number before it).
std::u16string ButtonFunctionText(const ButtonSlot& slot, const KeyboardLayout& layout,
                                  const LanguageText& text);

}  // namespace t30
