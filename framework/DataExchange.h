// Integer data exchange between edit controls and members, with the platform
// framework's validation messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_hDlg(dialog) {}

    bool m_bSaveAndValidate;  // true: controls -> members, with validation
    HWND m_hDlg;
    bool m_failed = false;    // a field failed; later DDX_/DDV_ calls do nothing
    int m_lastControlId = 0;  // the control of the last DDX_ call (DDV_ reports on it)

    // ShowEntryMessage, and marks the exchange failed.
    void Fail(int controlId, const std::string& message);
};

// Shows the message (exclamation icon, application caption, owned by the dialog's top-level
// window), then gives the control the focus with its whole text selected.
void ShowEntryMessage(HWND dialog, int controlId, const std::string& message);

// A control missing from the dialog throws std::logic_error (RequireDlgItem), in both
// directions: a wrong id must not read as an empty field.
//
// Saving: the control's text must be a decimal integer of the member's type
// (blanks around allowed); otherwise "Please enter an integer." and the
// member keeps its value. Loading: the member's signed decimal into the control.
void DDX_Text(CDataExchange* pDX, int controlId, std::int32_t& value);
void DDX_Text(CDataExchange* pDX, int controlId, std::int64_t& value);

// Saving only: value outside minimum..maximum shows "Please enter an integer
// between %1 and %2." for the control of the preceding DDX_Text (there must be one).
void DDV_MinMaxInt(CDataExchange* pDX, std::int32_t value, std::int32_t minimum,
                   std::int32_t maximum);
