// The message probe: a DLL that the end-to-end driver hooks into a thread of the
// program under test (WH_GETMESSAGE), so that the driver learns when that thread has
// taken one of the driver's markers from its queue, and so has handled everything
// queued before it. The marker is turned into WM_NULL; nothing else is touched.
#include "probe/MessageProbe.h"

#include <windows.h>

namespace {

LRESULT CALLBACK OnMessageTaken(int code, WPARAM removal, LPARAM message) {
    static UINT marker = 0;
    if (marker == 0) marker = RegisterWindowMessageA(VORNEL_PROBE_MARKER);
    auto* taken = reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && marker != 0 && taken->message == marker &&
        taken->hwnd == nullptr) {
        char name[64];
        wsprintfA(name, VORNEL_PROBE_EVENT_FORMAT, static_cast<unsigned long>(taken->wParam),
                  static_cast<unsigned long>(taken->lParam));
        if (HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name)) {
            SetEvent(event);
            CloseHandle(event);
        }
        taken->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

}  // namespace

// Undecorated on every target, unlike the stdcall procedure itself ("...@12" on i686).
extern "C" __declspec(dllexport) HOOKPROC VornelProbeHook() {
    return OnMessageTaken;
}
