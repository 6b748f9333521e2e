// The ICMP redirect page: the check box itself holds the choice, unchecked at first.
#include "wizard/ICMPRedirectAttackSetting.h"

#include "res/resource.h"

CICMPRedirectAttackSetting::CICMPRedirectAttackSetting(wizard::WizardState& state)
    : CWizardPage(IDD_ICMP_REDIRECT, wizard::kPageIcmpRedirect, state) {}

BOOL CICMPRedirectAttackSetting::OnSetActive() {
    const wizard::WizardState& state = State();
    ShowStepCaption();
    Localize(text::kIDC_chk_ICMP, IDC_chk_ICMP);
    Localize(text::kIDC_static_step9_ICMPExplain, IDC_static_step9_ICMPExplain);
    Localize(text::kIDC_static_step9_ICMPExplain2, IDC_static_step9_ICMPExplain2);
    Localize(text::kIDC_static_step9_ICMPExplain3, IDC_static_step9_ICMPExplain3);
    SetDlgItemText(
        IDC_static_step9_ICMPExplain4,
        wizard::WithSwitchStatus(Text(text::kIDC_static_step9_ICMPExplain4),
                                 state.found.icmpRedirectsFound, state.inForce.icmpRedirects,
                                 Text(text::k6), Text(text::k5), Text(text::k3)));
    Localize(text::kIDC_RecommendedICMP, IDC_RecommendedICMP);
    return CWizardPage::OnSetActive();
}

void CICMPRedirectAttackSetting::StoreChoice() {
    // Checked means ICMP redirects are accepted: no inversion.
    State().chosen.icmpRedirects = IsChecked(IDC_chk_ICMP) ? 1 : 0;
}
