// The application object: one instance per desktop session, whose whole life is the main window.
#pragma once

#include <windows.h>

namespace t30 {

constexpr wchar_t kSingleInstanceMutex[] = L"VANTREL_T-30_Gaming_Mouse_Driver_Option_Mutex";

class CConfigApp {
  public:
    // Runs the program; the process exit code.
    int Run();
};

}  // namespace t30
