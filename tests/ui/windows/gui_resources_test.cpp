// Every dialog and pop-up menu of the program opened and closed 200 times, drawn from the
// product's own skins: the process's GDI and USER objects must end where they started.
//
// Windows counts them with GetGuiResources. Wine 8 answers 0 for both (the call is not
// implemented there), so under Wine the counts are taken from Wine's own handle tables instead:
// every live GDI object of the process (win_test_support.h), and every window and menu of the
// process. Each case says which count it used.
//
// One row per "open and close once" action: a new dialog or menu is one more row. The main
// window, which the program keeps for its life, has a row of "hide and show again once" too.
#include <windows.h>

#include <objidl.h>

#include <algorithm>
#include <array>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "drivers/virtual_mouse.h"
#include "host/keyboard_hook_win32.h"
#include "keys/keyboard_layout_win32.h"
#include "macro/macro_library.h"
#include "main_window_pages.h"
#include "profile/profile_store.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_file.h"
#include "ui/windows/advanced_page_dlg.h"
#include "ui/windows/button_dlg.h"
#include "ui/windows/config_dlg.h"
#include "ui/windows/select_macro_dlg.h"
#include "ui/windows/shortcut_dlg.h"
#include "ui/windows/warn_dlg.h"
#include "win_test_support.h"

namespace t30 {
namespace {

constexpr int kCycles = 200;

// ---- Counting

// Windows and menus of this process. Wine, like GDI, takes a handle's bare table index as the
// handle, so its user-handle table (indexes 0x20 to 0xFFEF in steps of 2) can be walked.
DWORD WineUserObjectCount() {
    const DWORD self = GetCurrentProcessId();
    DWORD live = 0;
    for (UINT_PTR handle = 0x20; handle <= 0xFFEF; handle += 2) {
        HWND window = reinterpret_cast<HWND>(handle);
        DWORD owner = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) != 0 && owner == self) {
            ++live;
        } else if (IsMenu(reinterpret_cast<HMENU>(handle))) {
            ++live;
        }
    }
    return live;
}

// Under Wine: live GDI objects of each type (index = OBJ_PEN .. OBJ_COLORSPACE), so that a
// failure says what was left behind.
using GdiCensus = std::array<DWORD, OBJ_COLORSPACE + 1>;

GdiCensus WineGdiCensus() {
    test::MakeSystemColourBrushes();
    GdiCensus census{};
    for (UINT_PTR index = 1; index < 0x10000; ++index) {
        const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (type != 0 && type < census.size()) {
            ++census[type];
        }
    }
    return census;
}

std::string CensusChange(const GdiCensus& before, const GdiCensus& after) {
    static const char* const kNames[] = {"?",           "pen",          "brush",       "DC",
                                         "meta DC",     "palette",      "font",        "bitmap",
                                         "region",      "metafile",     "memory DC",   "ext pen",
                                         "enh meta DC", "enh metafile", "colour space"};
    static_assert(std::size(kNames) == std::tuple_size<GdiCensus>::value);
    std::string change;
    for (std::size_t type = 0; type < before.size(); ++type) {
        if (before[type] != after[type]) {
            change += std::string(change.empty() ? "" : ", ") + kNames[type] + " " +
                      std::to_string(before[type]) + " -> " + std::to_string(after[type]);
        }
    }
    return change;
}

struct Counts {
    DWORD gdi = 0;
    DWORD user = 0;
    bool gdiReported = false;   // by GetGuiResources
    bool userReported = false;  // by GetGuiResources
    GdiCensus gdiByType{};      // when not reported
};

Counts Measure() {
    Counts c;
    c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    c.gdiReported = c.gdi != 0;
    c.userReported = c.user != 0;
    if (!c.gdiReported) {
        c.gdiByType = WineGdiCensus();
        for (DWORD n : c.gdiByType) {
            c.gdi += n;
        }
    }
    if (!c.userReported) {
        c.user = WineUserObjectCount();
    }
    return c;
}

// ---- Closing whatever is open, as a user would

// Set while a pop-up menu of a row is tracked: the number of its items drawn so far.
int g_menuItemsDrawn = -1;

// Set by a row whose dialog ends only from one of its own buttons: that button.
std::function<HWND()> g_closingButton;

// A top-level dialog of this thread other than the main window: an open warning.
HWND OpenWarning() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM p) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (hwnd != App().mainWindow && std::wstring(cls) == L"#32770" &&
                IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(p) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Pages the main window has built before it is closed.
std::size_t g_pagesBeforeClose = 0;

// Runs on a thread timer inside whatever modal loop is running. Painting comes before timers,
// so whatever is open has been drawn by the time this runs.
void CALLBACK CloseWhatIsOpen(HWND, UINT, UINT_PTR, DWORD) {
    if (g_menuItemsDrawn > 0) {
        EndMenu();
        return;
    }
    if (g_menuItemsDrawn == 0) {
        return;  // not drawn yet
    }
    if (HWND warning = OpenWarning()) {
        // A click on its first button (OK) ends a warning; other dialogs name theirs.
        HWND button = g_closingButton ? g_closingButton() : GetWindow(warning, GW_CHILD);
        if (button != nullptr) {
            SendMessageW(warning, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        }
        return;
    }
    if (App().mainWindow != nullptr && IsWindow(App().mainWindow)) {
        if (test::MainWindowPages(App().mainWindow).size() < g_pagesBeforeClose) {
            return;  // the main window builds its hidden page a little after it is shown
        }
        PostMessageW(App().mainWindow, WM_CLOSE, 0, 0);
    }
}

class CloserTimer {
  public:
    CloserTimer() : id_(SetTimer(nullptr, 0, 15, CloseWhatIsOpen)) {}
    ~CloserTimer() { KillTimer(nullptr, id_); }
    CloserTimer(const CloserTimer&) = delete;
    CloserTimer& operator=(const CloserTimer&) = delete;

  private:
    UINT_PTR id_;
};

// While a row's menu is tracked: counts the menu items drawn, whichever window owns the menu
// (the pages draw their own), by watching the WM_DRAWITEM messages sent on this thread.
class MenuDrawWatch {
  public:
    MenuDrawWatch()
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr, GetCurrentThreadId())) {
        g_menuItemsDrawn = 0;
    }
    ~MenuDrawWatch() {
        g_menuItemsDrawn = -1;
        UnhookWindowsHookEx(hook_);
    }
    MenuDrawWatch(const MenuDrawWatch&) = delete;
    MenuDrawWatch& operator=(const MenuDrawWatch&) = delete;
    bool Hooked() const { return hook_ != nullptr; }

  private:
    static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && sent->message == WM_DRAWITEM &&
            reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam)->CtlType == ODT_MENU) {
            ++g_menuItemsDrawn;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    HHOOK hook_;
};

// ---- The rows

// An owner for the warnings that take one and for the pop-up menus.
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MEASUREITEM &&
        CExMenu::HandleMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) {
        return TRUE;
    }
    if (msg == WM_DRAWITEM && CExMenu::HandleDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp))) {
        return TRUE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Owner() {
    static HWND owner = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"T30 Resource Test Owner";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP | WS_VISIBLE, 600, 300, 200,
                               100, nullptr, nullptr, wc.hInstance, nullptr);
    }();
    return owner;
}

void RunWarning(CWarnBase& dialog, HWND owner) {
    CloserTimer closer;
    const INT_PTR result = dialog.Run(owner);
    ASSERT_TRUE(result == kWarnOk || result == kWarnCancel) << "ended with " << result;
}

// A menu like the button page's: items, a separator and a sub-menu, tracked until drawn.
void TrackMenu() {
    Gdiplus::Font font(L"Arial", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    CExMenu sub(&font);
    CExMenu menu(&font);
    ASSERT_TRUE(sub.CreatePopup() && menu.CreatePopup());
    sub.AppendItem(1003, L"Copy");
    sub.AppendItem(1004, L"Paste");
    menu.AppendItem(1001, L"Left button");
    menu.AppendItem(CExMenu::kSeparator, L"");
    menu.AppendItem(1002, L"Shortcuts", sub.Handle());
    menu.SetItemWidth(MeasureMenuText(L"Left button", 159));
    MenuDrawWatch watch;
    ASSERT_TRUE(watch.Hooked());
    CloserTimer closer;
    TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, 620, 320, 0,
                   Owner(), nullptr);
    ASSERT_GT(g_menuItemsDrawn, 0) << "the menu closed before it was drawn";
}

// The modal dialogs of the button page end only from their own buttons.
template <typename Dialog>
void RunButtonPageDialog(Dialog& dialog) {
    g_closingButton = [&dialog] { return dialog.OkButton(); };
    CloserTimer closer;
    const INT_PTR result = dialog.Run(Owner());
    g_closingButton = nullptr;
    ASSERT_EQ(result, IDOK);
}

MacroLibrary& SomeMacros() {
    static MacroLibrary library = [] {
        MacroLibrary macros;
        for (char16_t n = u'1'; n <= u'8'; ++n) {
            MacroRecord record{};
            const std::u16string name = std::u16string(u"Macro ") + n;
            name.copy(record.name, name.size());
            macros.Append(record);
        }
        return macros;
    }();
    return library;
}

// A page as the main window holds it: a shown child of a top-level window, created and
// destroyed; `withPage` runs while it is shown.
template <typename Page>
void RunPage(Page& page, const std::function<void(Page&)>& withPage = nullptr) {
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 940, 600, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(page.Create(host, RECT{0, 0, 900, 480}));
    ShowWindow(page.Hwnd(), SW_SHOW);
    UpdateWindow(page.Hwnd());
    if (withPage) {
        withPage(page);
    }
    page.DestroyWindow();
    DestroyWindow(host);
}

// A page's own menu, opened as its control would open it, tracked until drawn and closed.
void TrackPageMenu(const std::function<void()>& open) {
    MenuDrawWatch watch;
    ASSERT_TRUE(watch.Hooked());
    {
        CloserTimer closer;
        open();
    }
    ASSERT_GT(g_menuItemsDrawn, 0) << "the menu closed before it was drawn";
}

// The main window as the program runs it, without a mouse: it builds itself, loads the
// settings, starts its worker, finds no device, and is closed.
void RunMainWindow() {
    auto store = std::make_unique<ProfileStore>();
    auto library = std::make_unique<MacroLibrary>();
    {
        CConfigDlg dialog(*store, *library);
        g_pagesBeforeClose = 2;
        CloserTimer closer;
        dialog.DoModal(nullptr);
        g_pagesBeforeClose = 0;
    }
    App().mainWindow = nullptr;
}

// ---- The main window hidden and shown again, with the mouse plugged (the simulated driver
// libraries beside the test, served by vmouse.exe): one main window for the whole row, as the
// program keeps one for its life. Each cycle goes through the program's own paths: Cancel's
// click hides it, the notification icon's click shows it again, and each tab's click shows its
// page.

struct MainWindowParts {
    HWND main = nullptr;
    HWND cancel = nullptr;
    HWND basicTab = nullptr;
    HWND advancedTab = nullptr;
    HWND buttonPage = nullptr;
    HWND advancedPage = nullptr;
};
MainWindowParts g_parts;

// The row's cycles, while the main window of WithMainWindowShown runs.
const std::function<void()>* g_rowCycles = nullptr;
DWORD g_rowStart = 0;

// The main window's control at the centre of entry `key` of "skin_main.ini".
HWND MainWindowControl(HWND main, int key) {
    const SkinEntry entry =
        SkinFile(std::filesystem::path(App().skinFolder + L"skin_main.ini")).Entry(key);
    const POINT centre{(entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2};
    const HWND control = ChildWindowFromPoint(main, centre);
    return control == main ? nullptr : control;
}

// What a click on a control of the main window sends it.
void Click(HWND main, HWND control) {
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

bool ShownAndPainted(HWND window) {
    return test::PumpUntil(
        [window] { return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE); });
}

void HideAndShowMainWindowOnce() {
    const MainWindowParts& w = g_parts;
    ASSERT_NE(w.main, nullptr) << "the row runs without its main window";
    Click(w.main, w.cancel);
    ASSERT_FALSE(IsWindowVisible(w.main)) << "Cancel left the main window shown";
    test::Pump();
    // A left click on the notification icon, as the shell reports it (the icon's id, which the
    // window does not read, and the mouse message).
    SendMessageW(w.main, kMsgTrayIcon, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(ShownAndPainted(w.main)) << "the icon did not show the main window again";
    Click(w.main, w.advancedTab);
    ASSERT_FALSE(IsWindowVisible(w.buttonPage)) << "the advanced tab left the button page shown";
    ASSERT_TRUE(ShownAndPainted(w.advancedPage)) << "the advanced tab did not show its page";
    Click(w.main, w.basicTab);
    ASSERT_FALSE(IsWindowVisible(w.advancedPage)) << "the basic tab left the advanced page shown";
    ASSERT_TRUE(ShownAndPainted(w.buttonPage)) << "the basic tab did not show the button page";
}

// On a thread timer inside the main window's loop: once the window shows with the mouse
// connected and both pages built, runs the row's cycles, then closes the window.
void CALLBACK RunCyclesOnceShown(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND main = App().mainWindow;
    if (g_rowCycles == nullptr || main == nullptr || !IsWindow(main)) {
        return;
    }
    const std::vector<HWND> pages = test::MainWindowPages(main);
    // The first apply holds the mouse while it sends.
    const bool ready = IsWindowVisible(main) && pages.size() == 2 && GetCapture() != main;
    if (!ready && GetTickCount() - g_rowStart < 20000) {
        return;
    }
    KillTimer(nullptr, timer);
    const std::function<void()>* cycles = std::exchange(g_rowCycles, nullptr);
    if (!ready) {
        ADD_FAILURE() << "the main window did not show with the mouse plugged and both pages";
    } else {
        g_parts.main = main;
        g_parts.cancel = MainWindowControl(main, 4);
        g_parts.basicTab = MainWindowControl(main, 1);
        g_parts.advancedTab = MainWindowControl(main, 2);
        g_parts.buttonPage = IsWindowVisible(pages[0]) ? pages[0] : pages[1];
        g_parts.advancedPage = g_parts.buttonPage == pages[0] ? pages[1] : pages[0];
        const MainWindowParts& w = g_parts;
        if (w.cancel == nullptr || w.basicTab == nullptr || w.advancedTab == nullptr ||
            w.cancel == w.basicTab || w.basicTab == w.advancedTab ||
            IsWindowVisible(w.advancedPage)) {
            ADD_FAILURE() << "Cancel, the two tabs or the pages of the main window not found";
        } else {
            (*cycles)();
        }
    }
    g_parts = MainWindowParts{};
    PostMessageW(main, WM_CLOSE, 0, 0);
}

// The main window as the program runs it with the mouse plugged, kept open for a row's cycles.
void WithMainWindowShown(const std::function<void()>& cycles) {
    test::VirtualMouseServer mouse;
    ASSERT_TRUE(mouse.Serving()) << "vmouse serve did not come up";
    ASSERT_EQ(test::RunVmouse(L"plug 2").exitCode, 0u);
    auto store = std::make_unique<ProfileStore>();
    auto library = std::make_unique<MacroLibrary>();
    {
        CConfigDlg dialog(*store, *library);
        g_rowCycles = &cycles;
        g_rowStart = GetTickCount();
        const UINT_PTR timer = SetTimer(nullptr, 0, 15, RunCyclesOnceShown);
        dialog.DoModal(nullptr);
        KillTimer(nullptr, timer);
        g_rowCycles = nullptr;
    }
    App().mainWindow = nullptr;
}

struct Row {
    const char* name;
    std::function<void()> openAndCloseOnce;
    // For a row whose action needs something kept open all along: runs the row's cycles (and
    // the counts around them) inside it.
    std::function<void(const std::function<void()>& cycles)> within = nullptr;
};

const Row kRows[] = {
    {"ResetConfirmation",
     [] {
         CWarnDlg dialog(L"Reset all five profiles to their defaults?");
         RunWarning(dialog, Owner());
     }},
    {"ClickWarning",
     [] {
         CWarnClickDlg dialog;
         RunWarning(dialog, Owner());
     }},
    {"MacroSetWarning",
     [] {
         CWarnMacroSet dialog;
         RunWarning(dialog, Owner());
     }},
    {"NoMouseWarning",
     [] {
         CWarnNoMouseDlg dialog;
         RunWarning(dialog, nullptr);
     }},
    {"DeleteMacroWarning",
     [] {
         CDeleteMacroWarn dialog;
         RunWarning(dialog, Owner());
     }},
    {"OwnerDrawnMenu", TrackMenu},
    {"ShortcutDialog",
     [] {
         CShortCutDlg dialog(ActiveKeyboardLayout(), ProcessKeyboardCapture());
         RunButtonPageDialog(dialog);
     }},
    {"SelectMacroDialog",
     [] {
         CSelectMacroDlg dialog(SomeMacros());
         RunButtonPageDialog(dialog);
     }},
    {"ButtonPage",
     [] {
         ProfileStore store;
         CButtonDlg page(store, SomeMacros());
         RunPage(page);
     }},
    {"AdvancedPage",
     [] {
         ProfileStore store;
         MacroLibrary library = SomeMacros();
         CSensitivityDlg page(store, library);
         RunPage(page);
     }},
    {"ButtonPageFunctionMenu",
     [] {
         ProfileStore store;
         CButtonDlg page(store, SomeMacros());
         RunPage<CButtonDlg>(page, [](CButtonDlg& shown) {
             TrackPageMenu([&shown] {
                 SendMessageW(shown.Hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                              reinterpret_cast<LPARAM>(shown.AssignmentButton(0)));
             });
         });
     }},
    {"AdvancedPageEventMenu",
     [] {
         ProfileStore store;
         MacroLibrary library = SomeMacros();
         CSensitivityDlg page(store, library);
         RunPage<CSensitivityDlg>(page, [](CSensitivityDlg& shown) {
             TrackPageMenu(
                 [&shown] { SendMessageW(shown.Hwnd(), kMsgListRightButton, 0, kEventsListId); });
         });
     }},
    {"MainWindow", RunMainWindow},
    {"MainWindowHiddenAndShownWithBothPages", HideAndShowMainWindowOnce, WithMainWindowShown},
};

// ---- The process as the program sets it up: GDI+ and the menu-frame hook, the product's skins
// and language library beside the executable (the main window finds them there itself).

class ProgramEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
        InstallMenuFrameHook();
    }
    void TearDown() override {
        RemoveMenuFrameHook();
        Gdiplus::GdiplusShutdown(token_);
    }

  private:
    ULONG_PTR token_ = 0;
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

class GuiResources : public ::testing::TestWithParam<Row> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(InitAppFolders());
        ASSERT_TRUE(LoadLanguageLibrary()) << "lan.dll beside the test";
    }
    void TearDown() override { App().language.Reset(); }
};

TEST_P(GuiResources, OpeningAndClosingTwoHundredTimesLeavesNoObjectBehind) {
    const Row& row = GetParam();
    Counts before;
    Counts after;
    bool counted = false;
    const auto cycles = [&] {
        // The first time creates what lives for the process: window classes, cached fonts and
        // pictures of the system, GDI+'s own objects.
        row.openAndCloseOnce();
        test::Pump();
        before = Measure();
        for (int i = 0; i < kCycles && !HasFatalFailure(); ++i) {
            row.openAndCloseOnce();
        }
        test::Pump();
        after = Measure();
        counted = !HasFatalFailure();
    };
    if (row.within) {
        row.within(cycles);
    } else {
        cycles();
    }
    ASSERT_TRUE(counted) << "the cycles did not run to the end";

    RecordProperty("gdi_count", before.gdiReported ? "GetGuiResources" : "Wine GDI table");
    RecordProperty("user_count", before.userReported ? "GetGuiResources" : "Wine user table");
    std::printf("%s: GDI %lu -> %lu (%s), USER %lu -> %lu (%s)\n", row.name, before.gdi, after.gdi,
                before.gdiReported ? "GetGuiResources" : "Wine GDI table", before.user, after.user,
                before.userReported ? "GetGuiResources" : "windows and menus in Wine's table");
    EXPECT_GT(before.gdi, 0u) << "nothing was counted";
    // A row may leave no window at all behind (the main window, once closed, leaves none since
    // no picture goes through COM, whose apartment kept a window): the count must see one.
    {
        const DWORD without = Measure().user;
        HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     nullptr, nullptr);
        EXPECT_GT(Measure().user, without) << "a live window was not counted";
        DestroyWindow(probe);
    }
    EXPECT_EQ(after.gdi, before.gdi)
        << "GDI objects after " << kCycles << " cycles"
        << (before.gdiReported ? "" : ": " + CensusChange(before.gdiByType, after.gdiByType));
    EXPECT_EQ(after.user, before.user) << "USER objects after " << kCycles << " cycles";
}

INSTANTIATE_TEST_SUITE_P(DialogsAndMenus, GuiResources, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace t30
