// CWnd: text and item helpers over a window handle.
#include "framework/Wnd.h"

#include <vector>

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
    return m_hWnd ? ::GetDlgItem(m_hWnd, controlId) : nullptr;
}

void CWnd::SetDlgItemText(int controlId, const std::string& text) {
    ::SetDlgItemTextA(m_hWnd, controlId, text.c_str());
}

std::string CWnd::GetDlgItemText(int controlId) const {
    return WindowText(GetDlgItem(controlId));
}

UnsignedReading CWnd::GetDlgItemUnsigned(int controlId) const {
    HWND item = GetDlgItem(controlId);
    if (!item) return {};
    return ReadUnsignedItemText(WindowText(item));
}

void CWnd::SetDlgItemUnsigned(int controlId, std::uint32_t value) {
    SetDlgItemText(controlId, std::to_string(value));
}
