// The application object: one instance per desktop session, whose whole life is the main window.
#pragma once

#include <windows.h>

namespace t30 {

constexpr wchar_t kSingleInstanceMutex[] = L"VANTREL_T-30_Gaming_Mouse_Driver_Option_Mutex";
// A second start finds the first by its main window's title (language string 1111).
constexpr wchar_t kMainWindowTitle[] = L"VANTREL T-30";

class CConfigApp {
  public:
    // Runs the program; the process exit code.
    int Run();
};

}  // namespace t30
