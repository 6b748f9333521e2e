// The program's entry point: prepares the common controls and runs the
// application object's InitInstance.
#include <windows.h>

#include <commctrl.h>

#include "framework/CallbackGuard.h"
#include "framework/WinApp.h"

namespace {

// InitCommonControlsEx is missing from the first common-controls releases,
// so it is looked up rather than imported; the extended combo box needs it.
void InitCommonControlClasses() {
    InitCommonControls();
    HMODULE library = GetModuleHandleA("comctl32.dll");
    if (!library) return;
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto initEx = reinterpret_cast<InitEx>(
        reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    if (!initEx) return;
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_USEREX_CLASSES | ICC_WIN95_CLASSES;
    initEx(&classes);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControlClasses();
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
