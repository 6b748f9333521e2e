// The path MTU discovery page. Its two check boxes start unchecked, the recommended
// state, and work in opposite senses: each label says what checking does.
#include "wizard/OtherMTUSettings.h"

#include "res/resource.h"

namespace {

constexpr PageText kTexts[] = {
    {PageTextKind::Label, IDC_chk_MTUDiscovery, text::kIDC_chk_MTUDiscovery},
    {PageTextKind::Label, IDC_chk_BlackHoleDetection, text::kIDC_chk_BlackHoleDetection},
    {PageTextKind::Label, IDC_static_MTUDiscovery, text::kIDC_static_MTUDiscovery},
    {PageTextKind::Label, IDC_static_BlackHoleDetect, text::kIDC_static_BlackHoleDetect},
    {PageTextKind::SwitchStatus, IDC_static_step4_MTUDiscoveryExplain,
     text::kIDC_static_step4_MTUDiscoveryExplain, &TuningValues::pmtuDiscovery,
     &FoundFlags::pmtuDiscoveryFound},
    {PageTextKind::SwitchStatus, IDC_static_step4_BlackHoeDetectExplain,
     text::kIDC_static_step4_BlackHoeDetectExplain, &TuningValues::pmtuBlackHoleDetect,
     &FoundFlags::pmtuBlackHoleDetectFound},
};

}  // namespace

COtherMTUSettings::COtherMTUSettings(wizard::WizardState& state)
    : CWizardPage(IDD_OTHER_MTU, wizard::kPageOtherMtu, state, {kTexts, {}}) {}

void COtherMTUSettings::StoreChoice() {
    wizard::WizardState& state = State();
    state.chosen.pmtuBlackHoleDetect = IsChecked(IDC_chk_BlackHoleDetection) ? 1 : 0;
    state.chosen.pmtuDiscovery = IsChecked(IDC_chk_MTUDiscovery) ? 0 : 1;
}
