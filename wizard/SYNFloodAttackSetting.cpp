// The SYN-attack protection page: one option, 0, 1 or 2, typed as a number.
#include "wizard/SYNFloodAttackSetting.h"

#include "framework/DataExchange.h"
#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

CSYNFloodAttackSetting::CSYNFloodAttackSetting()
    : CWizardPage(IDD_SYN_FLOOD, wizard::kPageSynFlood) {}

void CSYNFloodAttackSetting::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_SYN_ATTACK_PROTECT, synAttackProtectEntry);
    DDV_MinMaxInt(pDX, synAttackProtectEntry, 0, 2);
}

BOOL CSYNFloodAttackSetting::OnInitDialog() {
    CWizardPage::OnInitDialog();
    SetDlgItemUnsigned(IDC_SYN_ATTACK_PROTECT, static_cast<std::uint32_t>(synAttackProtectEntry));
    return TRUE;
}

BOOL CSYNFloodAttackSetting::OnSetActive() {
    const CMyPropertySheet& sheet = Sheet();
    ShowStepCaption();
    Localize(text::kIDC_static_step8_SYNExplain, IDC_static_step8_SYNExplain);
    SetDlgItemText(IDC_static_RecommendedSYN,
                   wizard::WithCountStatus(
                       Text(text::kIDC_static_RecommendedSYN), sheet.found.synAttackProtectFound,
                       sheet.inForce.synAttackProtect, Text(text::k8), Text(text::k3)));
    Localize(text::kIDC_STATIC_SYN, IDC_STATIC_SYN);
    return CWizardPage::OnSetActive();
}

BOOL CSYNFloodAttackSetting::OnKillActive() {
    // No number, or one outside 0..2, keeps the page at once: there is nothing to fix up.
    if (!UpdateData(true)) return FALSE;
    Sheet().chosen.synAttackProtect = synAttackProtectEntry;
    return TRUE;
}
