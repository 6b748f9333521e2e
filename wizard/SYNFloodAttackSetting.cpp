// The SYN-attack protection page: one option, 0, 1 or 2, typed as a number.
#include "wizard/SYNFloodAttackSetting.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

CSYNFloodAttackSetting::CSYNFloodAttackSetting(wizard::WizardState& state)
    : CWizardPage(wizard::kPageSynFlood, state) {}

void CSYNFloodAttackSetting::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_SYN_ATTACK_PROTECT, synAttackProtectEntry);
    DDV_MinMaxInt(pDX, synAttackProtectEntry, 0, 2);
}

BOOL CSYNFloodAttackSetting::OnInitDialog() {
    // The run's default is the first entry: nothing but this page changes the choice.
    synAttackProtectEntry = State().chosen.synAttackProtect;
    CWizardPage::OnInitDialog();
    SetDlgItemUnsigned(IDC_SYN_ATTACK_PROTECT, static_cast<std::uint32_t>(synAttackProtectEntry));
    return TRUE;
}

BOOL CSYNFloodAttackSetting::MayLeave() {
    // No number, or one outside 0..2, keeps the page at once: there is nothing to fix up.
    if (!UpdateData(true)) return FALSE;
    State().chosen.synAttackProtect = synAttackProtectEntry;
    return TRUE;
}
