// CDialog: a modal dialog bound to its window by one static dialog procedure.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    // The dialog comes from the application's resources ...
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    // ... or from an in-memory template, which must outlive the modal run;
    // templateId then only names it (a page's id in wizard navigation).
    explicit CDialog(const DLGTEMPLATE* memoryTemplate, HWND parent = nullptr, UINT templateId = 0);
    ~CDialog() override;

    // Runs the dialog modally. The owner is the parent given at construction,
    // or the application's main window when none was given and it exists.
    // Returns the value passed to EndDialog, or -1 when the dialog could not
    // be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);

    // Data exchange between the controls and the members (DoDataExchange).
    // Returns false when a field failed: its message has been shown, the
    // focus is on its control, and the fields after it were not exchanged.
    bool UpdateData(bool saveAndValidate = true);

    UINT TemplateId() const { return m_templateId; }
    const DLGTEMPLATE* MemoryTemplate() const { return m_memoryTemplate; }

protected:
    // WM_INITDIALOG. The base fills the controls (UpdateData(false)) and
    // returns TRUE. Raw contract: TRUE lets the system focus the first
    // control; FALSE means the handler has set the focus itself.
    virtual BOOL OnInitDialog();

    // Every message the framework does not route itself (it routes
    // WM_INITDIALOG to OnInitDialog, clicks of IDOK/IDCANCEL to OnOK/OnCancel,
    // and, on a page, the sheet's PSN_ notifications). Return true when handled; `result` is then
    // the message's result, which the framework returns directly for the messages that expect it
    // (WM_CTLCOLOR*, WM_QUERYDRAGICON, WM_COMPAREITEM, WM_VKEYTOITEM,
    // WM_CHARTOITEM) and writes into DWLP_MSGRESULT for all others. Return
    // false to get the default dialog processing. The base handles nothing.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // IDOK: the base validates (UpdateData(true)) and ends with IDOK when
    // every field passed. IDCANCEL (Escape, close box): ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    // Binds controls to members with DDX_/DDV_ calls; the base binds nothing.
    virtual void DoDataExchange(CDataExchange* pDX);

    // The window's owner for this modal run.
    HWND OwnerForModalRun() const;

    // Runs the dialog from `memoryTemplate` instead of its resource from now on; the
    // template must outlive the modal run. The id still names the dialog.
    void UseMemoryTemplate(const DLGTEMPLATE* memoryTemplate) { m_memoryTemplate = memoryTemplate; }

    // Shared by the dialog and page procedures once the object is bound:
    // routes one message, catching every exception, and is the only writer
    // of DWLP_MSGRESULT. Releases the binding at WM_NCDESTROY.
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // The framework's own routing before HandleMessage; true = consumed.
    virtual bool RouteFrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Attach/detach the object and its window (binding at WM_INITDIALOG,
    // release at WM_NCDESTROY).
    void Attach(HWND window);
    void Detach();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_memoryTemplate = nullptr;
    HWND m_parent = nullptr;
};

// Whether a dialog procedure returns this message's result directly instead
// of through DWLP_MSGRESULT.
bool IsDirectResultMessage(UINT message);
