#include <gtest/gtest.h>

#include <map>

#include "base/fixed_string.h"
#include "macro/macro_library.h"
#include "page_test_support.h"
#include "ui/page_logic/macro_select_state.h"
#include "ui/page_logic/shortcut_dialog_state.h"

namespace t30 {
namespace {

// Only the keys the shortcut tests press: the US layout with A and Q swapped, as on AZERTY.
class SwappedAQLayout : public KeyboardLayout {
  public:
    int VirtualKeyFromScanCode(int scanCode) const override {
        if (scanCode == 0x10) {
            return 0x41;
        }
        if (scanCode == 0x1E) {
            return 0x51;
        }
        return UsKeyboardLayout().VirtualKeyFromScanCode(scanCode);
    }
    int ScanCodeFromVirtualKey(int virtualKey) const override {
        if (virtualKey == 0x41) {
            return 0x10;
        }
        if (virtualKey == 0x51) {
            return 0x1E;
        }
        return UsKeyboardLayout().ScanCodeFromVirtualKey(virtualKey);
    }
};

ButtonSlot SlotWithFirstEvent(uint8_t code, uint8_t key, uint8_t action) {
    ButtonSlot slot{};
    slot.functionType = code;
    slot.eventCount = 1;
    slot.events[0] = {key, action, 0};
    return slot;
}

std::array<bool, 5> Checked(const ShortcutDialogState& s) {
    std::array<bool, 5> out{};
    for (int n = 0; n < 5; ++n) {
        out[static_cast<std::size_t>(n)] = s.CheckButtons()[static_cast<std::size_t>(n)].checked;
    }
    return out;
}

std::array<bool, 5> Enabled(const ShortcutDialogState& s) {
    std::array<bool, 5> out{};
    for (int n = 0; n < 5; ++n) {
        out[static_cast<std::size_t>(n)] = s.CheckButtons()[static_cast<std::size_t>(n)].enabled;
    }
    return out;
}

TEST(ShortcutDialog, PresetFromTheSlot) {
    struct Case {
        const char* what;
        ButtonSlot slot;
        uint8_t usage;
        ModifierFlags flags;
        const char16_t* text;
    };
    const Case cases[] = {
        {"cleared slot", ButtonSlot{}, 0, {}, u""},
        {"combination",
         SlotWithFirstEvent(17, 0x3A, 0x0C),
         0x3A,
         {false, false, true, true, false},
         u"F1"},
        // A macro's first event is taken as it is: a release (2) reads as the Shift flag.
        {"macro",
         SlotWithFirstEvent(18, 0x04, kActionRelease),
         0x04,
         {false, true, false, false, false},
         u"A"},
        {"high bits ignored", SlotWithFirstEvent(17, 0x28, 0xE0), 0x28, {}, u"Enter"},
        {"usage without a key", SlotWithFirstEvent(17, 0x32, 0x00), 0x32, {}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ShortcutDialogState s = ShortcutDialogState::ForSlot(c.slot, UsKeyboardLayout());
        EXPECT_EQ(s.usage(), c.usage);
        EXPECT_EQ(s.flags(), c.flags);
        EXPECT_EQ(s.KeyFieldText(), c.text);
        EXPECT_EQ(Checked(s), c.flags);
        EXPECT_EQ(Enabled(s), (std::array<bool, 5>{true, true, true, true, true}));
    }
}

TEST(ShortcutDialog, TheLastKeyEventWins) {
    ShortcutDialogState s = ShortcutDialogState::ForSlot(ButtonSlot{}, UsKeyboardLayout());
    struct Step {
        int virtualKey;
        uint8_t usage;
        const char16_t* text;
    };
    const Step steps[] = {
        {0x41, 0x04, u"A"},
        {0xA2, 0xE0, u"L_Ctrl"},  // pressing and releasing Ctrl after A leaves Ctrl
        {0x0D, 0x28, u"Enter"},   // Enter is a key like any other here
        {0x29, 0x00, u"Select"},  // no key table row: usage 0, name still shown
        {0x0C, 0x00, u""},
        {0x70, 0x3A, u"F1"},
    };
    for (const Step& step : steps) {
        s.OnKey(step.virtualKey, UsKeyboardLayout());
        EXPECT_EQ(s.usage(), step.usage) << step.virtualKey;
        EXPECT_EQ(s.KeyFieldText(), step.text) << step.virtualKey;
    }
}

TEST(ShortcutDialog, KeysAreStoredByPosition) {
    const SwappedAQLayout layout;
    ShortcutDialogState s = ShortcutDialogState::ForSlot(ButtonSlot{}, layout);
    s.OnKey(0x41, layout);  // the key that types "A" sits where US has "Q"
    EXPECT_EQ(s.usage(), 0x14);
    EXPECT_EQ(s.KeyFieldText(), u"A");
    // Reopened on that usage, the field names the same key.
    EXPECT_EQ(
        ShortcutDialogState::ForSlot(SlotWithFirstEvent(17, 0x14, 0x01), layout).KeyFieldText(),
        u"A");
}

TEST(ShortcutDialog, KeyAloneFlagLocksTheOthers) {
    ShortcutDialogState s =
        ShortcutDialogState::ForSlot(SlotWithFirstEvent(17, 0x04, 0x0A), UsKeyboardLayout());
    EXPECT_EQ(s.ModifierMask(), 0x0A);

    s.OnCheckButton(0, true);
    EXPECT_EQ(Checked(s), (std::array<bool, 5>{true, true, false, true, false}));
    EXPECT_EQ(Enabled(s), (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(s.ModifierMask(), 0x01);

    s.OnCheckButton(2, true);  // disabled: no effect
    EXPECT_EQ(s.flags(), (ModifierFlags{true, true, false, true, false}));

    s.OnCheckButton(0, false);
    EXPECT_EQ(Checked(s), (std::array<bool, 5>{false, true, false, true, false}));
    EXPECT_EQ(Enabled(s), (std::array<bool, 5>{true, true, true, true, true}));
    EXPECT_EQ(s.ModifierMask(), 0x0A);

    s.OnCheckButton(4, true);
    s.OnCheckButton(1, false);
    EXPECT_EQ(s.ModifierMask(), 0x18);
    s.OnCheckButton(7, true);  // no such button
    EXPECT_EQ(s.ModifierMask(), 0x18);
}

TEST(ShortcutDialog, PresetKeyAloneShowsOnlyItsOwnMark) {
    // Bits 0 and 1 from a macro's first event: the fresh buttons 1-4 stay unmarked until flag 0
    // is cleared, then show the flags.
    ShortcutDialogState s =
        ShortcutDialogState::ForSlot(SlotWithFirstEvent(18, 0x04, 0x03), UsKeyboardLayout());
    EXPECT_EQ(Checked(s), (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(Enabled(s), (std::array<bool, 5>{true, false, false, false, false}));
    EXPECT_EQ(s.ModifierMask(), 0x01);
    s.OnCheckButton(0, false);
    EXPECT_EQ(Checked(s), (std::array<bool, 5>{false, true, false, false, false}));
    EXPECT_EQ(s.ModifierMask(), 0x02);
}

TEST(MacroSelect, PresetAndInitialLine) {
    struct Case {
        const char* what;
        uint8_t code;
        int32_t index;
        int32_t runMode;
        std::size_t lines;
        MacroSelection selection;
        int initialLine;
        std::array<bool, 3> runModes;
    };
    const Case cases[] = {
        {"option macro", 50, 2, 1, 3, {2, 1, 1}, 2, {false, true, false}},
        {"macro", 18, 0, 2, 3, {0, 2, 0}, 0, {false, false, true}},
        {"macro deleted since", 18, 5, 0, 3, {5, 0, 0}, -1, {true, false, false}},
        {"empty library", 18, 0, 0, 0, {0, 0, 0}, -1, {true, false, false}},
        {"not a macro", 17, 2, 2, 3, {-1, 0, 0}, -1, {true, false, false}},
        {"cleared slot", 0, 0, 0, 3, {-1, 0, 0}, -1, {true, false, false}},
        {"damaged run mode", 18, 1, 9, 3, {1, 9, 0}, 1, {false, false, false}},
        {"damaged index", 50, -4, 0, 3, {-4, 0, 1}, -1, {true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonSlot slot{};
        slot.functionType = c.code;
        slot.macroIndex = c.index;
        slot.macroRunMode = c.runMode;
        const MacroSelectState s = MacroSelectState::ForSlot(slot);
        EXPECT_EQ(s.selection().chosenIndex, c.selection.chosenIndex);
        EXPECT_EQ(s.selection().runMode, c.selection.runMode);
        EXPECT_EQ(s.selection().optionChecked, c.selection.optionChecked);
        EXPECT_EQ(s.InitialLine(c.lines), c.initialLine);
        EXPECT_EQ(s.RunModeChecks(), c.runModes);
    }
}

TEST(MacroSelect, ChoicesWhileOpen) {
    MacroSelectState s = MacroSelectState::ForSlot(ButtonSlot{});
    s.OnRunModeClicked(1);
    s.OnRunModeClicked(1);  // the checked button stays checked
    EXPECT_EQ(s.RunModeChecks(), (std::array<bool, 3>{false, true, false}));
    s.OnRunModeClicked(3);
    EXPECT_EQ(s.selection().runMode, 1);
    s.OnSelectionChanged(4);
    s.OnOptionClicked(true);
    EXPECT_EQ(s.selection().chosenIndex, 4);
    EXPECT_EQ(s.selection().optionChecked, 1);
    s.OnOptionClicked(false);
    EXPECT_FALSE(s.optionChecked());
}

TEST(MacroSelect, ListShowsTheNamesInLibraryOrder) {
    MacroLibrary library;
    EXPECT_TRUE(MacroSelectState::ListLines(library).empty());
    library.Append(MakeMacro(u"Zeta", 1, 1, 4));
    library.Append(MakeMacro(u"Alpha", 1, 1, 4));
    MacroRecord unterminated = MakeMacro(u"", 1, 1, 4);
    for (char16_t& ch : unterminated.name) {
        ch = u'x';
    }
    library.Append(unterminated);
    const auto lines = MacroSelectState::ListLines(library);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"Zeta");
    EXPECT_EQ(lines[1], u"Alpha");
    EXPECT_EQ(lines[2], std::u16string(kMacroNameLength, u'x'));
}

}  // namespace
}  // namespace t30
