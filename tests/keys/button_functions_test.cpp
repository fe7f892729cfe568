#include "keys/button_functions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/fixed_string.h"
#include "keys/key_combination.h"

namespace t30 {
namespace {

TEST(ButtonFunctionTable, CodesAndCommandsAreListedOnce) {
    std::set<int> codes, commands;
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        EXPECT_TRUE(codes.insert(info.code).second) << int(info.code);
        if (info.commandId != 0) {
            EXPECT_TRUE(commands.insert(info.commandId).second) << info.commandId;
            EXPECT_GE(info.commandId, kFunctionCommandFirst);
            EXPECT_LE(info.commandId, kFunctionCommandLast);
            EXPECT_EQ(ButtonFunctionForCommand(info.commandId), info.code) << info.commandId;
        }
        // A menu item needs a command to send.
        EXPECT_TRUE(info.menu.position == 0 || info.commandId != 0) << int(info.code);
    }
}

TEST(ButtonFunctionForCommand, UnlistedCommandsGiveThePrimaryClick) {
    struct Case {
        int command;
        int code;
    };
    const Case cases[] = {
        {1003, 2},
        {1030, 67},
        {1060, 17},
        {1049, 18},
        {1061, 51},
        {1059, 100},
        {1006, 115},
        {1039, 76},
        {1058, 1},
        {1142, 42},
        // Not commands of the table: string ids that only label or title something, and gaps.
        {1050, 2},
        {1000, 2},
        {2000, 2},
        {1143, 2},
        {1148, 2},
        {1062, 2},
        {1055, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ButtonFunctionForCommand(c.command), c.code) << c.command;
    }
}

TEST(ButtonFunctionLabelId, NamedCodesAndCodesWithoutAName) {
    struct Case {
        int code;
        int label;  // -1: none
    };
    const Case cases[] = {
        {1, 1058},   {3, 1005},   {15, 1106}, {51, 1147}, {67, 1030},
        {105, 1109}, {112, 1108}, {18, 1062}, {50, 1148},  // the part before the macro name
        {16, -1},    {17, -1},    {100, -1},  {115, -1},  {0, -1},
        {19, -1},    {200, -1},   {255, -1},
    };
    for (const Case& c : cases) {
        const std::optional<uint16_t> id = ButtonFunctionLabelId(c.code);
        if (c.label < 0) {
            EXPECT_FALSE(id) << c.code;
        } else {
            EXPECT_EQ(id, std::optional<uint16_t>(uint16_t(c.label))) << c.code;
        }
    }
}

TEST(FunctionMenu, MainListThenFiveSubmenusInOrder) {
    struct Menu {
        uint16_t submenu;
        std::vector<std::pair<int, int>> items;  // command id, text id
    };
    const Menu menus[] = {
        {kMainMenu,
         {{1003, 1003},
          {1005, 1005},
          {1004, 1004},
          {1008, 1008},
          {1009, 1009},
          {1016, 1016},
          {1017, 1017},
          {1018, 1018},
          {1019, 1019},
          {1052, 1052},
          {1054, 1054},
          {1060, 1060},
          {1049, 1143},
          {1061, 1147},
          {1142, 1142},
          {1058, 1058}}},
        {1055, {{1104, 1104}, {1105, 1105}, {1106, 1106}}},
        {1006,
         {{1007, 1007},
          {1010, 1010},
          {1011, 1011},
          {1012, 1012},
          {1013, 1013},
          {1014, 1014},
          {1021, 1021},
          {1078, 1078}}},
        {1015, {{1020, 1020}, {1022, 1022}, {1025, 1025}, {1056, 1056}, {1057, 1057}}},
        {1026,
         {{1027, 1027},
          {1028, 1028},
          {1029, 1029},
          {1030, 1030},
          {1031, 1031},
          {1032, 1032},
          {1033, 1033},
          {1034, 1034},
          {1035, 1035},
          {1039, 1039}}},
        {1040,
         {{1041, 1041},
          {1042, 1042},
          {1043, 1043},
          {1044, 1044},
          {1045, 1045},
          {1046, 1046},
          {1047, 1047},
          {1048, 1048}}},
    };
    std::size_t offered = 0;
    for (const Menu& menu : menus) {
        SCOPED_TRACE(menu.submenu);
        std::vector<std::pair<int, int>> items;
        for (const FunctionMenuItem& item : FunctionMenuItems(menu.submenu)) {
            items.emplace_back(item.commandId, item.textId);
        }
        EXPECT_EQ(items, menu.items);
        offered += items.size();
    }
    EXPECT_EQ(FunctionMenuItems(kMainMenu).size(), std::size_t(kMainMenuItemCount));
    EXPECT_EQ((std::vector<uint16_t>(kFunctionSubmenus.begin(), kFunctionSubmenus.end())),
              (std::vector<uint16_t>{1055, 1006, 1015, 1026, 1040}));

    // Every row placed in a menu is in one of these lists, at a place of its own.
    std::set<std::pair<int, int>> places;
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        if (info.menu.position != 0) {
            EXPECT_TRUE(places.emplace(info.menu.submenu, info.menu.position).second)
                << int(info.code);
        }
    }
    EXPECT_EQ(places.size(), offered);
}

TEST(FixedKeyCombination, BuiltInShortcutsAndNothingElse) {
    struct Case {
        int code;
        uint8_t modifier;
        uint8_t usage;
    };
    const Case cases[] = {
        {52, 0x04, 0x2B}, {54, 0x04, 0x3D}, {57, 0x08, 0x07}, {96, 0x08, 0x0F}, {97, 0x08, 0x15},
        {64, 0x01, 0x12}, {65, 0x01, 0x11}, {66, 0x01, 0x1B}, {67, 0x01, 0x06}, {68, 0x01, 0x19},
        {69, 0x01, 0x16}, {70, 0x01, 0x13}, {71, 0x01, 0x09}, {72, 0x01, 0x1C}, {76, 0x01, 0x04},
    };
    int shortcuts = 0;
    for (const ButtonFunctionInfo& info : ButtonFunctionTable) {
        shortcuts += FixedKeyCombination(info.code).has_value();
    }
    EXPECT_EQ(shortcuts, int(std::size(cases)));
    for (const Case& c : cases) {
        const std::optional<FixedKeys> keys = FixedKeyCombination(c.code);
        ASSERT_TRUE(keys) << c.code;
        EXPECT_EQ(keys->modifier, c.modifier) << c.code;
        EXPECT_EQ(keys->usage, c.usage) << c.code;
    }
    for (int code : {17, 18, 50, 2, 55, 73, 0, 200}) {
        EXPECT_FALSE(FixedKeyCombination(code)) << code;
    }
}

TEST(DefaultIndexMask, EachIndexHasOneNamedMenuFunction) {
    struct Case {
        int code;
        std::vector<int> indexes;
    };
    const Case cases[] = {
        {1, {5, 17}},  {2, {0, 12}},  {3, {1, 13}},  {4, {2, 14}},   {5, {3, 15}},
        {6, {4, 16}},  {7, {8, 20}},  {9, {10, 22}}, {10, {11, 23}}, {14, {6, 18}},
        {15, {7, 19}}, {42, {9, 21}}, {8, {}},       {17, {}},       {0, {}},
    };
    for (const Case& c : cases) {
        uint32_t mask = 0;
        for (int b : c.indexes) {
            mask |= 1u << b;
        }
        EXPECT_EQ(DefaultIndexMask(c.code), mask) << c.code;
    }
    // Restoring the defaults must give every button a function the page can name and the menu
    // can give back.
    for (int b = 0; b < kButtonSlotCount; ++b) {
        const ButtonFunctionInfo* info = FindButtonFunction(DefaultButtonType(b));
        ASSERT_NE(info, nullptr) << b;
        EXPECT_EQ(info->label.kind, FunctionLabelKind::kText) << b;
        EXPECT_NE(info->menu.position, 0) << b;
    }
}

class ButtonFunctionTextTest : public ::testing::Test {
  protected:
    // Stands in for the language library: "<id>".
    const LanguageText text_ = [](uint16_t id) { return Widen("<" + std::to_string(id) + ">"); };

    std::u16string TextOf(const ButtonSlot& slot) const {
        return ButtonFunctionText(slot, UsKeyboardLayout(), text_);
    }
    static ButtonSlot Slot(uint8_t code) {
        ButtonSlot slot{};
        slot.functionType = code;
        return slot;
    }
};

TEST_F(ButtonFunctionTextTest, ByKindOfLabel) {
    ButtonSlot macro = Slot(kFunctionMacro);
    SetFixed(macro.macroName, u"Jump");
    ButtonSlot macroOption = macro;
    macroOption.functionType = kFunctionMacroOption;
    ButtonSlot keys = Slot(kFunctionKeyCombination);
    keys.eventCount = 1;
    keys.events[0] = {0x06, kModifierCtrl, 0};
    ButtonSlot keysUnset = keys;
    keysUnset.eventCount = 0;

    EXPECT_EQ(TextOf(Slot(3)), u"<1005>");
    EXPECT_EQ(TextOf(Slot(51)), u"<1147>");
    EXPECT_EQ(TextOf(macro), u"<1062>-Jump");
    EXPECT_EQ(TextOf(macroOption), u"<1148>-Jump");
    EXPECT_EQ(TextOf(keys), u"Ctrl+C");
    EXPECT_EQ(TextOf(keysUnset), u"");
    for (uint8_t unnamed : {16, 100, 115, 200, 0}) {
        EXPECT_EQ(TextOf(Slot(unnamed)), u"") << int(unnamed);
    }
}

TEST_F(ButtonFunctionTextTest, MacroNameWithoutTerminatorStopsAtTheArray) {
    // A damaged file can fill the whole name; the label must not run into the next field.
    ButtonSlot slot = Slot(kFunctionMacro);
    for (char16_t& c : slot.macroName) {
        c = u'x';
    }
    slot.macroRepeat = 0x00410041;
    EXPECT_EQ(TextOf(slot), u"<1062>-" + std::u16string(24, u'x'));
}

}  // namespace
}  // namespace t30
