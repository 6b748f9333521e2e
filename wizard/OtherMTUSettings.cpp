// The path MTU discovery page. Its two check boxes start unchecked, the recommended
// state, and work in opposite senses: each label says what checking does.
#include "wizard/OtherMTUSettings.h"

#include "res/resource.h"

COtherMTUSettings::COtherMTUSettings(wizard::WizardState& state)
    : CWizardPage(wizard::kPageOtherMtu, state) {}

void COtherMTUSettings::StoreChoice() {
    wizard::WizardState& state = State();
    state.chosen.pmtuBlackHoleDetect = IsDlgItemChecked(IDC_chk_BlackHoleDetection) ? 1 : 0;
    state.chosen.pmtuDiscovery = IsDlgItemChecked(IDC_chk_MTUDiscovery) ? 0 : 1;
}
