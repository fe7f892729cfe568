// Process-wide values every window uses: the application and skin folders, the language library
// and the main window. Set once while the main window is created; read everywhere else.
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/gdi.h"

namespace t30 {

struct AppGlobals {
    std::wstring appFolder;   // folder of the executable, ending in a backslash
    std::wstring skinFolder;  // appFolder + "skins\"
    Library language;         // "lan.dll" of the application folder; may be empty
    HWND mainWindow = nullptr;
};

AppGlobals& App();

// Fills appFolder and skinFolder from the running executable. False (folders left empty) when the
// path does not fit the 260 characters the program allows for it.
bool InitAppFolders();
// Sets the folders from a given folder (tests, tools); a missing final backslash is added.
void SetAppFolder(std::wstring folder);
// Loads appFolder + "lan.dll" as a resource-only image (no code of it runs). A missing library
// leaves the handle empty; every text then reads as empty.
bool LoadLanguageLibrary();

}  // namespace t30
