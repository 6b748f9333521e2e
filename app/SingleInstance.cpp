// The named mutex that stands for the running Vornel, and the mark on its main window.
#include "app/SingleInstance.h"

namespace {

// Named objects without a backslash live in the session's own namespace on Terminal
// Services and in the only one everywhere else (NT 4.0 refuses a "Local\" prefix).
constexpr char kMutexName[] = "Vornel.Running";
constexpr char kMainWindowMark[] = "Vornel.MainWindow";

// The claim: held open until the program ends, when the system releases it anyway.
struct Claim {
    HANDLE mutex = nullptr;
    ~Claim() {
        if (mutex != nullptr) CloseHandle(mutex);
    }
};

BOOL CALLBACK FindMarked(HWND window, LPARAM found) {
    if (GetPropA(window, kMainWindowMark) == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void BringForward(HWND main) {
    if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
    // The wizard or a message box over the main dialog is what the user works in.
    SetForegroundWindow(GetLastActivePopup(main));
}

}  // namespace

bool instance::ClaimOrActivateRunning() {
    static Claim claim;
    if (claim.mutex != nullptr) return true;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    const bool another = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    if (!another) {
        // Without a mutex (out of resources) nothing can tell: this one runs.
        claim.mutex = mutex;
        return true;
    }
    CloseHandle(mutex);
    HWND running = nullptr;
    EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&running));
    // Still showing its picture: its dialog comes up by itself in a moment.
    if (running != nullptr) BringForward(running);
    return false;
}

void instance::MarkMainWindow(HWND window) {
    SetPropA(window, kMainWindowMark, reinterpret_cast<HANDLE>(1));
}

void instance::UnmarkMainWindow(HWND window) {
    RemovePropA(window, kMainWindowMark);
}
