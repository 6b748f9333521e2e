// The ICMP redirect page: the check box itself holds the choice, unchecked at first.
#include "wizard/ICMPRedirectAttackSetting.h"

#include "res/resource.h"

namespace {

constexpr PageText kTexts[] = {
    {PageTextKind::Label, IDC_chk_ICMP, text::kIDC_chk_ICMP},
    {PageTextKind::Label, IDC_static_step9_ICMPExplain, text::kIDC_static_step9_ICMPExplain},
    {PageTextKind::Label, IDC_static_step9_ICMPExplain2, text::kIDC_static_step9_ICMPExplain2},
    {PageTextKind::Label, IDC_static_step9_ICMPExplain3, text::kIDC_static_step9_ICMPExplain3},
    {PageTextKind::SwitchStatus, IDC_static_step9_ICMPExplain4,
     text::kIDC_static_step9_ICMPExplain4, &TuningValues::icmpRedirects,
     &FoundFlags::icmpRedirectsFound},
    {PageTextKind::Label, IDC_RecommendedICMP, text::kIDC_RecommendedICMP},
};

}  // namespace

CICMPRedirectAttackSetting::CICMPRedirectAttackSetting(wizard::WizardState& state)
    : CWizardPage(IDD_ICMP_REDIRECT, wizard::kPageIcmpRedirect, state, {kTexts, {}}) {}

void CICMPRedirectAttackSetting::StoreChoice() {
    // Checked means ICMP redirects are accepted: no inversion.
    State().chosen.icmpRedirects = IsChecked(IDC_chk_ICMP) ? 1 : 0;
}
