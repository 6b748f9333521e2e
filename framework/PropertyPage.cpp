// CPropertyPage: routing of the sheet's page notifications.
#include "framework/PropertyPage.h"

#include <prsht.h>

#include "framework/CallbackGuard.h"
#include "framework/PropertySheet.h"

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId) {}

CPropertyPage::CPropertyPage(UINT templateId, const DLGTEMPLATE* memoryTemplate)
    : CDialog(memoryTemplate, nullptr, templateId) {}

CPropertyPage::~CPropertyPage() = default;

BOOL CPropertyPage::OnInitDialog() {
    return CDialog::OnInitDialog();
}

BOOL CPropertyPage::OnSetActive() {
    if (m_firstSetActive) {
        m_firstSetActive = false;
    } else {
        UpdateData(false);
    }
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(true) ? TRUE : FALSE;
}

LRESULT CPropertyPage::OnWizardNext() {
    return 0;
}

LRESULT CPropertyPage::OnWizardBack() {
    return 0;
}

BOOL CPropertyPage::OnWizardFinish() {
    return TRUE;
}

void CPropertyPage::OnReset() {}

LRESULT CPropertyPage::TranslatePageChoice(LRESULT choice) const {
    if (choice == 0 || choice == -1 || !m_pSheet) return choice;
    // The platform names the target by the value it was given as the page's
    // template; for an in-memory template that is the template's address.
    const int index = m_pSheet->GetPageIndexByTemplate(static_cast<UINT>(choice));
    if (index < 0) return -1;
    return m_pSheet->PlatformTemplateValue(index);
}

bool CPropertyPage::OnCommand(int, int, HWND) {
    return false;
}

bool CPropertyPage::RouteFrameworkMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    const auto* header = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
    // Only the sheet's own notifications; the page's controls notify too.
    if (!header || !m_hWnd || header->hwndFrom != GetParent(m_hWnd)) {
        return CDialog::RouteFrameworkMessage(message, wParam, lParam, result);
    }
    switch (header->code) {
        case PSN_SETACTIVE:
            result = OnSetActive() ? 0 : -1;
            return true;
        case PSN_KILLACTIVE:
            result = OnKillActive() ? FALSE : TRUE;
            return true;
        case PSN_WIZNEXT:
            result = TranslatePageChoice(OnWizardNext());
            return true;
        case PSN_WIZBACK:
            result = TranslatePageChoice(OnWizardBack());
            return true;
        case PSN_WIZFINISH:
            result = OnWizardFinish() ? FALSE : TRUE;
            return true;
        case PSN_RESET:
            OnReset();
            result = 0;
            return true;
        default:
            return false;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // lParam is the sheet's copy of the page's PROPSHEETPAGE; its lParam
        // is the page object.
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        auto* page = sheetPage ? reinterpret_cast<CPropertyPage*>(sheetPage->lParam) : nullptr;
        if (!page) return FALSE;
        page->Attach(window);
        return page->Dispatch(message, wParam, lParam);
    }
    return Bound(window, message, wParam, lParam);
}
