// The keep-alive page.
#include "wizard/KeepAliveSettings.h"

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

CKeepAliveSettings::CKeepAliveSettings() : CWizardPage(IDD_KEEP_ALIVE, wizard::kPageKeepAlive) {}

void CKeepAliveSettings::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_KEEP_ALIVE_INTERVAL, keepAliveIntervalEntry);
    DDX_Text(pDX, IDC_KEEP_ALIVE_TIME, keepAliveTimeEntry);
}

void CKeepAliveSettings::ShowTexts() {
    const CMyPropertySheet& sheet = Sheet();
    const std::string wasSetTo = Text(text::k2);
    const std::string milliseconds = Text(text::k1);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step7_KeepAliveTimeExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step7_KeepAliveTimeExplain),
                                 sheet.found.keepAliveTimeFound, sheet.inForce.keepAliveTime,
                                 wasSetTo, milliseconds, notSet));
    SetDlgItemText(
        IDC_static_step7_KeepLAliveIntervalExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step7_KeepLAliveIntervalExplain),
                                 sheet.found.keepAliveIntervalFound,
                                 sheet.inForce.keepAliveInterval, wasSetTo, milliseconds, notSet));
    SetDlgItemText(IDC_static_RecommendedKeepAliveTime,
                   wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedKeepAliveTime),
                                           sheet.recommended.keepAliveTime));
    SetDlgItemText(IDC_static_RecommendedKeepAliveInterval,
                   wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedKeepAliveInterval),
                                           sheet.recommended.keepAliveInterval));
}

BOOL CKeepAliveSettings::OnSetActive() {
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    RequestActivationButtons();
    return CWizardPage::OnSetActive();
}

void CKeepAliveSettings::FixUpAndStore() {
    CMyPropertySheet& sheet = Sheet();
    // A failed read has shown its message; the fix-up writes valid numbers back.
    UpdateData(true);
    keepAliveIntervalEntry =
        wizard::FixUpEntry(wizard::EntryField::KeepAliveInterval, keepAliveIntervalEntry,
                           sheet.recommended.keepAliveInterval);
    keepAliveTimeEntry = wizard::FixUpEntry(wizard::EntryField::KeepAliveTime, keepAliveTimeEntry,
                                            sheet.recommended.keepAliveTime);
    UpdateData(false);
    sheet.chosen.keepAliveTime = keepAliveTimeEntry;
    sheet.chosen.keepAliveInterval = keepAliveIntervalEntry;
}

BOOL CKeepAliveSettings::OnKillActive() {
    FixUpAndStore();
    RequestLeavingButtons();
    return CWizardPage::OnKillActive();
}

LRESULT CKeepAliveSettings::OnWizardNext() {
    // On Win9x the NT-only SYN and ICMP pages are passed over.
    return NextPageChoice();
}

BOOL CKeepAliveSettings::OnWizardFinish() {
    FixUpAndStore();
    Sheet().ApplySettings();
    return TRUE;
}

bool CKeepAliveSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    if (auto id = EditNotification(message, wParam, EN_KILLFOCUS)) {
        const CMyPropertySheet& sheet = Sheet();
        if (*id == IDC_KEEP_ALIVE_TIME) {
            CorrectOnLostFocus(IDC_KEEP_ALIVE_TIME, wizard::EntryField::KeepAliveTime,
                               keepAliveTimeEntry, sheet.recommended.keepAliveTime);
            return true;
        }
        if (*id == IDC_KEEP_ALIVE_INTERVAL) {
            CorrectOnLostFocus(IDC_KEEP_ALIVE_INTERVAL, wizard::EntryField::KeepAliveInterval,
                               keepAliveIntervalEntry, sheet.recommended.keepAliveInterval);
            return true;
        }
    }
    return CWizardPage::HandleMessage(message, wParam, lParam, result);
}
