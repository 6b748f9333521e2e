// The About box reads its version texts from the program's own version
// resource: each control's initial text names the version string it shows.
#include "ui/AboutDlg.h"

#include <vector>

#include "app/VornelApp.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(HWND owner) : CDialog(IDD_ABOUTBOX, owner) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    theApp.SetItemLanguageText(text::kIDOK, IDOK, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_STATIC2, IDC_STATIC2, m_hWnd);
    ShowVersionInfo();
    return TRUE;
}

void CAboutDlg::ShowVersionInfo() {
    // A name that fills the buffer may have been cut short: reading the version of
    // some other file would be worse than showing none.
    char path[MAX_PATH] = {};
    const DWORD pathLength = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (pathLength == 0 || pathLength >= MAX_PATH) return;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return;

    for (int control : {IDC_LEGAL_COPYRIGHT, IDC_FILE_VERSION}) {
        char name[256] = {};
        ::GetDlgItemTextA(m_hWnd, control, name, 255);
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        char* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value),
                           &length) &&
            length != 0 && value != nullptr) {
            ::SetDlgItemTextA(m_hWnd, control, value);
        }
    }
}
