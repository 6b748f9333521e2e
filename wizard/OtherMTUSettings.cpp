// The path MTU discovery page. Its two check boxes start unchecked, the recommended
// state, and work in opposite senses: each label says what checking does.
#include "wizard/OtherMTUSettings.h"

#include "res/resource.h"

COtherMTUSettings::COtherMTUSettings(wizard::WizardState& state)
    : CWizardPage(IDD_OTHER_MTU, wizard::kPageOtherMtu, state) {}

BOOL COtherMTUSettings::OnSetActive() {
    const wizard::WizardState& state = State();
    ShowStepCaption();
    Localize(text::kIDC_chk_MTUDiscovery, IDC_chk_MTUDiscovery);
    Localize(text::kIDC_chk_BlackHoleDetection, IDC_chk_BlackHoleDetection);
    Localize(text::kIDC_static_MTUDiscovery, IDC_static_MTUDiscovery);
    Localize(text::kIDC_static_BlackHoleDetect, IDC_static_BlackHoleDetect);
    const std::string enabled = Text(text::k6);
    const std::string disabled = Text(text::k5);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step4_MTUDiscoveryExplain,
        wizard::WithSwitchStatus(Text(text::kIDC_static_step4_MTUDiscoveryExplain),
                                 state.found.pmtuDiscoveryFound, state.inForce.pmtuDiscovery,
                                 enabled, disabled, notSet));
    SetDlgItemText(
        IDC_static_step4_BlackHoeDetectExplain,
        wizard::WithSwitchStatus(Text(text::kIDC_static_step4_BlackHoeDetectExplain),
                                 state.found.pmtuBlackHoleDetectFound,
                                 state.inForce.pmtuBlackHoleDetect, enabled, disabled, notSet));
    return CWizardPage::OnSetActive();
}

void COtherMTUSettings::StoreChoice() {
    wizard::WizardState& state = State();
    state.chosen.pmtuBlackHoleDetect = IsChecked(IDC_chk_BlackHoleDetection) ? 1 : 0;
    state.chosen.pmtuDiscovery = IsChecked(IDC_chk_MTUDiscovery) ? 0 : 1;
}
