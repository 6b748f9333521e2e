// The start-up picture closes itself on its timer's first tick.
#include "app/SplashDlg.h"

#include "res/resource.h"

namespace {
constexpr UINT_PTR kTimerId = 0;
}

CSplashDlg::CSplashDlg() : CDialog(IDD_SPLASH), m_picture(IDB_SPLASH) {}

BOOL CSplashDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The template's only control is the picture.
    m_pictureControl = GetWindow(m_hWnd, GW_CHILD);
    m_picture.ShowIn(m_pictureControl);
    SetTimer(m_hWnd, kTimerId, kDisplayMilliseconds, nullptr);
    return TRUE;
}

bool CSplashDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_TIMER:
            if (wParam != kTimerId) break;
            KillTimer(m_hWnd, kTimerId);
            EndDialog(0);
            return false;  // default processing too
        case WM_CTLCOLORSTATIC:
            // The picture takes its colours; the brush stays the default one.
            if (reinterpret_cast<HWND>(lParam) == m_pictureControl) {
                m_picture.SelectInto(reinterpret_cast<HDC>(wParam));
            }
            return false;
        case WM_QUERYNEWPALETTE:
            result = m_picture.Realize(m_pictureControl);
            return true;
        case WM_PALETTECHANGED:
            // Changes made for the picture itself are already drawn.
            if (reinterpret_cast<HWND>(wParam) != m_hWnd &&
                reinterpret_cast<HWND>(wParam) != m_pictureControl) {
                m_picture.Realize(m_pictureControl);
            }
            return true;
        default:
            break;
    }
    return CDialog::HandleMessage(message, wParam, lParam, result);
}
