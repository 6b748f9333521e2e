// The SYN-attack protection page: one option, 0, 1 or 2, typed as a number.
#include "wizard/SYNFloodAttackSetting.h"

#include "framework/DataExchange.h"
#include "res/resource.h"

namespace {

constexpr PageText kTexts[] = {
    {PageTextKind::Label, IDC_static_step8_SYNExplain, text::kIDC_static_step8_SYNExplain},
    {PageTextKind::CountStatus, IDC_static_RecommendedSYN, text::kIDC_static_RecommendedSYN,
     &TuningValues::synAttackProtect, &FoundFlags::synAttackProtectFound, text::k8},
    {PageTextKind::Label, IDC_STATIC_SYN, text::kIDC_STATIC_SYN},
};

}  // namespace

CSYNFloodAttackSetting::CSYNFloodAttackSetting(wizard::WizardState& state)
    : CWizardPage(IDD_SYN_FLOOD, wizard::kPageSynFlood, state, {kTexts, {}}) {}

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
