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

constexpr PageText kTexts[] = {
    {PageTextKind::NumberStatus, IDC_static_step7_KeepAliveTimeExplain,
     text::kIDC_static_step7_KeepAliveTimeExplain, &TuningValues::keepAliveTime,
     &FoundFlags::keepAliveTimeFound, text::k1},
    {PageTextKind::NumberStatus, IDC_static_step7_KeepLAliveIntervalExplain,
     text::kIDC_static_step7_KeepLAliveIntervalExplain, &TuningValues::keepAliveInterval,
     &FoundFlags::keepAliveIntervalFound, text::k1},
    {PageTextKind::Recommendation, IDC_static_RecommendedKeepAliveTime,
     text::kIDC_static_RecommendedKeepAliveTime, &TuningValues::keepAliveTime},
    {PageTextKind::Recommendation, IDC_static_RecommendedKeepAliveInterval,
     text::kIDC_static_RecommendedKeepAliveInterval, &TuningValues::keepAliveInterval},
};

}  // namespace

CKeepAliveSettings::CKeepAliveSettings(wizard::WizardState& state)
    : CWizardPage(IDD_KEEP_ALIVE, wizard::kPageKeepAlive, state, {kTexts, kFields}) {}
