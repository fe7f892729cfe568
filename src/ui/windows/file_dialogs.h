// The open and save dialogs of the main window (profile files, the bound program).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace t30 {

struct FileDialogRequest {
    // Pairs separated by '|' as in "Gaming Mouse Profile(*.gmp)|*.gmp|".
    std::wstring filter;
    std::wstring defaultExtension;
    // Folder and proposed name in one path, e.g. "C:\app\config\.gmp".
    std::wstring initialPath;
    DWORD options;
};

// The chosen path, or nothing when the user cancels.
std::optional<std::wstring> AskOpenFile(HWND owner, const FileDialogRequest& dialog);
std::optional<std::wstring> AskSaveFile(HWND owner, const FileDialogRequest& dialog);

FileDialogRequest ProfileFileDialog(const std::wstring& appFolder, bool forOpening);
FileDialogRequest ProgramFileDialog();

}  // namespace t30
