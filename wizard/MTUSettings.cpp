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

}  // namespace

CMTUSettings::CMTUSettings(wizard::WizardState& state)
    : CWizardPage(IDD_MTU, wizard::kPageMtu, state, kFields) {}

void CMTUSettings::Recommend() {
    wizard::WizardState& state = State();
    const wizard::MtuRecommendation r = wizard::RecommendMtu(state.connectionType);
    state.chosen.mtu = r.mtu;
    state.chosen.mss = r.mss;
    state.recommended.mtu = entries.mtu = state.chosen.mtu;
    state.recommended.mss = entries.mss = state.chosen.mss;
}

void CMTUSettings::ShowTexts() {
    const wizard::WizardState& state = State();
    const std::string wasSetTo = Text(text::k2);
    const std::string bytes = Text(text::k4);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step3_MTUExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step3_MTUExplain), state.found.mtuFound,
                                 state.inForce.mtu, wasSetTo, bytes, notSet));
    SetDlgItemText(
        IDC_static_step3_MSSExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step3_MSSExplain), state.found.mssFound,
                                 state.inForce.mss, wasSetTo, bytes, notSet));
    SetDlgItemText(
        IDC_static_RecommendedMTU,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedMTU), state.recommended.mtu));
    SetDlgItemText(
        IDC_static_RecommendedMSS,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedMSS), state.recommended.mss));
}

BOOL CMTUSettings::OnSetActive() {
    // Every activation starts again from the recommendation for the current
    // connection type; values typed earlier are not kept.
    Recommend();
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    return CWizardPage::OnSetActive();
}
