// Message boxes captioned with the application's name.
#include "framework/MessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

int AppMessageBox(HWND owner, const std::string& text, UINT style) {
    const std::string caption = ApplicationName();
    return MessageBoxA(TopLevelWindow(owner), text.c_str(), caption.c_str(), style);
}
