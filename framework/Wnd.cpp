// CWnd: text and item helpers over a window handle.
#include "framework/Wnd.h"

#include <stdexcept>
#include <vector>

HWND RequireDlgItem(HWND dialog, int controlId) {
    HWND item = dialog ? ::GetDlgItem(dialog, controlId) : nullptr;
    if (!item) {
        throw std::logic_error("no control with id " + std::to_string(controlId) +
                               (dialog ? " in the window" : ": no window"));
    }
    return item;
}

std::string WindowText(HWND window) {
    if (!window) return {};
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

HWND TopLevelWindow(HWND window) {
    while (window && (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(window);
        if (!parent) break;
        window = parent;
    }
    return window;
}

void CWnd::SetWindowText(const std::string& text) {
    ::SetWindowTextA(m_hWnd, text.c_str());
}

HWND CWnd::GetDlgItem(int controlId) const {
    return RequireDlgItem(m_hWnd, controlId);
}

void CWnd::SetDlgItemText(int controlId, const std::string& text) {
    ::SetWindowTextA(GetDlgItem(controlId), text.c_str());
}

std::string CWnd::GetDlgItemText(int controlId) const {
    return WindowText(GetDlgItem(controlId));
}

void CWnd::EnableDlgItem(int controlId, bool enable) {
    EnableWindow(GetDlgItem(controlId), enable ? TRUE : FALSE);
}

UnsignedReading CWnd::GetDlgItemUnsigned(int controlId) const {
    return exchange::ReadUnsignedItemText(WindowText(GetDlgItem(controlId)));
}

void CWnd::SetDlgItemUnsigned(int controlId, std::uint32_t value) {
    SetDlgItemText(controlId, std::to_string(value));
}

void CWnd::ShowDlgItem(int controlId, bool show) {
    ShowWindow(GetDlgItem(controlId), show ? SW_SHOW : SW_HIDE);
}

bool CWnd::IsDlgItemChecked(int controlId) const {
    return SendMessageA(GetDlgItem(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CWnd::SetDefaultButton(int controlId) {
    SendMessageA(m_hWnd, DM_SETDEFID, static_cast<WPARAM>(controlId), 0);
}

void CWnd::AddListRow(int controlId, const std::string& text) {
    SendMessageA(GetDlgItem(controlId), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CWnd::SetListTabStops(int controlId, const int* stops, int count) {
    SendMessageA(GetDlgItem(controlId), LB_SETTABSTOPS, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(stops));
}
