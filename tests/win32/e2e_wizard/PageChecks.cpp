// What each wizard page must show with the built-in English texts.
#include "PageChecks.h"

#include "e2e/Driver.h"

namespace e2e::wizard {
std::string WasSet(long long value, const std::string& unit) {
    return " was set to " + std::to_string(value) + " " + unit + ".";
}

std::string WasSet(long long value) {
    return " was set to " + std::to_string(value) + ".";
}

void ExpectConnectionPage(const Wizard& wizard, int checkedRadio) {
    EXPECT_TRUE(wizard.WaitForText(connection::kExplain, "How do you connect to the internet?"));
    EXPECT_TRUE(wizard.WaitForText(connection::kDialUp, "Dial Up Connection (&Modem)."));
    EXPECT_TRUE(wizard.WaitForText(connection::kCableModem, "&Cable Modem."));
    EXPECT_TRUE(wizard.WaitForText(connection::kDsl, "&Digital Subscriber Line (DSL)."));
    EXPECT_TRUE(wizard.WaitForText(connection::kLan, "&LAN Connection (Ethernet)."));
    for (int radio :
         {connection::kDialUp, connection::kCableModem, connection::kDsl, connection::kLan}) {
        EXPECT_EQ(wizard.IsChecked(radio), radio == checkedRadio) << "radio button " << radio;
    }
}

void ExpectMtuPage(const Wizard& wizard, int mtu, int mss, const std::string& mtuStatus,
                   const std::string& mssStatus) {
    EXPECT_TRUE(wizard.WaitForText(mtu::kMtuExplain,
                                   Explained(text::kIDC_static_step3_MTUExplain, mtuStatus)));
    EXPECT_TRUE(wizard.WaitForText(mtu::kMssExplain,
                                   Explained(text::kIDC_static_step3_MSSExplain, mssStatus)));
    EXPECT_TRUE(wizard.WaitForText(mtu::kRecommendedMtu,
                                   "Recommended MTU size  :  " + std::to_string(mtu) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(mtu::kRecommendedMss,
                                   "Recommended MSS size  :  " + std::to_string(mss) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(mtu::kMtuEdit, std::to_string(mtu)));
    EXPECT_TRUE(wizard.WaitForText(mtu::kMssEdit, std::to_string(mss)));
}

void ExpectOtherMtuPage(const Wizard& wizard, const std::string& discoveryStatus,
                        const std::string& blackHoleStatus) {
    EXPECT_TRUE(wizard.WaitForText(
        othermtu::kDiscoveryExplain,
        Explained(text::kIDC_static_step4_MTUDiscoveryExplain, discoveryStatus)));
    EXPECT_TRUE(wizard.WaitForText(
        othermtu::kBlackHoleExplain,
        Explained(text::kIDC_static_step4_BlackHoeDetectExplain, blackHoleStatus)));
    EXPECT_TRUE(
        wizard.WaitForText(othermtu::kDiscoveryRecommendation, "Recommended to be ENABLED."));
    EXPECT_TRUE(wizard.WaitForText(
        othermtu::kBlackHoleRecommendation,
        "Recommended to be DISABLED since it imposes extra transmission overhead."));
    EXPECT_TRUE(wizard.WaitForText(othermtu::kDisableDiscovery, "Disable It?"));
    EXPECT_TRUE(wizard.WaitForText(othermtu::kEnableBlackHole, "Enable It?"));
}

void ExpectRwinPage(const Wizard& wizard, int mss, int multiplier, long long rwin,
                    const std::string& status) {
    EXPECT_TRUE(
        wizard.WaitForText(rwin::kExplain, Explained(text::kIDC_static_step5_Explain, status)));
    EXPECT_TRUE(wizard.WaitForText(
        rwin::kRecommendation, "Recommended RWIN size  :  " + std::to_string(rwin) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(rwin::kMssEdit, std::to_string(mss)));
    EXPECT_TRUE(wizard.WaitForText(rwin::kMultiplierEdit, std::to_string(multiplier)));
    EXPECT_TRUE(wizard.WaitForText(rwin::kScalingFactorEdit, "4"));
    EXPECT_TRUE(wizard.WaitForText(rwin::kRwinEdit, std::to_string(rwin)));
    EXPECT_TRUE(wizard.WaitForText(rwin::kMssLabel, "MSS"));
    EXPECT_TRUE(wizard.WaitForText(rwin::kMultiplierLabel, "Multiplier"));
    EXPECT_TRUE(wizard.WaitForText(rwin::kScalingFactorLabel, "Scaling Factor"));
    EXPECT_TRUE(wizard.WaitForText(rwin::kRwinLabel, "RWIN"));
}

void ExpectTtlPage(const Wizard& wizard, int ttl, int http10, int http11,
                   const std::string& ttlStatus, const std::string& http10Status,
                   const std::string& http11Status) {
    EXPECT_TRUE(wizard.WaitForText(ttl::kTtlGroup, "TTL"));
    EXPECT_TRUE(wizard.WaitForText(ttl::kTtlExplain,
                                   Explained(text::kIDC_static_step6_Explain, ttlStatus)));
    EXPECT_TRUE(wizard.WaitForText(ttl::kRecommendedTtl,
                                   "Recommended TTL  :  " + std::to_string(ttl) + " seconds."));
    EXPECT_TRUE(wizard.WaitForText(ttl::kBrowserGroup, "Internet Explorer Optimization"));
    EXPECT_TRUE(wizard.WaitForText(ttl::kBrowserExplain, Shown(text::kIDC_IE_OPTIMIZATION)));
    EXPECT_TRUE(wizard.WaitForText(ttl::kCurrentHttp10, "HTTP 1.0 value" + http10Status));
    EXPECT_TRUE(wizard.WaitForText(ttl::kRecommendedHttp10, "Recommended value for HTTP 1.0  :  " +
                                                                std::to_string(http10) + "."));
    EXPECT_TRUE(wizard.WaitForText(ttl::kCurrentHttp11, "HTTP 1.1 value" + http11Status));
    EXPECT_TRUE(wizard.WaitForText(ttl::kRecommendedHttp11, "Recommended value for HTTP 1.1  :  " +
                                                                std::to_string(http11) + "."));
    EXPECT_TRUE(wizard.WaitForText(ttl::kTtlEdit, std::to_string(ttl)));
    EXPECT_TRUE(wizard.WaitForText(ttl::kHttp10Edit, std::to_string(http10)));
    EXPECT_TRUE(wizard.WaitForText(ttl::kHttp11Edit, std::to_string(http11)));
}

void ExpectKeepAlivePage(const Wizard& wizard, const std::string& timeStatus,
                         const std::string& intervalStatus) {
    EXPECT_TRUE(
        wizard.WaitForText(keepalive::kTimeExplain,
                           Explained(text::kIDC_static_step7_KeepAliveTimeExplain, timeStatus)));
    EXPECT_TRUE(wizard.WaitForText(
        keepalive::kIntervalExplain,
        Explained(text::kIDC_static_step7_KeepLAliveIntervalExplain, intervalStatus)));
    EXPECT_TRUE(wizard.WaitForText(keepalive::kRecommendedTime,
                                   "Recommended Keep Alive Time  :  7200000 milliseconds."));
    EXPECT_TRUE(wizard.WaitForText(keepalive::kRecommendedInterval,
                                   "Recommended Keep Alive Interval  :  1000 milliseconds."));
    EXPECT_TRUE(wizard.WaitForText(keepalive::kTimeEdit, "7200000"));
    EXPECT_TRUE(wizard.WaitForText(keepalive::kIntervalEdit, "1000"));
}

void ExpectSynPage(const Wizard& wizard, const std::string& status) {
    EXPECT_TRUE(wizard.WaitForText(syn::kExplain, Shown(text::kIDC_static_step8_SYNExplain)));
    EXPECT_TRUE(
        wizard.WaitForText(syn::kOptions, Explained(text::kIDC_static_RecommendedSYN, status)));
    EXPECT_TRUE(wizard.WaitForText(syn::kPrompt, "What will be your decision?"));
}

void ExpectIcmpPage(const Wizard& wizard, const std::string& status) {
    EXPECT_TRUE(wizard.WaitForText(icmp::kSymptom1, Shown(text::kIDC_static_step9_ICMPExplain)));
    EXPECT_TRUE(wizard.WaitForText(icmp::kSymptom2, Shown(text::kIDC_static_step9_ICMPExplain2)));
    EXPECT_TRUE(wizard.WaitForText(icmp::kSymptom3, Shown(text::kIDC_static_step9_ICMPExplain3)));
    EXPECT_TRUE(
        wizard.WaitForText(icmp::kCause, Explained(text::kIDC_static_step9_ICMPExplain4, status)));
    EXPECT_TRUE(wizard.WaitForText(icmp::kRecommendation, "Recommended to be DISABLED."));
    EXPECT_TRUE(wizard.WaitForText(icmp::kEnableIcmp, "Enable It?"));
}

void ExpectModemPage(const Wizard& wizard) {
    EXPECT_TRUE(wizard.WaitForText(modem::kDescription, Shown(text::kIDC_DESCRIBTION)));
    HWND picture = wizard.Control(modem::kPicture);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(IsWindowVisible(picture));
    EXPECT_EQ(Style(picture) & SS_TYPEMASK, SS_BITMAP);
}

}  // namespace e2e::wizard
