// The shortcut and macro selection dialogs run modally, driven from inside their own loop by real
// input (SendInput reaches the keyboard hook) and by clicks on their buttons.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host/keyboard_hook_win32.h"
#include "keys/keyboard_layout.h"
#include "ui/framework/app_globals.h"
#include "ui/windows/select_macro_dlg.h"
#include "ui/windows/shortcut_dlg.h"
#include "win_test_support.h"

namespace t30 {
namespace {

// Steps run one per timer tick inside a modal loop; the last one ends the dialog.
// A dialog still open when its script has run out is ended with -2.
std::vector<std::function<void()>>* g_steps = nullptr;
std::size_t g_next = 0;
CDialog* g_dialog = nullptr;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (g_steps == nullptr) {
        return;
    }
    if (g_next < g_steps->size()) {
        (*g_steps)[g_next++]();
    } else if (g_dialog != nullptr && g_dialog->Hwnd() != nullptr) {
        g_dialog->EndDialog(-2);
    }
}

INT_PTR RunScripted(CDialog& dialog, std::vector<std::function<void()>> steps,
                    const std::function<INT_PTR(CDialog&)>& run) {
    g_steps = &steps;
    g_next = 0;
    g_dialog = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 80, &RunStep);
    const INT_PTR result = run(dialog);
    KillTimer(nullptr, timer);
    g_steps = nullptr;
    g_dialog = nullptr;
    EXPECT_EQ(g_next, steps.size()) << "the dialog ended before its script did";
    return result;
}

void Key(WORD virtualKey) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = virtualKey;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// A push button's click as its parent hears it.
void Press(const CDialog& dialog, HWND button) {
    PostMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// A click a check button handles itself: it toggles on the release and tells its parent.
void Click(HWND button) {
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class DialogWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppFolder(T30_REAL_APP);
        App().skinFolder = T30_REAL_SKINS;
        ASSERT_TRUE(LoadLanguageLibrary());
    }
    void TearDown() override { App().language.Reset(); }
};

TEST_F(DialogWindows, ShortcutDialogTakesEveryKeyAndTheLastOneWins) {
    CShortCutDlg dialog(UsKeyboardLayout(), ProcessKeyboardCapture());
    std::wstring afterA, afterEnter;
    bool openAfterEnter = false;
    const INT_PTR result = RunScripted(dialog,
                                       {
                                           [&] { Key('A'); },
                                           [&] { afterA = dialog.KeyFieldText(); },
                                           [&] { Key(VK_RETURN); },
                                           [&] {
                                               afterEnter = dialog.KeyFieldText();
                                               openAfterEnter =
                                                   IsWindowVisible(dialog.Hwnd()) != FALSE;
                                           },
                                           [&] { Key(VK_LCONTROL); },
                                           [&] { Press(dialog, dialog.OkButton()); },
                                       },
                                       [&](CDialog&) { return dialog.Run(nullptr); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(afterA, L"A");
    EXPECT_EQ(afterEnter, L"Enter");
    EXPECT_TRUE(openAfterEnter) << "Enter is a key like any other";
    EXPECT_EQ(dialog.usage(), 0xE0) << "the release of Ctrl came last";
    EXPECT_FALSE(ProcessKeyboardCapture().held()) << "the keyboard is given back";
}

TEST_F(DialogWindows, ShortcutDialogKeyAloneDisablesTheModifiersAndKeepsTheirMarks) {
    CShortCutDlg dialog(UsKeyboardLayout(), ProcessKeyboardCapture());
    ButtonSlot slot{};
    slot.events[0].key = 0x05;     // B
    slot.events[0].action = 0x04;  // with Ctrl
    dialog.SetPreset(ShortcutDialogState::ForSlot(slot, UsKeyboardLayout()));
    bool shiftEnabledWhileAlone = true, ctrlShownWhileAlone = false;
    std::wstring presetText;
    const INT_PTR result = RunScripted(dialog,
                                       {
                                           [&] { presetText = dialog.KeyFieldText(); },
                                           [&] { Click(dialog.CheckButton(0)); },
                                           [&] {
                                               shiftEnabledWhileAlone =
                                                   IsWindowEnabled(dialog.CheckButton(1)) != FALSE;
                                               ctrlShownWhileAlone = dialog.CheckShown(2);
                                           },
                                           [&] { Click(dialog.CheckButton(0)); },
                                           [&] { Click(dialog.CheckButton(1)); },
                                           [&] { Press(dialog, dialog.OkButton()); },
                                       },
                                       [&](CDialog&) { return dialog.Run(nullptr); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(presetText, L"B");
    EXPECT_FALSE(shiftEnabledWhileAlone);
    EXPECT_TRUE(ctrlShownWhileAlone) << "marks stay while disabled";
    EXPECT_EQ(dialog.usage(), 0x05);
    EXPECT_EQ(dialog.state().ModifierMask(), 0x06) << "Shift and Ctrl";
}

TEST_F(DialogWindows, MacroDialogOpensOnTheSlotsMacroAndIgnoresTheKeyboard) {
    MacroLibrary library;
    for (const char16_t* name : {u"One", u"Two", u"Three"}) {
        MacroRecord record{};
        std::u16string_view(name).copy(record.name, kMacroNameLength - 1);
        library.Append(record);
    }
    ButtonSlot slot{};
    slot.functionType = 50;
    slot.macroIndex = 2;
    slot.macroRunMode = 1;
    CSelectMacroDlg dialog(library);
    dialog.SetPreset(MacroSelectState::ForSlot(slot));
    int lines = 0, selected = -1;
    bool modeShown = false, optionShown = false, openAfterKeys = false;
    const INT_PTR result =
        RunScripted(dialog,
                    {
                        [&] {
                            lines = dialog.ListLineCount();
                            selected = dialog.ListSelection();
                            modeShown = dialog.RunModeShown(1) && !dialog.RunModeShown(0);
                            optionShown = dialog.OptionShown();
                            SetFocus(dialog.List());
                        },
                        [&] { Key(VK_RETURN); },
                        [&] { Key(VK_ESCAPE); },
                        [&] { Key(VK_SPACE); },
                        [&] { openAfterKeys = IsWindowVisible(dialog.Hwnd()) != FALSE; },
                        [&] { Key(VK_UP); },  // the list still moves with the arrows
                        [&] { Press(dialog, dialog.RunModeButton(2)); },
                        [&] { Press(dialog, dialog.RunModeButton(2)); },  // stays checked
                        [&] { Press(dialog, dialog.OkButton()); },
                    },
                    [&](CDialog&) { return dialog.Run(nullptr); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(selected, 2);
    EXPECT_TRUE(modeShown);
    EXPECT_TRUE(optionShown);
    EXPECT_TRUE(openAfterKeys) << "Enter, Escape and Space do not end the dialog";
    EXPECT_EQ(dialog.selection().chosenIndex, 1);
    EXPECT_EQ(dialog.selection().runMode, 2);
    EXPECT_EQ(dialog.selection().optionChecked, 1);
}

TEST_F(DialogWindows, MacroDialogWithAMacroDeletedSinceOpensWithoutSelection) {
    MacroLibrary library;
    ButtonSlot slot{};
    slot.functionType = 18;
    slot.macroIndex = 4;
    CSelectMacroDlg dialog(library);
    dialog.SetPreset(MacroSelectState::ForSlot(slot));
    int selected = 0;
    const INT_PTR result = RunScripted(
        dialog,
        {[&] { selected = dialog.ListSelection(); }, [&] { Press(dialog, dialog.OkButton()); }},
        [&](CDialog&) { return dialog.Run(nullptr); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(dialog.selection().chosenIndex, 4) << "OK without a choice keeps the old index";
}

}  // namespace
}  // namespace t30
