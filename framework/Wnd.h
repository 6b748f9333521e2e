// CWnd: a window handle holder with the few text and item helpers the dialogs use.
#pragma once

#include <windows.h>

#include <string>

#include "framework/IntegerText.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;  // null while no window is attached

    void SetWindowText(const std::string& text);

    // The helpers below act on a control of this window. A missing control (a wrong id, or
    // no window yet) is a fault of the program, never a case to pass over: they throw
    // std::logic_error naming the id (RequireDlgItem).
    HWND GetDlgItem(int controlId) const;
    void SetDlgItemText(int controlId, const std::string& text);
    std::string GetDlgItemText(int controlId) const;
    void EnableDlgItem(int controlId, bool enable);
    void ShowDlgItem(int controlId, bool show);
    // Whether a check box or radio button is checked.
    bool IsDlgItemChecked(int controlId) const;
    // The button Enter presses (DM_SETDEFID).
    void SetDefaultButton(int controlId);
    // A list box's rows: one more at the end (the list's order when it sorts), and where
    // its columns start, in dialog units from its left edge.
    void AddListRow(int controlId, const std::string& text);
    void SetListTabStops(int controlId, const int* stops, int count);

    // The platform's GetDlgItemInt with unsigned translation, read by the
    // portable rule (ReadUnsignedItemText) so that every system reads alike.
    UnsignedReading GetDlgItemUnsigned(int controlId) const;
    // SetDlgItemInt with unsigned translation: the value's unsigned decimal.
    void SetDlgItemUnsigned(int controlId, std::uint32_t value);
};

// The control `controlId` of `dialog`; throws std::logic_error naming the id when the dialog
// (or a null handle) has no such control.
HWND RequireDlgItem(HWND dialog, int controlId);

// The text of any window; empty for a null handle.
std::string WindowText(HWND window);

// The top-level window that holds a (child) window: message boxes are owned by it.
HWND TopLevelWindow(HWND window);
