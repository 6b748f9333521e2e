// CWinApp: the application object; the framework's WinMain runs its InitInstance.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    // Registers this object as the application (there is one per program).
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once by WinMain, inside an exception boundary; it runs the whole
    // program. The result is not examined: the program ends when it returns.
    virtual BOOL InitInstance() = 0;

    // The executable's base name without its extension ("Vornel").
    const std::string& AppName() const;

    static CWinApp* Current();

    HINSTANCE m_hInstance = nullptr;  // set by WinMain before InitInstance
    CWnd* m_pMainWnd = nullptr;       // owner of modal runs that name no parent

private:
    mutable std::string m_appName;
};

// The application's name: CWinApp::AppName() when an application object
// exists, else the running executable's base name (test programs).
std::string ApplicationName();

// The module that holds the program's resources.
HINSTANCE ApplicationInstance();

// The window that owns modal runs that name no parent: the application's main
// window while it exists, else null.
HWND ApplicationMainWindow();

// The executable's base name without extension, from a module path.
std::string ModuleBaseName(const std::string& modulePath);
