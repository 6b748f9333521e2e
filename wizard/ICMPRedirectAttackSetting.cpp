// The ICMP redirect page: the check box itself holds the choice, unchecked at first.
#include "wizard/ICMPRedirectAttackSetting.h"

#include "res/resource.h"

CICMPRedirectAttackSetting::CICMPRedirectAttackSetting(wizard::WizardState& state)
    : CWizardPage(wizard::kPageIcmpRedirect, state) {}

void CICMPRedirectAttackSetting::StoreChoice() {
    // Checked means ICMP redirects are accepted: no inversion.
    State().chosen.icmpRedirects = IsDlgItemChecked(IDC_chk_ICMP) ? 1 : 0;
}
