// The nine wizard pages as rows: a value shown, typed or started with is one row here.
#include "wizard/PageTables.h"

#include <iterator>

#include "res/resource.h"
#include "wizard/WizardRules.h"

namespace wizard {

namespace {

using TV = TuningValues;
using FF = FoundFlags;
using K = PageTextKind;

// ---- Connection type -----------------------------------------------------------

constexpr PageText kConnectionTypeTexts[] = {
    {K::Label, IDC_step2_RADIO_DialUp, text::kIDC_step2_RADIO_DialUp},
    {K::Label, IDC_step2_RADIO_CableModem, text::kIDC_step2_RADIO_CableModem},
    {K::Label, IDC_step2_RADIO_DSL, text::kIDC_step2_RADIO_DSL},
    {K::Label, IDC_step2_RADIO_LAN, text::kIDC_step2_RADIO_LAN},
    {K::Label, IDC_static_step2_Explain, text::kIDC_static_step2_Explain},
};

// ---- MTU and MSS: recommended by the connection type -------------------------------

EntryRange MtuRange(const TV&) {
    return {kMinMtu, kMaxMtu};
}

// The MSS leaves room in the MTU just read for the IP and TCP headers.
EntryRange MssRange(const TV& entries) {
    return {kMinMss, MaxMss(entries.mtu)};
}

// Read in this order: the MSS's range needs the MTU.
constexpr PageField kMtuFields[] = {
    {IDC_MTU, &TV::mtu, 1, MtuRange},
    {IDC_MSS, &TV::mss, 1, MssRange},
};

constexpr PageText kMtuTexts[] = {
    {K::NumberStatus, IDC_static_step3_MTUExplain, text::kIDC_static_step3_MTUExplain, &TV::mtu,
     &FF::mtuFound, text::k4},
    {K::NumberStatus, IDC_static_step3_MSSExplain, text::kIDC_static_step3_MSSExplain, &TV::mss,
     &FF::mssFound, text::k4},
    {K::Recommendation, IDC_static_RecommendedMTU, text::kIDC_static_RecommendedMTU, &TV::mtu},
    {K::Recommendation, IDC_static_RecommendedMSS, text::kIDC_static_RecommendedMSS, &TV::mss},
};

// ---- Path MTU discovery: two check boxes, read by the page ---------------------------

constexpr PageText kOtherMtuTexts[] = {
    {K::Label, IDC_chk_MTUDiscovery, text::kIDC_chk_MTUDiscovery},
    {K::Label, IDC_chk_BlackHoleDetection, text::kIDC_chk_BlackHoleDetection},
    {K::Label, IDC_static_MTUDiscovery, text::kIDC_static_MTUDiscovery},
    {K::Label, IDC_static_BlackHoleDetect, text::kIDC_static_BlackHoleDetect},
    {K::SwitchStatus, IDC_static_step4_MTUDiscoveryExplain,
     text::kIDC_static_step4_MTUDiscoveryExplain, &TV::pmtuDiscovery, &FF::pmtuDiscoveryFound},
    {K::SwitchStatus, IDC_static_step4_BlackHoeDetectExplain,
     text::kIDC_static_step4_BlackHoeDetectExplain, &TV::pmtuBlackHoleDetect,
     &FF::pmtuBlackHoleDetectFound},
};

// ---- Receive window: its edits are the page's own ------------------------------------

constexpr PageText kRwinTexts[] = {
    {K::NumberStatus, IDC_static_step5_Explain, text::kIDC_static_step5_Explain, &TV::rwin,
     &FF::rwinFound, text::k4},
    {K::Recommendation, IDC_static_RecommendedRWIN, text::kIDC_static_RecommendedRWIN, &TV::rwin},
    {K::Label, IDC_STATIC_SCALING_FACTOR, text::kIDC_STATIC_SCALING_FACTOR},
    {K::Label, IDC_STATIC_MULTIPLIER, text::kIDC_STATIC_MULTIPLIER},
};

// ---- TTL and browser connections ---------------------------------------------------

EntryRange TtlRange(const TV&) {
    return {kMinTtl, kMaxTtl};
}

// The browser connections are kept at least at the browser's own defaults (KB 183110); there is
// no most.
constexpr PageField kTtlFields[] = {
    {IDC_HTTP_1_0, &TV::maxConnectionsPer1_0Server, 4},
    {IDC_HTTP_1_1, &TV::maxConnectionsPerServer, 2},
    {IDC_TTL, &TV::ttl, 1, TtlRange},
};

constexpr PageText kTtlTexts[] = {
    {K::NumberStatus, IDC_static_step6_Explain, text::kIDC_static_step6_Explain, &TV::ttl,
     &FF::ttlFound, text::k7},
    {K::Recommendation, IDC_static_RecommendedTTL, text::kIDC_static_RecommendedTTL, &TV::ttl},
    {K::Label, IDC_IE_GROUP_BOX, text::kIDC_IE_GROUP_BOX},
    {K::Label, IDC_IE_OPTIMIZATION, text::kIDC_IE_OPTIMIZATION},
    {K::CountStatus, IDC_CURRENT_HTTP_1_0, text::kIDC_CURRENT_HTTP_1_0,
     &TV::maxConnectionsPer1_0Server, &FF::maxConnectionsPer1_0ServerFound, text::k2},
    {K::Recommendation, IDC_RECOMMENDED_HTTP_1_0, text::kIDC_RECOMMENDED_HTTP_1_0,
     &TV::maxConnectionsPer1_0Server},
    {K::CountStatus, IDC_CURRENT_HTTP_1_1, text::kIDC_CURRENT_HTTP_1_1,
     &TV::maxConnectionsPerServer, &FF::maxConnectionsPerServerFound, text::k2},
    {K::Recommendation, IDC_RECOMMENDED_HTTP_1_1, text::kIDC_RECOMMENDED_HTTP_1_1,
     &TV::maxConnectionsPerServer},
};

constexpr PageDefault kTtlDefaults[] = {
    {&TV::ttl, 32, 64},
    {&TV::maxConnectionsPer1_0Server, 4, 20},
    {&TV::maxConnectionsPerServer, 8, 20},
};

// ---- Keep-alive ------------------------------------------------------------------

// The rows give the order the entries are read in, interval first, as the page has always read
// them (a text that is no number stops the reading there, so the order decides which message
// shows); the tab order, time first, is the dialog template's.
constexpr PageField kKeepAliveFields[] = {
    {IDC_KEEP_ALIVE_INTERVAL, &TV::keepAliveInterval, 1},
    {IDC_KEEP_ALIVE_TIME, &TV::keepAliveTime, 1},
};

constexpr PageText kKeepAliveTexts[] = {
    {K::NumberStatus, IDC_static_step7_KeepAliveTimeExplain,
     text::kIDC_static_step7_KeepAliveTimeExplain, &TV::keepAliveTime, &FF::keepAliveTimeFound,
     text::k1},
    {K::NumberStatus, IDC_static_step7_KeepLAliveIntervalExplain,
     text::kIDC_static_step7_KeepLAliveIntervalExplain, &TV::keepAliveInterval,
     &FF::keepAliveIntervalFound, text::k1},
    {K::Recommendation, IDC_static_RecommendedKeepAliveTime,
     text::kIDC_static_RecommendedKeepAliveTime, &TV::keepAliveTime},
    {K::Recommendation, IDC_static_RecommendedKeepAliveInterval,
     text::kIDC_static_RecommendedKeepAliveInterval, &TV::keepAliveInterval},
};

// Two hours and one second, in milliseconds: the stacks' own defaults (KB 314053).
constexpr PageDefault kKeepAliveDefaults[] = {
    {&TV::keepAliveTime, 7200000, 7200000},
    {&TV::keepAliveInterval, 1000, 1000},
};

// ---- SYN-attack protection: an option typed as a number, checked by the page ------------

constexpr PageText kSynFloodTexts[] = {
    {K::Label, IDC_static_step8_SYNExplain, text::kIDC_static_step8_SYNExplain},
    {K::CountStatus, IDC_static_RecommendedSYN, text::kIDC_static_RecommendedSYN,
     &TV::synAttackProtect, &FF::synAttackProtectFound, text::k8},
    {K::Label, IDC_STATIC_SYN, text::kIDC_STATIC_SYN},
};

constexpr PageDefault kSynFloodDefaults[] = {
    {&TV::synAttackProtect, 2, 2},
};

// ---- ICMP redirects: one check box, read by the page -------------------------------------

constexpr PageText kIcmpRedirectTexts[] = {
    {K::Label, IDC_chk_ICMP, text::kIDC_chk_ICMP},
    {K::Label, IDC_static_step9_ICMPExplain, text::kIDC_static_step9_ICMPExplain},
    {K::Label, IDC_static_step9_ICMPExplain2, text::kIDC_static_step9_ICMPExplain2},
    {K::Label, IDC_static_step9_ICMPExplain3, text::kIDC_static_step9_ICMPExplain3},
    {K::SwitchStatus, IDC_static_step9_ICMPExplain4, text::kIDC_static_step9_ICMPExplain4,
     &TV::icmpRedirects, &FF::icmpRedirectsFound},
    {K::Label, IDC_RecommendedICMP, text::kIDC_RecommendedICMP},
};

// ---- Modem boost ---------------------------------------------------------------------

constexpr PageText kModemBoostTexts[] = {
    {K::Label, IDC_DESCRIBTION, text::kIDC_DESCRIBTION},
};

// In page order. Pages 6 and 7 belong to the NT run only; the modem boost page has one caption.
constexpr PageTable kTables[kPageCount] = {
    {IDD_CONNECTION_TYPE, text::k30, text::k21, kConnectionTypeTexts, {}, {}},
    {IDD_MTU, text::k31, text::k22, kMtuTexts, kMtuFields, {}},
    {IDD_OTHER_MTU, text::k32, text::k23, kOtherMtuTexts, {}, {}},
    {IDD_RWIN, text::k33, text::k24, kRwinTexts, {}, {}},
    {IDD_TTL, text::k34, text::k25, kTtlTexts, kTtlFields, kTtlDefaults},
    {IDD_KEEP_ALIVE, text::k35, text::k26, kKeepAliveTexts, kKeepAliveFields, kKeepAliveDefaults},
    {IDD_SYN_FLOOD, text::k27, text::k27, kSynFloodTexts, {}, kSynFloodDefaults},
    {IDD_ICMP_REDIRECT, text::k28, text::k28, kIcmpRedirectTexts, {}, {}},
    {IDD_MODEM_BOOST, text::k29, text::k29, kModemBoostTexts, {}, {}},
};

}  // namespace

const PageTable& TableOf(WizardPage page) {
    return kTables[page];
}

}  // namespace wizard
