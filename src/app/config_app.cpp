#include "app/config_app.h"

#include <commctrl.h>
#include <memory>

#include "base/unique_handle_win32.h"
#include "macro/macro_library.h"
#include "profile/profile_store.h"
#include "ui/controls/ex_menu.h"
#include "ui/windows/config_dlg.h"

namespace t30 {
namespace {

// The named mutex, held (not owned) for the life of the first instance.
class InstanceMutex {
  public:
    InstanceMutex() : handle_(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex)) {
        alreadyRunning_ = handle_ && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    bool AlreadyRunning() const { return alreadyRunning_; }

  private:
    KernelHandle handle_;
    bool alreadyRunning_ = false;
};

// The dark frame of every pop-up menu, for the life of the program.
// Its hook costs a little on every window made, which adds up while the main window builds
// itself; the main window installs it once it has painted (and before any menu). It goes when
// the program ends.
class MenuFrameHook {
  public:
    MenuFrameHook() = default;
    ~MenuFrameHook() { RemoveMenuFrameHook(); }
    MenuFrameHook(const MenuFrameHook&) = delete;
    MenuFrameHook& operator=(const MenuFrameHook&) = delete;
};

// GDI+ starts with the first menu (MenuFont) and ends here, after every window.
class GdiplusEnd {
  public:
    GdiplusEnd() = default;
    ~GdiplusEnd() { StopGdiplus(); }
    GdiplusEnd(const GdiplusEnd&) = delete;
    GdiplusEnd& operator=(const GdiplusEnd&) = delete;
};

}  // namespace

int CConfigApp::Run() {
    // Libraries come from the system folder or by full path only, never from wherever the
    // program was started.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    InstanceMutex mutex;
    if (mutex.AlreadyRunning()) {
        if (HWND first = FindWindowW(nullptr, kMainWindowTitle)) {
            PostMessageW(first, kMsgShowMainWindow, 0, 0);
        }
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    MenuFrameHook menuFrames;
    GdiplusEnd gdiplus;

    // 200 KB of profiles and the macro library live as long as the window that edits them.
    auto store = std::make_unique<ProfileStore>();
    auto library = std::make_unique<MacroLibrary>();
    {
        CConfigDlg dialog(*store, *library);
        dialog.DoModal(nullptr);
    }
    return 0;
}

}  // namespace t30
