#include "ui/framework/app_globals.h"

namespace t30 {

AppGlobals& App() {
    static AppGlobals globals;
    return globals;
}

void SetAppFolder(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    App().appFolder = folder;
    App().skinFolder = folder + L"skins\\";
}

bool InitAppFolders() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return false;
    }
    std::wstring folder(path, n);
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    if (folder.size() + 6 >= MAX_PATH) {  // "skins\" must still fit
        return false;
    }
    SetAppFolder(folder);
    return true;
}

bool LoadLanguageLibrary() {
    const std::wstring path = App().appFolder + L"lan.dll";
    App().language.Reset(LoadLibraryExW(path.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    return static_cast<bool>(App().language);
}

}  // namespace t30
