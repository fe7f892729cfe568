// The button page as a real window over the product's skin set: what Refresh shows, and how the
// page answers its controls and the stage windows' messages.
#include <gtest/gtest.h>

#include <cstring>

#include "string_ids.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/page_logic/dpi_stages.h"
#include "ui/skin/skin_win32.h"
#include "ui/windows/button_dlg.h"
#include "win_test_support.h"

namespace t30 {
namespace {

class ButtonPageWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppFolder(T30_REAL_APP);
        App().skinFolder = T30_REAL_SKINS;
        ASSERT_TRUE(LoadLanguageLibrary());
        // The pointer off the page: a button under it would be told of a real hover whenever the
        // window under the pointer changes (another test's window going away, say), and show
        // its highlight in the middle of a case.
        test::MoveTo(1270, 790);
        host_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 940, 600, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(host_, nullptr);
        ASSERT_TRUE(page_.Create(host_, RECT{0, 0, 900, 480}));
        ShowWindow(page_.Hwnd(), SW_SHOW);
        page_.Refresh();
        test::Pump();
    }
    void TearDown() override {
        page_.DestroyWindow();
        DestroyWindow(host_);
        App().language.Reset();
    }

    ProfileRecord& profile() { return store_.current(); }
    LRESULT Stage(uint32_t wParam, LPARAM windowId) {
        return SendMessageW(page_.Hwnd(), kMsgDpiStageChanged, wParam, windowId);
    }
    void Click(HWND control) {
        SendMessageW(page_.Hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
    }

    ProfileStore store_;
    MacroLibrary library_;
    HWND host_ = nullptr;
    CButtonDlg page_{store_, library_};
};

TEST_F(ButtonPageWindow, LabelsCarryTheDisplayNumberThenTheFunction) {
    EXPECT_EQ(page_.AssignmentCaption(0), L"1." + LangString(1003));
    EXPECT_EQ(page_.AssignmentCaption(3), L"5." + LangString(1009));
    EXPECT_EQ(page_.AssignmentCaption(5), L"0." + LangString(1058)) << "index 5 shows 0";
    for (int i = 12; i < kButtonSlotCount; ++i) {
        EXPECT_EQ(page_.AssignmentCaption(i).substr(0, 2), L"1.") << "index " << i;
    }
    // A key combination without events shows only the number.
    profile().buttons[3].functionType = 17;
    profile().buttons[3].eventCount = 0;
    page_.Refresh();
    EXPECT_EQ(page_.AssignmentCaption(3), L"5.");
}

TEST_F(ButtonPageWindow, StageMessagesWriteTheProfileAndMoveTheCurrentStage) {
    Stage(DpiStageParam(DpiStageChange::kValue, 50), kDpiWindowIdFirst + 2);
    EXPECT_EQ(profile().dpiValues[2], 50);
    Stage(DpiStageParam(DpiStageChange::kSelected, 0), kDpiWindowIdFirst + 4);
    EXPECT_EQ(profile().dpiStage, 4);
    for (int k = 0; k < kDpiStageCount; ++k) {
        EXPECT_EQ(page_.DpiWindow(k).Model().current(), k == 4) << "stage " << k;
        EXPECT_EQ(page_.DpiWindow(k).Model().EnableBoxEnabled(), k != 4);
    }
    const ProfileRecord before = profile();
    Stage(DpiStageParam(DpiStageChange::kValue, 60), kDpiWindowIdFirst + 6);  // no such window
    Stage((4u << 16) | 60u, kDpiWindowIdFirst + 1);                           // no such kind
    EXPECT_EQ(std::memcmp(&before, &profile(), sizeof before), 0);
}

TEST_F(ButtonPageWindow, RefreshPushesStageValuesIntoTheStageWindows) {
    profile().dpiValues[1] = 26;
    profile().dpiValues[5] = 126;
    profile().dpiStageEnabled[3] = 0;
    page_.Refresh();
    EXPECT_EQ(page_.DpiWindow(1).ValueText(), L"988");
    EXPECT_EQ(page_.DpiWindow(5).ValueText(), L"4788");
    EXPECT_FALSE(IsWindowEnabled(page_.DpiWindow(3).SelectorHwnd())) << "a disabled stage";
    EXPECT_FALSE(IsWindowEnabled(page_.DpiWindow(3).SliderHwnd()));
    EXPECT_TRUE(IsWindowEnabled(page_.DpiWindow(2).SliderHwnd()));
}

TEST_F(ButtonPageWindow, SliderMovePostsItsStageValueToThePage) {
    const HWND stage = const_cast<CDpiSettingWnd&>(page_.DpiWindow(2)).Hwnd();
    const int before = profile().dpiValues[2];
    SendMessageW(stage, 0x446, before, kDpiSliderId);  // no move: nothing posted
    SendMessageW(stage, 0x446, 50, kDpiSliderId + 1);  // another control
    test::Pump();
    EXPECT_EQ(profile().dpiValues[2], before);
    SendMessageW(stage, 0x446, 50, kDpiSliderId);
    test::Pump();
    EXPECT_EQ(profile().dpiValues[2], 50);
    EXPECT_EQ(page_.DpiWindow(2).ValueText(), L"1900");
}

TEST_F(ButtonPageWindow, LightingCaptionsAndColourButtonFollowTheMode) {
    struct Case {
        int mode, brightness, speed;
        std::wstring modeCaption, levelCaption;
        bool colour;
    };
    const Case cases[] = {
        {0, 2, 2, LangString(1144), L"0%", false},
        {1, 1, 3, LangString(1124), LangString(1080), true},
        {2, 3, 1, LangString(1125), LangString(1084), true},
        {3, 1, 3, LangString(1126), LangString(1086), false},
        {4, 1, 2, LangString(1145), LangString(1085), false},
    };
    for (const Case& c : cases) {
        profile().lightMode = c.mode;
        profile().lightBrightness = c.brightness;
        profile().lightSpeed = c.speed;
        page_.Refresh();
        EXPECT_EQ(page_.LightModeCaption(), c.modeCaption) << "mode " << c.mode;
        EXPECT_EQ(page_.LightLevelCaption(), c.levelCaption) << "mode " << c.mode;
        EXPECT_EQ(IsWindowEnabled(page_.LightColourButton()) != FALSE, c.colour)
            << "mode " << c.mode;
    }
    // The mode menu's commands: 3005 is the fifth mode, an unknown id turns the light off.
    SendMessageW(page_.Hwnd(), WM_COMMAND, 3005, 0);
    EXPECT_EQ(profile().lightMode, 4);
    EXPECT_EQ(page_.LightModeCaption(), LangString(1145));
    SendMessageW(page_.Hwnd(), WM_COMMAND, 3002, 0);
    SendMessageW(page_.Hwnd(), WM_COMMAND, 4003, 0);
    EXPECT_EQ(profile().lightSpeed, 3);
    EXPECT_EQ(page_.LightLevelCaption(), LangString(1086));
    EXPECT_TRUE(IsWindowEnabled(page_.LightColourButton()));
    SendMessageW(page_.Hwnd(), WM_COMMAND, 3099, 0);
    EXPECT_EQ(profile().lightMode, 0);
    EXPECT_EQ(page_.LightLevelCaption(), L"0%");
}

TEST_F(ButtonPageWindow, HoverShowsOnlyTheHoveredButtonsPicture) {
    // A highlight's window is made the first time it shows: first and later showings alike.
    struct Step {
        WPARAM hovering;
        LPARAM notifyId;
        int shown;  // the highlight in sight afterwards, -1 for none
    };
    const Step steps[] = {
        {1, 203, 3},  {1, 342, 3},  // a region button's id: not ours
        {0, 203, -1}, {1, 203, 3}, {0, 203, -1}, {0, 202, -1}, {1, 202, 2}, {0, 202, -1},
    };
    for (const Step& step : steps) {
        SendMessageW(page_.Hwnd(), 0x464, step.hovering, step.notifyId);
        for (int i = 0; i < 24; ++i) {
            EXPECT_EQ(page_.HighlightVisible(i), i == step.shown)
                << "highlight " << i << " after " << step.hovering << "/" << step.notifyId;
        }
    }
}

// The program puts the menu-frame hook in place only once its window has painted; a menu the
// page opens must be framed whenever it opens.
std::size_t g_framedWhileOpen = 0;
void CALLBACK LookAtTheOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (FindWindowW(L"#32768", nullptr) != nullptr) {
        g_framedWhileOpen = FramedMenuCount();
        EndMenu();
    }
}

TEST_F(ButtonPageWindow, FunctionMenuIsFramedWithoutAHookInstalledBeforehand) {
    RemoveMenuFrameHook();
    g_framedWhileOpen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtTheOpenMenu);
    Click(page_.AssignmentButton(3));  // returns when the menu has closed
    KillTimer(nullptr, timer);
    EXPECT_GT(g_framedWhileOpen, 0u);
    RemoveMenuFrameHook();
}

TEST_F(ButtonPageWindow, ReportRateAndRestoreButtons) {
    Click(page_.ReportRateButton(1));
    EXPECT_EQ(profile().reportRate, 1);
    for (int j = 0; j < kReportRateCount; ++j) {
        EXPECT_EQ(page_.ReportRateChecked(j), j == 1) << "rate " << j;
    }

    profile().buttons[7].functionType = 67;
    profile().buttons[20].buttonIndex = 0;
    profile().lightMode = 2;
    store_.MarkButton(store_.CurrentIndex(), 7);
    Click(page_.RestoreButton());
    EXPECT_EQ(profile().buttons[7].functionType, DefaultButtonType(7));
    EXPECT_EQ(profile().buttons[20].buttonIndex, 20);
    EXPECT_EQ(profile().lightMode, 2) << "only the buttons are restored";
    EXPECT_EQ(profile().reportRate, 1);
    EXPECT_EQ(page_.AssignmentCaption(7), L"8." + LangString(1106));
}

TEST_F(ButtonPageWindow, FunctionCommandWithoutAnOpenMenuChangesNothing) {
    const ProfileRecord before = profile();
    SendMessageW(page_.Hwnd(), WM_COMMAND, 1030, 0);
    EXPECT_EQ(std::memcmp(&before, &profile(), sizeof before), 0);
}

}  // namespace
}  // namespace t30
