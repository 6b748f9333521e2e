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

constexpr PageText kTexts[] = {
    {PageTextKind::NumberStatus, IDC_static_step6_Explain, text::kIDC_static_step6_Explain,
     &TuningValues::ttl, &FoundFlags::ttlFound, text::k7},
    {PageTextKind::Recommendation, IDC_static_RecommendedTTL, text::kIDC_static_RecommendedTTL,
     &TuningValues::ttl},
    {PageTextKind::Label, IDC_IE_GROUP_BOX, text::kIDC_IE_GROUP_BOX},
    {PageTextKind::Label, IDC_IE_OPTIMIZATION, text::kIDC_IE_OPTIMIZATION},
    {PageTextKind::CountStatus, IDC_CURRENT_HTTP_1_0, text::kIDC_CURRENT_HTTP_1_0,
     &TuningValues::maxConnectionsPer1_0Server, &FoundFlags::maxConnectionsPer1_0ServerFound,
     text::k2},
    {PageTextKind::Recommendation, IDC_RECOMMENDED_HTTP_1_0, text::kIDC_RECOMMENDED_HTTP_1_0,
     &TuningValues::maxConnectionsPer1_0Server},
    {PageTextKind::CountStatus, IDC_CURRENT_HTTP_1_1, text::kIDC_CURRENT_HTTP_1_1,
     &TuningValues::maxConnectionsPerServer, &FoundFlags::maxConnectionsPerServerFound, text::k2},
    {PageTextKind::Recommendation, IDC_RECOMMENDED_HTTP_1_1, text::kIDC_RECOMMENDED_HTTP_1_1,
     &TuningValues::maxConnectionsPerServer},
};

}  // namespace

CTTLSetting::CTTLSetting(wizard::WizardState& state)
    : CWizardPage(IDD_TTL, wizard::kPageTtl, state, {kTexts, kFields}) {}
