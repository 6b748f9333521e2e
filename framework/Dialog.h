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

    // WM_COMMAND, decoded: the control's (or menu item's) id, the notification code (0 for a
    // menu, 1 for an accelerator) and the control's window (null for both). Return true when
    // handled. The base takes clicks of IDOK and IDCANCEL to OnOK and OnCancel; a control's
    // own notifications with those ids are left alone.
    virtual bool OnCommand(int id, int code, HWND control);

    // WM_NOTIFY from a control, decoded (a page's notifications from its sheet go to the
    // page's own overridables instead). Return true when handled, with the message's result.
    // The base handles none.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);

    // Every message the framework does not route itself (it routes
    // WM_INITDIALOG to OnInitDialog, WM_COMMAND to OnCommand, WM_NOTIFY to OnNotify,
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

    // Binds the object and its window at WM_INITDIALOG, and releases them after
    // WM_NCDESTROY (framework/WindowBinding.h).
    void Attach(HWND window);
    void Detach();
    // Every message after the first: to the object bound to the window, if any.
    static INT_PTR Bound(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_memoryTemplate = nullptr;
    HWND m_parent = nullptr;
};
