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
    EXPECT_TRUE(
        wizard.WaitForText(IDC_static_step2_Explain, "How do you connect to the internet?"));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_DialUp, "Dial Up Connection (&Modem)."));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_CableModem, "&Cable Modem."));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_DSL, "&Digital Subscriber Line (DSL)."));
    EXPECT_TRUE(wizard.WaitForText(IDC_step2_RADIO_LAN, "&LAN Connection (Ethernet)."));
    for (int radio : {IDC_step2_RADIO_DialUp, IDC_step2_RADIO_CableModem, IDC_step2_RADIO_DSL,
                      IDC_step2_RADIO_LAN}) {
        EXPECT_EQ(wizard.IsChecked(radio), radio == checkedRadio) << "radio button " << radio;
    }
}

void ExpectMtuPage(const Wizard& wizard, int mtu, int mss, const std::string& mtuStatus,
                   const std::string& mssStatus) {
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step3_MTUExplain,
                                   Explained(text::kIDC_static_step3_MTUExplain, mtuStatus)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step3_MSSExplain,
                                   Explained(text::kIDC_static_step3_MSSExplain, mssStatus)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedMTU,
                                   "Recommended MTU size  :  " + std::to_string(mtu) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedMSS,
                                   "Recommended MSS size  :  " + std::to_string(mss) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(IDC_MTU, std::to_string(mtu)));
    EXPECT_TRUE(wizard.WaitForText(IDC_MSS, std::to_string(mss)));
}

void ExpectOtherMtuPage(const Wizard& wizard, const std::string& discoveryStatus,
                        const std::string& blackHoleStatus) {
    EXPECT_TRUE(wizard.WaitForText(
        IDC_static_step4_MTUDiscoveryExplain,
        Explained(text::kIDC_static_step4_MTUDiscoveryExplain, discoveryStatus)));
    EXPECT_TRUE(wizard.WaitForText(
        IDC_static_step4_BlackHoeDetectExplain,
        Explained(text::kIDC_static_step4_BlackHoeDetectExplain, blackHoleStatus)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_MTUDiscovery, "Recommended to be ENABLED."));
    EXPECT_TRUE(wizard.WaitForText(
        IDC_static_BlackHoleDetect,
        "Recommended to be DISABLED since it imposes extra transmission overhead."));
    EXPECT_TRUE(wizard.WaitForText(IDC_chk_MTUDiscovery, "Disable It?"));
    EXPECT_TRUE(wizard.WaitForText(IDC_chk_BlackHoleDetection, "Enable It?"));
}

void ExpectRwinPage(const Wizard& wizard, int mss, int multiplier, long long rwin,
                    const std::string& status) {
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step5_Explain,
                                   Explained(text::kIDC_static_step5_Explain, status)));
    EXPECT_TRUE(
        wizard.WaitForText(IDC_static_RecommendedRWIN,
                           "Recommended RWIN size  :  " + std::to_string(rwin) + " bytes."));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN_MSS, std::to_string(mss)));
    EXPECT_TRUE(wizard.WaitForText(IDC_MULTIPLIER, std::to_string(multiplier)));
    EXPECT_TRUE(wizard.WaitForText(IDC_SCALING_FACTOR, "4"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, std::to_string(rwin)));
    EXPECT_TRUE(wizard.WaitForText(IDC_STATIC_MSS, "MSS"));
    EXPECT_TRUE(wizard.WaitForText(IDC_STATIC_MULTIPLIER, "Multiplier"));
    EXPECT_TRUE(wizard.WaitForText(IDC_STATIC_SCALING_FACTOR, "Scaling Factor"));
    EXPECT_TRUE(wizard.WaitForText(IDC_STATIC_RWIN, "RWIN"));
}

void ExpectTtlPage(const Wizard& wizard, int ttl, int http10, int http11,
                   const std::string& ttlStatus, const std::string& http10Status,
                   const std::string& http11Status) {
    EXPECT_TRUE(wizard.WaitForText(IDC_TTL_GROUP_BOX, "TTL"));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step6_Explain,
                                   Explained(text::kIDC_static_step6_Explain, ttlStatus)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedTTL,
                                   "Recommended TTL  :  " + std::to_string(ttl) + " seconds."));
    EXPECT_TRUE(wizard.WaitForText(IDC_IE_GROUP_BOX, "Internet Explorer Optimization"));
    EXPECT_TRUE(wizard.WaitForText(IDC_IE_OPTIMIZATION, Shown(text::kIDC_IE_OPTIMIZATION)));
    EXPECT_TRUE(wizard.WaitForText(IDC_CURRENT_HTTP_1_0, "HTTP 1.0 value" + http10Status));
    EXPECT_TRUE(wizard.WaitForText(IDC_RECOMMENDED_HTTP_1_0, "Recommended value for HTTP 1.0  :  " +
                                                                 std::to_string(http10) + "."));
    EXPECT_TRUE(wizard.WaitForText(IDC_CURRENT_HTTP_1_1, "HTTP 1.1 value" + http11Status));
    EXPECT_TRUE(wizard.WaitForText(IDC_RECOMMENDED_HTTP_1_1, "Recommended value for HTTP 1.1  :  " +
                                                                 std::to_string(http11) + "."));
    EXPECT_TRUE(wizard.WaitForText(IDC_TTL, std::to_string(ttl)));
    EXPECT_TRUE(wizard.WaitForText(IDC_HTTP_1_0, std::to_string(http10)));
    EXPECT_TRUE(wizard.WaitForText(IDC_HTTP_1_1, std::to_string(http11)));
}

void ExpectKeepAlivePage(const Wizard& wizard, const std::string& timeStatus,
                         const std::string& intervalStatus) {
    EXPECT_TRUE(
        wizard.WaitForText(IDC_static_step7_KeepAliveTimeExplain,
                           Explained(text::kIDC_static_step7_KeepAliveTimeExplain, timeStatus)));
    EXPECT_TRUE(wizard.WaitForText(
        IDC_static_step7_KeepLAliveIntervalExplain,
        Explained(text::kIDC_static_step7_KeepLAliveIntervalExplain, intervalStatus)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedKeepAliveTime,
                                   "Recommended Keep Alive Time  :  7200000 milliseconds."));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedKeepAliveInterval,
                                   "Recommended Keep Alive Interval  :  1000 milliseconds."));
    EXPECT_TRUE(wizard.WaitForText(IDC_KEEP_ALIVE_TIME, "7200000"));
    EXPECT_TRUE(wizard.WaitForText(IDC_KEEP_ALIVE_INTERVAL, "1000"));
}

void ExpectSynPage(const Wizard& wizard, const std::string& status) {
    EXPECT_TRUE(
        wizard.WaitForText(IDC_static_step8_SYNExplain, Shown(text::kIDC_static_step8_SYNExplain)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_RecommendedSYN,
                                   Explained(text::kIDC_static_RecommendedSYN, status)));
    EXPECT_TRUE(wizard.WaitForText(IDC_STATIC_SYN, "What will be your decision?"));
}

void ExpectIcmpPage(const Wizard& wizard, const std::string& status) {
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step9_ICMPExplain,
                                   Shown(text::kIDC_static_step9_ICMPExplain)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step9_ICMPExplain2,
                                   Shown(text::kIDC_static_step9_ICMPExplain2)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step9_ICMPExplain3,
                                   Shown(text::kIDC_static_step9_ICMPExplain3)));
    EXPECT_TRUE(wizard.WaitForText(IDC_static_step9_ICMPExplain4,
                                   Explained(text::kIDC_static_step9_ICMPExplain4, status)));
    EXPECT_TRUE(wizard.WaitForText(IDC_RecommendedICMP, "Recommended to be DISABLED."));
    EXPECT_TRUE(wizard.WaitForText(IDC_chk_ICMP, "Enable It?"));
}

void ExpectModemPage(const Wizard& wizard) {
    EXPECT_TRUE(wizard.WaitForText(IDC_DESCRIBTION, Shown(text::kIDC_DESCRIBTION)));
    HWND picture = wizard.Control(IDC_MODEM_SPEEDS);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(IsWindowVisible(picture));
    EXPECT_EQ(Style(picture) & SS_TYPEMASK, SS_BITMAP);
}

}  // namespace e2e::wizard
