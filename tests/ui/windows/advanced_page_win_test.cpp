// The advanced page as a real window under the product's skins and language library: the
// controls it builds, what its lists and its repeat-count field show, the controls a recording
// disables, the event menu, and the macro file a recording leaves.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/fixed_string.h"
#include "controls_test_support.h"
#include "gdiplus_environment.h"
#include "macro_test_util.h"
#include "string_ids.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_win32.h"
#include "ui/windows/advanced_page_dlg.h"
#include "win_test_support.h"

namespace t30 {
namespace {

using test::Pump;
using test::PumpFor;
using test::PumpUntil;

const ::testing::Environment* const kGdiplus =
    ::testing::AddGlobalTestEnvironment(new test::GdiplusEnvironment);

using testing::MacroOf;

// A plain top-level window standing in for the main window.
class CHost : public CDialog {
  public:
    CHost() { SetTemplateStyle(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN); }
};

class AdvancedPageWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        SetAppFolder(T30_REAL_APP);
        ASSERT_TRUE(LoadLanguageLibrary()) << "lan.dll of the product";
    }

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::filesystem::path(temp) / ("t30_page_" + std::to_string(GetTickCount()));
        std::filesystem::create_directories(folder_ / "config");
        App().appFolder = folder_.wstring() + L"\\";
        App().skinFolder = T30_REAL_SKINS;
    }
    void TearDown() override {
        page_.reset();
        host_.DestroyWindow();
        Pump();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void Open(std::vector<MacroRecord> macros) {
        for (const MacroRecord& m : macros) {
            library_.Append(m);
        }
        ASSERT_TRUE(host_.CreateModeless(nullptr));
        MoveWindow(host_.Hwnd(), 0, 0, 900, 480, TRUE);
        page_ = std::make_unique<CSensitivityDlg>(store_, library_);
        ASSERT_TRUE(page_->Create(host_.Hwnd(), RECT{0, 0, 900, 480}));
        ShowWindow(page_->Hwnd(), SW_SHOW);
        page_->RefreshFromProfile();
        PumpFor(100);
    }
    void Click(CWnd& button) {
        SendMessageW(page_->Hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.Hwnd()));
        Pump();
    }
    std::vector<std::pair<std::wstring, DWORD>> EventRows() {
        std::vector<std::pair<std::wstring, DWORD>> rows;
        CListBoxEx& list = page_->EventList();
        for (int i = 0; i < list.RowCount(); ++i) {
            rows.emplace_back(list.RowText(i), list.RowValue(i));
        }
        return rows;
    }

    std::filesystem::path folder_;
    ProfileStore store_;
    MacroLibrary library_;
    CHost host_;
    std::unique_ptr<CSensitivityDlg> page_;
};

TEST_F(AdvancedPageWindow, ShowsTheMacrosAndTheStepsOfTheFirst) {
    Open({MacroOf(u"Jump", {{0x04, kActionPress, 100}, {0x04, kActionRelease, 0}}, 3),
          MacroOf(u"Run", {{0xF1, kActionPress, 0}, {0xF1, kActionRelease, 0}})});
    CListBoxEx& macros = page_->MacroList();
    ASSERT_EQ(macros.RowCount(), 2);
    EXPECT_EQ(macros.RowText(0), L"Jump");
    EXPECT_EQ(macros.RowText(1), L"Run");
    EXPECT_EQ(macros.SelectedRow(), 0);
    using Rows = std::vector<std::pair<std::wstring, DWORD>>;
    EXPECT_EQ(EventRows(), (Rows{{L"A", 0x1008A}, {L"100 ms", 0x10087}, {L"A", 0x20089}}));
    EXPECT_EQ(page_->RepeatEdit().Text(), L"3");

    // The user picks the second line.
    macros.SelectRow(1);
    SendMessageW(page_->Hwnd(), WM_COMMAND, MAKEWPARAM(kMacroListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(macros.Hwnd()));
    Pump();
    EXPECT_EQ(EventRows(), (Rows{{L"Left Button Down", 0x10092}, {L"Left Button Up", 0x20092}}));
}

TEST_F(AdvancedPageWindow, RepeatCountFieldCannotHoldAnInvalidCount) {
    Open({MacroOf(u"Jump", {{0x04, kActionPress, 0}}, 0)});
    // A stored count of 0 shows, and becomes, 1.
    EXPECT_TRUE(PumpUntil([&] { return library_[0].repeatCount == 1; }));
    EXPECT_EQ(page_->RepeatEdit().Text(), L"1");
    struct Step {
        const wchar_t* typed;
        const wchar_t* shown;
        int stored;
    };
    const Step steps[] = {
        {L"3", L"3", 3}, {L"30", L"30", 30}, {L"300", L"255", 255}, {L"", L"1", 1}};
    for (const Step& s : steps) {
        SetWindowTextW(page_->RepeatEdit().Hwnd(), s.typed);
        EXPECT_TRUE(PumpUntil([&] { return library_[0].repeatCount == s.stored; })) << s.typed;
        PumpFor(50);
        EXPECT_EQ(page_->RepeatEdit().Text(), s.shown);
    }
    // Locked macros keep their count.
    library_.Append(MacroOf(u"Sealed", {}, 5, 1));
    page_->RefreshMacroList();
    page_->MacroList().SelectRow(1);
    SendMessageW(page_->Hwnd(), WM_COMMAND, MAKEWPARAM(kMacroListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(page_->MacroList().Hwnd()));
    Pump();
    EXPECT_FALSE(IsWindowEnabled(page_->RepeatEdit().Hwnd()));
    EXPECT_EQ(page_->EventList().RowCount(), 0);
}

TEST_F(AdvancedPageWindow, PageScrollingDisablesTheWheelSlider) {
    store_.current().wheelPageScroll = 1;
    Open({});
    EXPECT_FALSE(IsWindowEnabled(page_->WheelSlider().Hwnd()));
    EXPECT_TRUE(page_->PageScrollCheck().IsChecked());
    // The check button flips itself on the click and tells the page.
    SendMessageW(page_->PageScrollCheck().Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(page_->PageScrollCheck().Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(store_.current().wheelPageScroll, 0);
    EXPECT_TRUE(IsWindowEnabled(page_->WheelSlider().Hwnd()));

    SendMessageW(page_->PrecisionCheck().Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(page_->PrecisionCheck().Hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(store_.current().enhancePrecision, page_->PrecisionCheck().IsChecked() ? 1 : 0);
    EXPECT_EQ(store_.current().reserved1516, page_->PrecisionCheck().IsChecked() ? 8 : 0);
}

TEST_F(AdvancedPageWindow, RecordingDisablesTheListAndSavesTheMacro) {
    Open({MacroOf(u"Jump", {{0x10, kActionPress, 0}, {0x10, kActionRelease, 0}})});
    Click(page_->RecordButton());
    EXPECT_TRUE(page_->Logic().recording());
    EXPECT_FALSE(IsWindowEnabled(page_->MacroList().Hwnd()));
    EXPECT_FALSE(IsWindowEnabled(page_->NewButton().Hwnd()));
    EXPECT_FALSE(IsWindowEnabled(page_->DeleteButton().Hwnd()));
    EXPECT_TRUE(page_->RecordButton().IsChecked());
    EXPECT_EQ(page_->EventList().RowCount(), 0);
    // No menu while recording.
    EXPECT_EQ(SendMessageW(page_->Hwnd(), kMsgListRightButton, 0, kEventsListId), -1);

    for (auto [vk, flags] : {std::pair{'B', 0}, {'B', 0x80}, {'C', 0}, {'C', 0x80}}) {
        PostMessageW(page_->Hwnd(), kMsgHookKey, WPARAM(vk), LPARAM(flags));
    }
    EXPECT_TRUE(PumpUntil([&] { return page_->EventList().RowCount() == 4; }));
    Click(page_->StopButton());
    EXPECT_FALSE(page_->Logic().recording());
    EXPECT_TRUE(IsWindowEnabled(page_->MacroList().Hwnd()));
    EXPECT_TRUE(IsWindowEnabled(page_->NewButton().Hwnd()));
    EXPECT_FALSE(page_->RecordButton().IsChecked());

    MacroLibrary saved;
    ASSERT_TRUE(LoadMacroLibrary(saved, folder_));
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved[0].eventCount, 4);
    EXPECT_EQ(saved[0].events[0].key, 0x05);  // B
    EXPECT_EQ(saved[0].events[1].action, kActionRelease);
    EXPECT_EQ(saved[0].events[2].key, 0x06);  // C
}

TEST_F(AdvancedPageWindow, RecordingEndsWhenThePageIsNoLongerSeen) {
    Open({MacroOf(u"Jump", {{0x10, kActionPress, 0}})});
    // Another page is shown.
    Click(page_->RecordButton());
    PostMessageW(page_->Hwnd(), kMsgHookKey, 'B', 0);
    EXPECT_TRUE(PumpUntil([&] { return page_->EventList().RowCount() == 1; }));
    ShowWindow(page_->Hwnd(), SW_HIDE);
    Pump();
    EXPECT_FALSE(page_->Logic().recording());
    EXPECT_FALSE(ProcessKeyboardCapture().held());
    EXPECT_EQ(library_[0].eventCount, 1);
    EXPECT_EQ(library_[0].events[0].key, 0x05);

    // The main window is hidden: the next key gives the keyboard back and is not recorded.
    ShowWindow(page_->Hwnd(), SW_SHOW);
    Click(page_->RecordButton());
    ASSERT_TRUE(page_->Logic().recording());
    ShowWindow(host_.Hwnd(), SW_HIDE);
    PostMessageW(page_->Hwnd(), kMsgHookKey, 'C', 0);
    EXPECT_TRUE(PumpUntil([&] { return !page_->Logic().recording(); }));
    EXPECT_FALSE(ProcessKeyboardCapture().held());
    EXPECT_EQ(library_[0].eventCount, 0);
}

// Closes the open pop-up menu from inside its own loop.
std::vector<std::wstring>* g_seenTexts = nullptr;
CSensitivityDlg* g_page = nullptr;
COLORREF g_menuPixel = CLR_INVALID;
LONG g_menuHeight = 0;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    *g_seenTexts = g_page->LastMenuTexts();
    // The first item of the open menu, as drawn on the screen.
    if (HWND menu = FindWindowW(L"#32768", nullptr)) {
        RECT r;
        GetWindowRect(menu, &r);
        g_menuPixel = GetPixel(test::ScreenDc(), r.right - 8, r.top + 8);
        g_menuHeight = r.bottom - r.top;
    }
    EndMenu();
}

TEST_F(AdvancedPageWindow, EventMenuOffersEveryCommand) {
    Open({MacroOf(u"Jump", {{0x04, kActionPress, 0}})});
    std::vector<std::wstring> seen;
    g_seenTexts = &seen;
    g_page = page_.get();
    SetTimer(nullptr, 0, 300, CloseMenu);
    EXPECT_EQ(SendMessageW(page_->Hwnd(), kMsgListRightButton, 0, kEventsListId), 0);
    // Six items, five button submenus with three steps each.
    ASSERT_EQ(seen.size(), 6u + 5u + 15u);
    EXPECT_EQ(seen[0], LangString(IDS_EV_RECORD_BEFORE));
    EXPECT_EQ(seen[5], LangString(IDS_EV_DELETE));
    EXPECT_EQ(seen.back(), LangString(IDS_EV_BACK_BUTTON));
    // Drawn by the owner-drawn items: dark, not the system's menu colour nor unpainted black.
    EXPECT_EQ(g_menuPixel, RGB(30, 30, 30));
    // Every one of the six items is a full 20-pixel row, the submenu entry too.
    EXPECT_GE(g_menuHeight, 6 * 20);
}

}  // namespace
}  // namespace t30
