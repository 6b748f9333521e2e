// CPropertyPage: one page of a wizard sheet; the sheet's notifications reach
// the page's overridables with the platform's raw return contracts.
#pragma once

#include <windows.h>

#include "framework/Dialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    // The page's template from the application's resources, or (tests) from
    // memory; the id also names the page in OnWizardNext/OnWizardBack results.
    explicit CPropertyPage(UINT templateId);
    CPropertyPage(UINT templateId, const DLGTEMPLATE* memoryTemplate);
    ~CPropertyPage() override;

    // The sheet the page was added to; null before AddPage.
    CPropertySheet* GetSheet() const { return m_pSheet; }

protected:
    // WM_INITDIALOG (the page is created the first time it is shown): the
    // base fills the controls (UpdateData(false)) and returns TRUE.
    BOOL OnInitDialog() override;

    // PSN_SETACTIVE. Nonzero = the page accepts to become current; zero makes
    // the sheet skip it. The base fills the controls (UpdateData(false)) on
    // every activation after the first and returns TRUE.
    virtual BOOL OnSetActive();

    // PSN_KILLACTIVE (leaving by Next or Back). Nonzero = the page may be
    // left; zero keeps it current. The base returns UpdateData(true).
    virtual BOOL OnKillActive();

    // PSN_WIZNEXT / PSN_WIZBACK, sent before PSN_KILLACTIVE.
    // 0 = go to the next / previous page, -1 = stay on this page, any other
    // value = the template id of the page to show. The base returns 0.
    virtual LRESULT OnWizardNext();
    virtual LRESULT OnWizardBack();

    // PSN_WIZFINISH. Nonzero = the wizard may close; zero keeps it open.
    // The base returns TRUE.
    virtual BOOL OnWizardFinish();

    // PSN_RESET (the sheet is cancelled); the base does nothing.
    virtual void OnReset();

    // A page has no OK or Cancel of its own (the sheet's buttons are the sheet's): the base
    // handles no command.
    bool OnCommand(int id, int code, HWND control) override;

    // Page notifications from the sheet window are routed to the overridables
    // above; everything else goes the dialog's way (OnCommand, OnNotify, HandleMessage).
    bool RouteFrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;

private:
    friend class CPropertySheet;
    // An OnWizardNext/OnWizardBack result as the platform expects it.
    LRESULT TranslatePageChoice(LRESULT choice) const;
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CPropertySheet* m_pSheet = nullptr;
    bool m_firstSetActive = true;
};
