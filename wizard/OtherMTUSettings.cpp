// The path MTU discovery page. Its two check boxes start unchecked, the recommended
// state, and work in opposite senses: each label says what checking does.
#include "wizard/OtherMTUSettings.h"

#include "res/resource.h"
#include "wizard/MyPropertySheet.h"

namespace {

constexpr int kDiscoveryExplain = 1014;
constexpr int kBlackHoleExplain = 1016;
constexpr int kDiscoveryRecommendation = 1018;
constexpr int kBlackHoleRecommendation = 1019;
constexpr int kDisableDiscovery = 1020;  // discoveryCheck
constexpr int kEnableBlackHole = 1021;   // blackHoleCheck

}  // namespace

COtherMTUSettings::COtherMTUSettings() : CWizardPage(IDD_OTHER_MTU, wizard::kPageOtherMtu) {}

BOOL COtherMTUSettings::OnSetActive() {
    const CMyPropertySheet& sheet = Sheet();
    ShowStepCaption();
    Localize(text::kIDC_chk_MTUDiscovery, kDisableDiscovery);
    Localize(text::kIDC_chk_BlackHoleDetection, kEnableBlackHole);
    Localize(text::kIDC_static_MTUDiscovery, kDiscoveryRecommendation);
    Localize(text::kIDC_static_BlackHoleDetect, kBlackHoleRecommendation);
    const std::string enabled = Text(text::k6);
    const std::string disabled = Text(text::k5);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(kDiscoveryExplain,
                   wizard::WithSwitchStatus(Text(text::kIDC_static_step4_MTUDiscoveryExplain),
                                            pmtuDiscoveryFound, sheet.inForce.pmtuDiscovery,
                                            enabled, disabled, notSet));
    SetDlgItemText(
        kBlackHoleExplain,
        wizard::WithSwitchStatus(Text(text::kIDC_static_step4_BlackHoeDetectExplain),
                                 pmtuBlackHoleDetectFound, sheet.inForce.pmtuBlackHoleDetect,
                                 enabled, disabled, notSet));
    return CWizardPage::OnSetActive();
}

BOOL COtherMTUSettings::OnKillActive() {
    CMyPropertySheet& sheet = Sheet();
    sheet.chosen.pmtuBlackHoleDetect = IsChecked(kEnableBlackHole) ? 1 : 0;
    sheet.chosen.pmtuDiscovery = IsChecked(kDisableDiscovery) ? 0 : 1;
    return CWizardPage::OnKillActive();
}
