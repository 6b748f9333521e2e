// The keep-alive page: the keep-alive time and interval, each with its value in force, its
// recommendation and an edit.
#include "wizard/KeepAliveSettings.h"

#include "res/resource.h"

namespace {

// Any value from the least one up is taken.
constexpr PageField kFields[] = {
    {IDC_KEEP_ALIVE_INTERVAL, wizard::EntryField::KeepAliveInterval,
     &TuningValues::keepAliveInterval, nullptr},
    {IDC_KEEP_ALIVE_TIME, wizard::EntryField::KeepAliveTime, &TuningValues::keepAliveTime, nullptr},
};

}  // namespace

CKeepAliveSettings::CKeepAliveSettings(wizard::WizardState& state)
    : CWizardPage(IDD_KEEP_ALIVE, wizard::kPageKeepAlive, state, kFields) {}

void CKeepAliveSettings::ShowTexts() {
    const wizard::WizardState& state = State();
    const std::string wasSetTo = Text(text::k2);
    const std::string milliseconds = Text(text::k1);
    const std::string notSet = Text(text::k3);
    SetDlgItemText(
        IDC_static_step7_KeepAliveTimeExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step7_KeepAliveTimeExplain),
                                 state.found.keepAliveTimeFound, state.inForce.keepAliveTime,
                                 wasSetTo, milliseconds, notSet));
    SetDlgItemText(
        IDC_static_step7_KeepLAliveIntervalExplain,
        wizard::WithNumberStatus(Text(text::kIDC_static_step7_KeepLAliveIntervalExplain),
                                 state.found.keepAliveIntervalFound,
                                 state.inForce.keepAliveInterval, wasSetTo, milliseconds, notSet));
    SetDlgItemText(IDC_static_RecommendedKeepAliveTime,
                   wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedKeepAliveTime),
                                           state.recommended.keepAliveTime));
    SetDlgItemText(IDC_static_RecommendedKeepAliveInterval,
                   wizard::ReplacePercentD(Text(text::kIDC_static_RecommendedKeepAliveInterval),
                                           state.recommended.keepAliveInterval));
}

BOOL CKeepAliveSettings::OnSetActive() {
    ShowStepCaption();
    ShowTexts();
    UpdateData(false);
    return CWizardPage::OnSetActive();
}
