// The start-up picture closes itself on its timer's first tick.
#include "app/SplashDlg.h"

#include "res/resource.h"

namespace {
constexpr UINT_PTR kTimerId = 0;
}

CSplashDlg::CSplashDlg() : CDialog(IDD_SPLASH) {}

BOOL CSplashDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetTimer(m_hWnd, kTimerId, kDisplayMilliseconds, nullptr);
    return TRUE;
}

bool CSplashDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_TIMER && wParam == kTimerId) {
        KillTimer(m_hWnd, kTimerId);
        EndDialog(0);
        return false;  // default processing too
    }
    return CDialog::HandleMessage(message, wParam, lParam, result);
}
