// Message boxes captioned with the application's name.
#pragma once

#include <windows.h>

#include <string>

// MessageBoxA with the application's name (CWinApp::AppName) as the caption.
// A child owner is replaced by its top-level window. Returns the button pressed.
int AppMessageBox(HWND owner, const std::string& text, UINT style);
