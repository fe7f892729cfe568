// Every dialog and pop-up menu of the program opened and closed 200 times, drawn from the
// product's own skins: the process's GDI and USER objects must end where they started.
//
// Windows counts them with GetGuiResources. Wine 8 answers 0 for both (the call is not
// implemented there), so under Wine the counts are taken from Wine's own handle tables instead:
// every live GDI object of the process (win_test_support.h), and every window and menu of the
// process. Each case says which count it used.
//
// One row per "open and close once" action: a new dialog or menu is one more row.
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
#include <functional>
#include <memory>
#include <string>

#include "host/keyboard_hook_win32.h"
#include "keys/keyboard_layout_win32.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/controls/ex_menu.h"
#include "ui/framework/app_globals.h"
#include "ui/windows/button_dlg.h"
#include "ui/windows/config_dlg.h"
#include "ui/windows/select_macro_dlg.h"
#include "ui/windows/sensitivity_dlg.h"
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

// The main window's pages are dialogs among its children.
int g_pagesBeforeClose = 0;
int PageCount(HWND main) {
    int pages = 0;
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        pages += std::wstring(cls) == L"#32770" ? 1 : 0;
    }
    return pages;
}

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
        if (PageCount(App().mainWindow) < g_pagesBeforeClose) {
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

struct Row {
    const char* name;
    std::function<void()> openAndCloseOnce;
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
    // The first time creates what lives for the process: window classes, cached fonts and
    // pictures of the system, GDI+'s own objects.
    row.openAndCloseOnce();
    test::Pump();
    const Counts before = Measure();
    for (int i = 0; i < kCycles && !HasFatalFailure(); ++i) {
        row.openAndCloseOnce();
    }
    test::Pump();
    const Counts after = Measure();

    RecordProperty("gdi_count", before.gdiReported ? "GetGuiResources" : "Wine GDI table");
    RecordProperty("user_count", before.userReported ? "GetGuiResources" : "Wine user table");
    std::printf("%s: GDI %lu -> %lu (%s), USER %lu -> %lu (%s)\n", row.name, before.gdi, after.gdi,
                before.gdiReported ? "GetGuiResources" : "Wine GDI table", before.user, after.user,
                before.userReported ? "GetGuiResources" : "windows and menus in Wine's table");
    EXPECT_GT(before.gdi, 0u) << "nothing was counted";
    EXPECT_GT(before.user, 0u) << "nothing was counted";
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
