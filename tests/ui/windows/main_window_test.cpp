// The main window as the program runs it, with the product's skins and language library.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "macro/macro_library.h"
#include "main_window_pages.h"
#include "profile/profile_store.h"
#include "ui/framework/app_globals.h"
#include "ui/windows/config_dlg.h"

namespace t30 {
namespace {

using test::MainWindowPages;

bool Shown(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The main window as the program runs it, with `watch` called every `periodMs` on its thread
// until the watch closes it.
void RunMainWindowWith(TIMERPROC watch, UINT periodMs) {
    auto store = std::make_unique<ProfileStore>();
    auto library = std::make_unique<MacroLibrary>();
    {
        CConfigDlg dialog(*store, *library);
        const UINT_PTR timer = SetTimer(nullptr, 0, periodMs, watch);
        dialog.DoModal(nullptr);
        KillTimer(nullptr, timer);
    }
    App().mainWindow = nullptr;
}

struct EarlyClick {
    bool done = false;
    std::size_t pagesBefore = 0;
    HWND buttonPage = nullptr;
    std::vector<std::pair<HWND, bool>> pagesAfter;  // each page and whether it shows
};
EarlyClick g_click;

// The first tick comes as soon as the main window's loop runs, before the window's own timers.
void CALLBACK ClickAdvancedTab(HWND, UINT, UINT_PTR, DWORD) {
    const HWND main = App().mainWindow;
    if (g_click.done || main == nullptr || !IsWindow(main)) {
        return;
    }
    g_click.done = true;
    const std::vector<HWND> before = MainWindowPages(main);
    g_click.pagesBefore = before.size();
    g_click.buttonPage = before.empty() ? nullptr : before.front();
    // The advanced tab is entry 2 of "skin_main.ini": 194,50,170,34.
    const HWND tab = ChildWindowFromPoint(main, POINT{194 + 85, 50 + 17});
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(tab));
    for (HWND page : MainWindowPages(main)) {
        g_click.pagesAfter.push_back({page, Shown(page)});
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(MainWindow, AdvancedTabShowsItsPageEvenBeforeThePageIsBuilt) {
    g_click = EarlyClick{};
    RunMainWindowWith(ClickAdvancedTab, 1);
    ASSERT_TRUE(g_click.done);
    ASSERT_EQ(g_click.pagesBefore, 1u) << "the hidden page was already built: nothing tested";
    ASSERT_EQ(g_click.pagesAfter.size(), 2u) << "the advanced page was not built on demand";
    int shown = 0;
    for (const auto& [page, visible] : g_click.pagesAfter) {
        if (visible) {
            ++shown;
            EXPECT_NE(page, g_click.buttonPage) << "the button page still shows";
        }
    }
    EXPECT_EQ(shown, 1);
}

struct LateBuild {
    bool built = false;
    bool focusInPage = false;
};
LateBuild g_late;

void CALLBACK WatchTheLatePage(HWND, UINT, UINT_PTR, DWORD) {
    const HWND main = App().mainWindow;
    if (main == nullptr || !IsWindow(main) || g_late.built) {
        return;
    }
    const std::vector<HWND> pages = MainWindowPages(main);
    if (pages.size() < 2) {
        return;
    }
    g_late.built = true;
    const HWND focus = GetFocus();
    for (HWND page : pages) {
        g_late.focusInPage |= !Shown(page) && focus != nullptr && IsChild(page, focus);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(MainWindow, BuildingTheHiddenPageLeavesTheKeyboardWhereItWas) {
    g_late = LateBuild{};
    RunMainWindowWith(WatchTheLatePage, 10);
    ASSERT_TRUE(g_late.built) << "the advanced page was never built";
    EXPECT_FALSE(g_late.focusInPage) << "a field of the hidden page took the keyboard";
}

// What the system's minimise and maximise commands (a taskbar's, a window menu's) did to the main
// window and to its button page: each is recorded as "iconic" or "zoomed" when it took effect.
struct SystemCommands {
    bool done = false;
    std::vector<std::string> effects;
};
SystemCommands g_commands;

void CALLBACK SendSystemCommands(HWND, UINT, UINT_PTR, DWORD) {
    const HWND main = App().mainWindow;
    if (g_commands.done || main == nullptr || !IsWindow(main)) {
        return;
    }
    g_commands.done = true;
    const std::vector<HWND> pages = MainWindowPages(main);
    const HWND page = pages.empty() ? nullptr : pages.front();
    struct Case {
        HWND window;
        const char* name;
        WPARAM command;
    };
    for (const Case& c : {Case{main, "main", SC_MINIMIZE}, Case{main, "main", SC_MAXIMIZE},
                          Case{page, "page", SC_MINIMIZE}, Case{page, "page", SC_MAXIMIZE}}) {
        if (c.window == nullptr) {
            g_commands.effects.push_back(std::string("no ") + c.name);
            continue;
        }
        RECT before{};
        GetWindowRect(c.window, &before);
        SendMessageW(c.window, WM_SYSCOMMAND, c.command, 0);
        RECT after{};
        GetWindowRect(c.window, &after);
        const std::string what =
            std::string(c.name) + (c.command == SC_MINIMIZE ? " minimise" : " maximise");
        if (IsIconic(c.window)) {
            g_commands.effects.push_back(what + ": iconic");
        }
        if (IsZoomed(c.window)) {
            g_commands.effects.push_back(what + ": zoomed");
        }
        if (!EqualRect(&before, &after)) {
            g_commands.effects.push_back(what + ": moved or resized");
        }
        ShowWindow(c.window, SW_RESTORE);
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(MainWindow, SystemMinimiseAndMaximiseAreIgnored) {
    g_commands = SystemCommands{};
    RunMainWindowWith(SendSystemCommands, 10);
    ASSERT_TRUE(g_commands.done);
    EXPECT_EQ(g_commands.effects, std::vector<std::string>{});
}

}  // namespace
}  // namespace t30
