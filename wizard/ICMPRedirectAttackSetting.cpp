// The ICMP redirect page: the check box itself holds the choice, unchecked at first.
#include "wizard/ICMPRedirectAttackSetting.h"

#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

namespace {

constexpr int kSymptom1 = 1049;
constexpr int kSymptom2 = 1050;
constexpr int kSymptom3 = 1051;
constexpr int kCause = 1052;
constexpr int kEnableIcmp = 1053;  // icmpCheck
constexpr int kRecommendation = 1057;

}  // namespace

CICMPRedirectAttackSetting::CICMPRedirectAttackSetting()
    : CWizardPage(IDD_ICMP_REDIRECT, wizard::kPageIcmpRedirect) {}

BOOL CICMPRedirectAttackSetting::OnSetActive() {
    const CMyPropertySheet& sheet = Sheet();
    ShowStepCaption();
    Localize(text::kIDC_chk_ICMP, kEnableIcmp);
    Localize(text::kIDC_static_step9_ICMPExplain, kSymptom1);
    Localize(text::kIDC_static_step9_ICMPExplain2, kSymptom2);
    Localize(text::kIDC_static_step9_ICMPExplain3, kSymptom3);
    SetDlgItemText(kCause,
                   wizard::WithSwitchStatus(Text(text::kIDC_static_step9_ICMPExplain4),
                                            icmpRedirectsFound, sheet.inForce.icmpRedirects,
                                            Text(text::k6), Text(text::k5), Text(text::k3)));
    Localize(text::kIDC_RecommendedICMP, kRecommendation);
    RequestActivationButtons();
    return CWizardPage::OnSetActive();
}

void CICMPRedirectAttackSetting::StoreChoice() {
    // Checked means ICMP redirects are accepted: no inversion.
    Sheet().chosen.icmpRedirects = IsChecked(kEnableIcmp) ? 1 : 0;
}

BOOL CICMPRedirectAttackSetting::OnKillActive() {
    StoreChoice();
    RequestLeavingButtons();
    return CWizardPage::OnKillActive();
}

BOOL CICMPRedirectAttackSetting::OnWizardFinish() {
    StoreChoice();
    Sheet().ApplySettings();
    return TRUE;
}
