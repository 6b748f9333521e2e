// CWinApp: the one application object and what modal runs ask of it.
#include "framework/WinApp.h"

#include "framework/Wnd.h"

namespace {
CWinApp* g_application = nullptr;

std::string RunningModulePath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : MAX_PATH);
}
}  // namespace

CWinApp::CWinApp() {
    g_application = this;
}

CWinApp::~CWinApp() {
    if (g_application == this) g_application = nullptr;
}

const std::string& CWinApp::AppName() const {
    if (m_appName.empty()) m_appName = ModuleBaseName(RunningModulePath());
    return m_appName;
}

CWinApp* CWinApp::Current() {
    return g_application;
}

std::string ApplicationName() {
    if (CWinApp* app = CWinApp::Current()) return app->AppName();
    return ModuleBaseName(RunningModulePath());
}

HINSTANCE ApplicationInstance() {
    CWinApp* app = CWinApp::Current();
    if (app && app->m_hInstance) return app->m_hInstance;
    return GetModuleHandleA(nullptr);
}

HWND ApplicationMainWindow() {
    CWinApp* app = CWinApp::Current();
    if (!app || !app->m_pMainWnd) return nullptr;
    HWND window = app->m_pMainWnd->m_hWnd;
    return window && IsWindow(window) ? window : nullptr;
}

std::string ModuleBaseName(const std::string& modulePath) {
    const std::size_t slash = modulePath.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}
