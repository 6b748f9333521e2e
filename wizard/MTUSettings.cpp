// The MTU and MSS page: for each, an explanation with the value in force, the
// recommendation for the connection type, and an edit.
#include "wizard/MTUSettings.h"

#include "res/resource.h"

namespace {

EntryRange MtuRange(const TuningValues&) {
    return {wizard::kMinMtu, wizard::kMaxMtu};
}

// The MSS leaves room in the MTU just read for the IP and TCP headers.
EntryRange MssRange(const TuningValues& entries) {
    return {wizard::kMinMss, wizard::MaxMss(entries.mtu)};
}

// Read in this order: the MSS's range needs the MTU.
constexpr PageField kFields[] = {
    // edit   rule                     value               range on leaving
    {IDC_MTU, wizard::EntryField::Mtu, &TuningValues::mtu, MtuRange},
    {IDC_MSS, wizard::EntryField::Mss, &TuningValues::mss, MssRange},
};

constexpr PageText kTexts[] = {
    {PageTextKind::NumberStatus, IDC_static_step3_MTUExplain, text::kIDC_static_step3_MTUExplain,
     &TuningValues::mtu, &FoundFlags::mtuFound, text::k4},
    {PageTextKind::NumberStatus, IDC_static_step3_MSSExplain, text::kIDC_static_step3_MSSExplain,
     &TuningValues::mss, &FoundFlags::mssFound, text::k4},
    {PageTextKind::Recommendation, IDC_static_RecommendedMTU, text::kIDC_static_RecommendedMTU,
     &TuningValues::mtu},
    {PageTextKind::Recommendation, IDC_static_RecommendedMSS, text::kIDC_static_RecommendedMSS,
     &TuningValues::mss},
};

}  // namespace

CMTUSettings::CMTUSettings(wizard::WizardState& state)
    : CWizardPage(IDD_MTU, wizard::kPageMtu, state, {kTexts, kFields}) {}

void CMTUSettings::Recommend() {
    wizard::WizardState& state = State();
    const wizard::MtuRecommendation r = wizard::RecommendMtu(state.connectionType);
    state.chosen.mtu = r.mtu;
    state.chosen.mss = r.mss;
    state.recommended.mtu = entries.mtu = state.chosen.mtu;
    state.recommended.mss = entries.mss = state.chosen.mss;
}
