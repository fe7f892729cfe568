// The main window's pages, for the tests that run the main window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace t30::test {

// The pages are dialogs among the main window's children; the advanced page appears once the
// window has painted.
inline std::vector<HWND> MainWindowPages(HWND main) {
    std::vector<HWND> pages;
    for (HWND child = GetWindow(main, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(child, cls, 16);
        if (std::wstring(cls) == L"#32770") {
            pages.push_back(child);
        }
    }
    return pages;
}

}  // namespace t30::test
