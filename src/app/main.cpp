#include <windows.h>

#include "app/config_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    t30::CConfigApp app;
    return app.Run();
}
