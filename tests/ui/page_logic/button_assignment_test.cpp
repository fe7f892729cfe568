#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "base/fixed_string.h"
#include "macro/macro_library.h"
#include "page_test_support.h"
#include "profile/profile_store.h"
#include "ui/page_logic/button_page_logic.h"

namespace t30 {
namespace {

bool SameBlock(const ProfileBlock& a, const ProfileBlock& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A slot that holds a macro, so what an assignment clears and keeps shows.
void FillMacroSlot(ButtonSlot& slot, uint8_t code) {
    const MacroRecord macro = MakeMacro(u"Old", 5, 7, 0x20);
    slot.functionType = code;
    SetFixed(slot.macroName, u"Old");
    slot.macroRepeat = 7;
    slot.macroIndex = 2;
    slot.macroRunMode = 1;
    slot.eventCount = 5;
    std::memcpy(slot.events, macro.events, sizeof slot.events);
}

class ButtonAssignment : public ::testing::Test {
  protected:
    ButtonAssignment() : logic(store, library) {
        library.Append(MakeMacro(u"Alpha", 3, 4, 0x04));
        library.Append(MakeMacro(u"Beta", 40, 9, 0x10));
        store.SetCurrentIndex(2);
    }

    ProfileRecord& profile() { return store.current(); }
    ButtonSlot& slot(int i) { return store.current().buttons[i]; }
    int mark(int i) const { return store.edited().buttonMarks[2][i]; }

    // Opens button i's menu and picks a command.
    FunctionChoice Choose(int button, int command) {
        EXPECT_TRUE(logic.OpenFunctionMenu(button));
        return logic.ChooseFunction(command);
    }

    ProfileStore store;
    MacroLibrary library;
    ButtonPageLogic logic;
};

TEST_F(ButtonAssignment, ClickRuleRefusesAndChangesNothing) {
    struct Case {
        const char* what;
        int primaryAt;  // the only button of 0-11 with code 2; -1 = none
        int button;
        int command;
        FunctionChoiceKind kind;
    };
    const Case cases[] = {
        {"plain function on the only primary", 0, 0, 1005, FunctionChoiceKind::kRefused},
        {"macro on the only primary, before the dialog", 0, 0, 1049, FunctionChoiceKind::kRefused},
        {"key combination on the only primary", 0, 0, 1060, FunctionChoiceKind::kRefused},
        {"primary moved elsewhere first", 4, 0, 1005, FunctionChoiceKind::kAssigned},
        {"primary on the only primary again", 0, 0, 1003, FunctionChoiceKind::kAssigned},
        {"unknown command means primary", 0, 0, 1050, FunctionChoiceKind::kAssigned},
        {"button 12-23 with a primary among 0-11", 0, 12, 1005, FunctionChoiceKind::kAssigned},
        // Slots 12-23 do not count: without a primary among 0-11 even code 2 is refused there.
        {"button 12-23 without any primary", -1, 12, 1003, FunctionChoiceKind::kRefused},
        {"giving 0-11 a primary back", -1, 7, 1003, FunctionChoiceKind::kAssigned},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restoreButtonDefaults(profile());
        for (int b = 0; b < kPhysicalButtonCount; ++b) {
            slot(b).functionType = b == c.primaryAt ? 2 : 3;
        }
        slot(12).functionType = 2;
        std::memset(store.edited().buttonMarks, 0, sizeof store.edited().buttonMarks);
        const auto before = std::make_unique<ProfileBlock>(store.edited());

        const FunctionChoice choice = Choose(c.button, c.command);
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(choice.button, c.button);
        if (c.kind == FunctionChoiceKind::kRefused) {
            EXPECT_TRUE(SameBlock(store.edited(), *before));
        } else {
            EXPECT_EQ(slot(c.button).functionType, ButtonFunctionForCommand(c.command));
            EXPECT_EQ(mark(c.button), 1);
        }
    }
}

TEST_F(ButtonAssignment, NoMenuOpenIgnoresCommands) {
    const auto before = std::make_unique<ProfileBlock>(store.edited());
    EXPECT_EQ(logic.ChooseFunction(1005).kind, FunctionChoiceKind::kIgnored);
    EXPECT_FALSE(logic.OpenFunctionMenu(24));
    EXPECT_FALSE(logic.OpenFunctionMenu(-1));
    EXPECT_EQ(logic.ChooseFunction(1005).kind, FunctionChoiceKind::kIgnored);
    EXPECT_TRUE(SameBlock(store.edited(), *before));
}

TEST_F(ButtonAssignment, PlainFunctionsClearTheMacroAreaExceptDoubleClick) {
    struct Case {
        int command;
        uint8_t code;
        bool keepsArea;
    };
    const Case cases[] = {{1005, 3, false}, {1030, 67, false}, {1054, 8, true}, {1003, 2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        FillMacroSlot(slot(3), 18);
        const ButtonSlot old = slot(3);
        store.edited().buttonMarks[2][3] = 0;

        const FunctionChoice choice = Choose(3, c.command);
        ASSERT_EQ(choice.kind, FunctionChoiceKind::kAssigned);
        EXPECT_EQ(choice.code, c.code);
        const ButtonSlot& s = slot(3);
        EXPECT_EQ(s.functionType, c.code);
        EXPECT_EQ(s.eventCount, c.keepsArea ? 5 : 0);
        EXPECT_EQ(std::memcmp(s.events, old.events, sizeof s.events) == 0, c.keepsArea);
        EXPECT_EQ(FixedView(s.macroName), c.keepsArea ? u"Old" : u"");
        // Repeat, index and run mode stay in every case.
        EXPECT_EQ(s.macroRepeat, 7);
        EXPECT_EQ(s.macroIndex, 2);
        EXPECT_EQ(s.macroRunMode, 1);
        EXPECT_EQ(mark(3), 1);
        EXPECT_EQ(store.edited().buttonMarks[0][3], 0);  // only the current profile's mark
    }
}

TEST_F(ButtonAssignment, KeyCombinationFromTheDialog) {
    struct Case {
        ModifierFlags flags;
        uint8_t stored;
        const char16_t* label;
    };
    const Case cases[] = {
        {{false, true, true, false, false}, 0x06, u"4.Shift+Ctrl+F1"},
        {{true, true, true, true, true}, 0x01, u"4.F1"},  // "key alone" stores bit 0 only
        {{false, false, false, false, true}, 0x10, u"4.Win+F1"},
        {{false, false, false, false, false}, 0x00, u"4.F1"},
    };
    for (const Case& c : cases) {
        FillMacroSlot(slot(4), 18);
        const FunctionChoice choice = Choose(4, 1060);
        ASSERT_EQ(choice.kind, FunctionChoiceKind::kShortcut);
        // Nothing is written before the dialog's OK.
        EXPECT_EQ(slot(4).functionType, 18);

        EXPECT_TRUE(logic.FinishKeyCombination(choice, 0x3A, c.flags));
        const ButtonSlot& s = slot(4);
        EXPECT_EQ(s.functionType, 17);
        EXPECT_EQ(s.eventCount, 1);
        EXPECT_EQ(s.events[0].key, 0x3A);
        EXPECT_EQ(s.events[0].action, c.stored);
        EXPECT_EQ(s.events[1].key, 0x21);  // the other events keep their bytes
        EXPECT_EQ(FixedView(s.macroName), u"");
        EXPECT_EQ(mark(4), 1);
        EXPECT_EQ(ButtonLabel(4, s, UsKeyboardLayout(), FakeText()), c.label);
    }
}

TEST_F(ButtonAssignment, ShortcutPresetComesFromTheSlotsFirstEvent) {
    FillMacroSlot(slot(4), 50);
    slot(4).events[0] = {0x04, 0x12, 0};
    const FunctionChoice choice = Choose(4, 1060);
    const ShortcutDialogState preset = logic.ShortcutPreset(choice, UsKeyboardLayout());
    EXPECT_EQ(preset.usage(), 0x04);
    EXPECT_EQ(preset.flags(), (ModifierFlags{false, true, false, false, true}));
    EXPECT_EQ(preset.KeyFieldText(), u"A");
}

TEST_F(ButtonAssignment, MacroFromTheSelection) {
    struct Case {
        const char* what;
        MacroSelection selection;
        uint8_t code;
        const char16_t* name;
        uint16_t eventCount;
        int repeat;
    };
    const Case cases[] = {
        {"first entry", {0, 2, 0}, 18, u"Alpha", 3, 4},
        {"option gives 50", {1, 1, 1}, 50, u"Beta", 40, 9},
        // Not in the library: the button's default (index 6 -> 14), area cleared.
        {"nothing selected", {-1, 1, 0}, 14, u"", 0, 7},
        {"beyond the library", {2, 0, 1}, 14, u"", 0, 7},
        {"negative index", {-7, 2, 0}, 14, u"", 0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FillMacroSlot(slot(6), 17);
        store.edited().buttonMarks[2][6] = 0;
        const FunctionChoice choice = Choose(6, 1049);
        ASSERT_EQ(choice.kind, FunctionChoiceKind::kMacro);
        EXPECT_TRUE(logic.FinishMacro(choice, c.selection));
        const ButtonSlot& s = slot(6);
        EXPECT_EQ(s.functionType, c.code);
        EXPECT_EQ(FixedView(s.macroName), c.name);
        EXPECT_EQ(s.eventCount, c.eventCount);
        EXPECT_EQ(s.macroRepeat, c.repeat);
        // Index and run mode are stored whether or not the library has the entry.
        EXPECT_EQ(s.macroIndex, c.selection.chosenIndex);
        EXPECT_EQ(s.macroRunMode, c.selection.runMode);
        if (c.eventCount != 0) {
            const MacroRecord& m = library[static_cast<std::size_t>(c.selection.chosenIndex)];
            EXPECT_EQ(std::memcmp(s.events, m.events, sizeof s.events), 0);
        } else {
            EXPECT_EQ(s.events[0].key, 0);
        }
        EXPECT_EQ(mark(6), 1);
    }
}

TEST_F(ButtonAssignment, MacroWithADamagedCountIsCutToTheSlot) {
    MacroRecord damaged = MakeMacro(u"Long", 40, 1, 0x04);
    damaged.eventCount = 999;
    library.Append(damaged);
    const FunctionChoice choice = Choose(8, 1049);
    ASSERT_TRUE(logic.FinishMacro(choice, {2, 0, 0}));
    EXPECT_EQ(slot(8).eventCount, kMaxMacroEvents);
}

TEST_F(ButtonAssignment, ConfirmingAnOptionMacroUnchangedKeepsIt) {
    library.Append(MakeMacro(u"Gamma", 2, 1, 0x30));
    FillMacroSlot(slot(1), 50);
    const FunctionChoice choice = Choose(1, 1049);
    const MacroSelectState preset = logic.MacroPreset(choice);
    EXPECT_EQ(preset.selection().chosenIndex, 2);
    EXPECT_EQ(preset.selection().runMode, 1);
    EXPECT_TRUE(preset.optionChecked());
    ASSERT_TRUE(logic.FinishMacro(choice, preset.selection()));
    EXPECT_EQ(slot(1).functionType, 50);
    EXPECT_EQ(FixedView(slot(1).macroName), u"Gamma");
}

TEST_F(ButtonAssignment, DeletedMacroFallsBackToTheDefault) {
    // The slot's macro sat at index 5; the library has two entries now.
    FillMacroSlot(slot(9), 18);
    slot(9).macroIndex = 5;
    const FunctionChoice choice = Choose(9, 1049);
    const MacroSelectState preset = logic.MacroPreset(choice);
    EXPECT_EQ(preset.InitialLine(library.size()), -1);
    ASSERT_TRUE(logic.FinishMacro(choice, preset.selection()));  // OK without selecting
    EXPECT_EQ(slot(9).functionType, 42);
    EXPECT_EQ(slot(9).eventCount, 0);
    EXPECT_EQ(slot(9).macroIndex, 5);
}

TEST_F(ButtonAssignment, EmptyLibraryGivesTheDefault) {
    library.Clear();
    const FunctionChoice choice = Choose(2, 1049);
    const MacroSelectState preset = logic.MacroPreset(choice);
    EXPECT_EQ(preset.selection().chosenIndex, -1);
    ASSERT_TRUE(logic.FinishMacro(choice, preset.selection()));
    EXPECT_EQ(slot(2).functionType, 4);
}

TEST_F(ButtonAssignment, DialogResultGoesToTheProfileTheMenuWasOpenedFor) {
    const FunctionChoice choice = Choose(6, 1049);
    ASSERT_EQ(choice.profile, 2);
    store.SetCurrentIndex(4);  // an automatic switch while the dialog was open
    const auto other = std::make_unique<ProfileRecord>(store.current());
    ASSERT_TRUE(logic.FinishMacro(choice, {0, 0, 0}));
    EXPECT_EQ(store.edited().profiles[2].buttons[6].functionType, 18);
    EXPECT_EQ(store.edited().buttonMarks[2][6], 1);
    EXPECT_EQ(std::memcmp(other.get(), &store.current(), sizeof *other), 0);
    EXPECT_EQ(store.edited().buttonMarks[4][6], 0);
}

TEST_F(ButtonAssignment, DialogResultsNeedTheirOwnKindOfChoice) {
    const FunctionChoice plain = Choose(6, 1005);
    const auto before = std::make_unique<ProfileBlock>(store.edited());
    EXPECT_FALSE(logic.FinishMacro(plain, {0, 0, 0}));
    EXPECT_FALSE(logic.FinishKeyCombination(plain, 4, {}));
    const FunctionChoice macro = Choose(6, 1049);
    EXPECT_FALSE(logic.FinishKeyCombination(macro, 4, {}));
    FunctionChoice forged = macro;
    forged.profile = 5;
    EXPECT_FALSE(logic.FinishMacro(forged, {0, 0, 0}));
    forged = macro;
    forged.button = 24;
    EXPECT_FALSE(logic.FinishMacro(forged, {0, 0, 0}));
    EXPECT_TRUE(SameBlock(store.edited(), *before));
}

TEST_F(ButtonAssignment, RestoreTouchesOnlyTheSlots) {
    FillMacroSlot(slot(3), 18);
    slot(0).functionType = 3;
    slot(12).functionType = 2;
    profile().dpiValues[0] = 99;
    profile().lightMode = 2;
    profile().reportRate = 0;
    profile().stageColours[1] = 0x123456;
    store.edited().buttonMarks[2][3] = 1;
    const auto before = std::make_unique<ProfileRecord>(profile());

    logic.RestoreDefaults();
    for (int i = 0; i < kButtonSlotCount; ++i) {
        EXPECT_EQ(slot(i).buttonIndex, i);
        EXPECT_EQ(slot(i).functionType, DefaultButtonType(i));
    }
    EXPECT_EQ(slot(3).eventCount, 0);
    EXPECT_EQ(std::memcmp(before.get(), &profile(), offsetof(ProfileRecord, buttons)), 0);
    EXPECT_EQ(store.edited().buttonMarks[2][3], 1);
    const auto labels = ButtonLabels(profile(), UsKeyboardLayout(), FakeText());
    EXPECT_EQ(labels[17], u"1.#1058");
}

TEST_F(ButtonAssignment, ReportRateAndColours) {
    for (int rate = 0; rate < 4; ++rate) {
        EXPECT_TRUE(logic.ChooseReportRate(rate));
        EXPECT_EQ(profile().reportRate, rate);
    }
    EXPECT_FALSE(logic.ChooseReportRate(4));
    EXPECT_FALSE(logic.ChooseReportRate(-1));
    EXPECT_EQ(profile().reportRate, 3);

    logic.SetLightColour(0x00ABCDEF);
    EXPECT_EQ(profile().lightColour, 0x00ABCDEFu);
    EXPECT_TRUE(logic.SetStageColour(4, 0x00010203));
    EXPECT_EQ(profile().stageColours[4], 0x00010203u);
    EXPECT_FALSE(logic.SetStageColour(5, 0));
}

}  // namespace
}  // namespace t30
