// The program's entry point: loads the common controls and runs the application
// object's InitInstance.
#include <windows.h>

#include "framework/CallbackGuard.h"
#include "framework/CommonControls.h"
#include "framework/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Every dialog of the program needs them; the language texts are not read yet.
    if (comctl::Get() == nullptr) {
        MessageBoxA(nullptr, "The common controls library (comctl32.dll) could not be loaded.",
                    nullptr, MB_OK | MB_ICONERROR);
        return 1;
    }
    CWinApp* app = CWinApp::Current();
    if (!app) return 0;
    app->m_hInstance = instance;
    app->AppName();
    try {
        app->InitInstance();
    } catch (...) {
        ReportCurrentException("InitInstance");
    }
    return 0;
}
