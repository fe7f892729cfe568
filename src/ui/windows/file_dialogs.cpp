#include "ui/windows/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace t30 {
namespace {

std::optional<std::wstring> Ask(HWND owner, const FileDialogRequest& dialog, bool save) {
    // The dialog wants NUL-separated pairs ending in two NULs.
    std::wstring filter = dialog.filter;
    for (wchar_t& c : filter) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    filter.push_back(L'\0');

    // Big enough for a multiple selection of one file, which is all the program takes.
    std::vector<wchar_t> file(32768, L'\0');
    dialog.initialPath.copy(file.data(), std::min(dialog.initialPath.size(), file.size() - 1));
    std::wstring folder;
    std::wstring name = dialog.initialPath;
    const auto slash = dialog.initialPath.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        folder = dialog.initialPath.substr(0, slash);
        name = dialog.initialPath.substr(slash + 1);
        std::fill(file.begin(), file.end(), L'\0');
        name.copy(file.data(), std::min(name.size(), file.size() - 1));
    }

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = dialog.defaultExtension.c_str();
    ofn.Flags = dialog.options | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) {
        return std::nullopt;
    }
    // One file selected: the buffer holds its full path. Several: the folder, then the names,
    // each ending in NUL; the program binds the first.
    std::wstring first(file.data());
    const wchar_t* next = file.data() + first.size() + 1;
    if (*next != L'\0') {
        first += L'\\';
        first += next;
    }
    return first;
}

}  // namespace

std::optional<std::wstring> AskOpenFile(HWND owner, const FileDialogRequest& dialog) {
    return Ask(owner, dialog, false);
}

std::optional<std::wstring> AskSaveFile(HWND owner, const FileDialogRequest& dialog) {
    return Ask(owner, dialog, true);
}

FileDialogRequest ProfileFileDialog(const std::wstring& appFolder, bool forOpening) {
    DWORD options = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (forOpening) {
        options |= OFN_FILEMUSTEXIST;
    }
    return {L"Gaming Mouse Profile(*.gmp)|*.gmp|", L"gmp", appFolder + L"config\\.gmp", options};
}

FileDialogRequest ProgramFileDialog() {
    wchar_t desktop[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    return {L"exe file(*.exe)|*.EXE|", L"exe", std::wstring(desktop) + L"\\.exe",
            OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST};
}

}  // namespace t30
