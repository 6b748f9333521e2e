// CDialog: the modal run, the dialog procedure and the result routing.
#include "framework/Dialog.h"

#include "framework/CallbackGuard.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"

bool IsDirectResultMessage(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::CDialog(const DLGTEMPLATE* memoryTemplate, HWND parent, UINT templateId)
    : m_templateId(templateId), m_memoryTemplate(memoryTemplate), m_parent(parent) {}

CDialog::~CDialog() {
    // A window that outlives its object must not reach it any more.
    if (m_hWnd && IsWindow(m_hWnd)) SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

HWND CDialog::OwnerForModalRun() const {
    return m_parent ? m_parent : ApplicationMainWindow();
}

INT_PTR CDialog::DoModal() {
    const HWND owner = OwnerForModalRun();
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (m_memoryTemplate) {
        return DialogBoxIndirectParamA(ApplicationInstance(), m_memoryTemplate, owner, DialogProc,
                                       self);
    }
    return DialogBoxParamA(ApplicationInstance(), MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                           self);
}

void CDialog::EndDialog(INT_PTR result) {
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!m_hWnd) return false;
    CDataExchange exchange(m_hWnd, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_failed;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

bool CDialog::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::RouteFrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Menu, accelerator and button clicks of IDOK/IDCANCEL; a control's own
    // notifications with these ids are left alone.
    if (message != WM_COMMAND || (lParam && HIWORD(wParam) != BN_CLICKED)) return false;
    if (LOWORD(wParam) == IDOK) {
        OnOK();
    } else if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
    } else {
        return false;
    }
    result = 0;
    return true;
}

void CDialog::Attach(HWND window) {
    m_hWnd = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

void CDialog::Detach() {
    if (m_hWnd) SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
    m_hWnd = nullptr;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR answer = FALSE;
    try {
        if (message == WM_INITDIALOG) {
            answer = OnInitDialog();
        } else {
            LRESULT result = 0;
            if (RouteFrameworkMessage(message, wParam, lParam, result) ||
                HandleMessage(message, wParam, lParam, result)) {
                if (IsDirectResultMessage(message)) {
                    answer = static_cast<INT_PTR>(result);
                } else {
                    // The only place a dialog's message result is written.
                    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
                    answer = TRUE;
                }
            }
        }
    } catch (...) {
        ReportCurrentException("a dialog procedure");
        answer = FALSE;
    }
    if (message == WM_NCDESTROY) Detach();
    return answer;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        if (!dialog) return FALSE;
        dialog->Attach(window);
        return dialog->Dispatch(message, wParam, lParam);
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    // Messages before WM_INITDIALOG (WM_SETFONT ...) find no object yet.
    if (!dialog) return FALSE;
    return dialog->Dispatch(message, wParam, lParam);
}
