// CDialog: the modal run, the dialog procedure and the result routing.
#include "framework/Dialog.h"

#include "framework/CallbackGuard.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "framework/WindowBinding.h"

namespace {

// Whether a dialog procedure returns this message's result directly instead of through
// DWLP_MSGRESULT.
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
            return true;
        default:
            return false;
    }
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::CDialog(const DLGTEMPLATE* memoryTemplate, HWND parent, UINT templateId)
    : m_templateId(templateId), m_memoryTemplate(memoryTemplate), m_parent(parent) {}

CDialog::~CDialog() {
    binding::Forget(*this);
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

bool CDialog::OnCommand(int id, int code, HWND control) {
    if (control && code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    } else {
        return false;
    }
    return true;
}

bool CDialog::OnNotify(const NMHDR&, LRESULT&) {
    return false;
}

bool CDialog::RouteFrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND) {
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    }
    if (message == WM_NOTIFY && lParam) {
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    }
    return false;
}

void CDialog::Attach(HWND window) {
    m_hWnd = window;
    binding::Bind(window, *this);
}

void CDialog::Detach() {
    if (m_hWnd) binding::Release(m_hWnd);
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
    return Bound(window, message, wParam, lParam);
}

INT_PTR CDialog::Bound(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only dialog procedures bind objects to their windows, and only CDialog's kind.
    auto* dialog = static_cast<CDialog*>(binding::Find(window));
    return dialog ? dialog->Dispatch(message, wParam, lParam) : FALSE;
}
