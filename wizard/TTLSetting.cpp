// The TTL and browser connections page: the TTL, and the browser's connections per HTTP 1.0
// and 1.1 server, each with its value in force, its recommendation and an edit.
#include "wizard/TTLSetting.h"

#include "res/resource.h"

namespace {

EntryRange TtlRange(const TuningValues&) {
    return {wizard::kMinTtl, wizard::kMaxTtl};
}

// Only the TTL has a range beyond its least value.
constexpr PageField kFields[] = {
    {IDC_HTTP_1_0, wizard::EntryField::MaxConnectionsPer1_0Server,
     &TuningValues::maxConnectionsPer1_0Server, nullptr},
    {IDC_HTTP_1_1, wizard::EntryField::MaxConnectionsPerServer,
     &TuningValues::maxConnectionsPerServer, nullptr},
    {IDC_TTL, wizard::EntryField::Ttl, &TuningValues::ttl, TtlRange},
};

}  // namespace

CTTLSetting::CTTLSetting(wizard::WizardState& state)
    : CWizardPage(IDD_TTL, wizard::kPageTtl, state, kFields) {}

void CTTLSetting::ShowTexts() {
    const wizard::WizardState& state = State();
    const std::string wasSetTo = Text(text::k2);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step6_Explain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step6_Explain), state.found.ttlFound,
                                 state.inForce.ttl, wasSetTo, Text(text::k7), notSet));
    SetDlgItemText(
        IDC_static_RecommendedTTL,
        wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedTTL), state.recommended.ttl));
    Localize(text::kIDC_IE_GROUP_BOX, IDC_IE_GROUP_BOX);
    Localize(text::kIDC_IE_OPTIMIZATION, IDC_IE_OPTIMIZATION);
    SetDlgItemText(
        IDC_CURRENT_HTTP_1_0,
        wizard::WithCountStatus(Text(text::kIDC_CURRENT_HTTP_1_0),
                                state.found.maxConnectionsPer1_0ServerFound,
                                state.inForce.maxConnectionsPer1_0Server, wasSetTo, notSet));
    SetDlgItemText(IDC_RECOMMENDED_HTTP_1_0,
                   wizard::ReplacePercentD(Text(text::kIDC_RECOMMENDED_HTTP_1_0),
                                           state.recommended.maxConnectionsPer1_0Server));
    SetDlgItemText(IDC_CURRENT_HTTP_1_1,
                   wizard::WithCountStatus(
                       Text(text::kIDC_CURRENT_HTTP_1_1), state.found.maxConnectionsPerServerFound,
                       state.inForce.maxConnectionsPerServer, wasSetTo, notSet));
    SetDlgItemText(IDC_RECOMMENDED_HTTP_1_1,
                   wizard::ReplacePercentD(Text(text::kIDC_RECOMMENDED_HTTP_1_1),
                                           state.recommended.maxConnectionsPerServer));
}

BOOL CTTLSetting::OnSetActive() {
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    return CWizardPage::OnSetActive();
}
