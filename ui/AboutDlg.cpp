// The About box reads its version texts from the program's own version
// resource: each control's initial text names the version string it shows.
#include "ui/AboutDlg.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/VornelApp.h"
#include "res/resource.h"
#include "ui/VersionResource.h"

CAboutDlg::CAboutDlg(HWND owner) : CDialog(IDD_ABOUTBOX, owner) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    theApp.SetItemLanguageText(text::kIDOK, IDOK, m_hWnd);
    theApp.SetItemLanguageText(text::kIDC_STATIC2, IDC_STATIC2, m_hWnd);
    ShowVersionInfo();
    return TRUE;
}

void CAboutDlg::ShowVersionInfo() {
    // The program's own resource, read in place: the version library would be one more
    // DLL to load, found by the search order like any other.
    const HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return;
    const std::span<const std::uint8_t> block(static_cast<const std::uint8_t*>(data),
                                              SizeofResource(module, found));

    for (int control : {IDC_LEGAL_COPYRIGHT, IDC_FILE_VERSION}) {
        char name[256] = {};
        ::GetDlgItemTextA(m_hWnd, control, name, 255);
        const std::optional<std::u16string> value = version::FindString(block, "040904b0", name);
        if (!value || value->empty()) continue;
        // Shown in the system's ANSI code page, as the rest of the program's texts.
        std::wstring wide(value->begin(), value->end());
        const int size =
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (size <= 1) continue;
        std::string text(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), size, nullptr, nullptr);
        ::SetDlgItemTextA(m_hWnd, control, text.c_str());
    }
}
