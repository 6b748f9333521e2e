// Whole wizard runs on both Windows families: the steps in order, the values in force
// and the recommendations of every connection type, Finish, and the registry afterwards.
#include <gtest/gtest.h>

#include "PageChecks.h"
#include "WizardTest.h"

namespace e2e::wizard {
namespace {

using Steps = std::vector<std::string>;

struct ConnectionCase {
    int radio;
    int mtu, mss, multiplier;
};
constexpr ConnectionCase kDialUp{IDC_step2_RADIO_DialUp, 576, 536, 30};
constexpr ConnectionCase kCableModem{IDC_step2_RADIO_CableModem, 1500, 1460, 44};
constexpr ConnectionCase kDsl{IDC_step2_RADIO_DSL, 1492, 1452, 44};
constexpr ConnectionCase kLan{IDC_step2_RADIO_LAN, 1500, 1460, 44};

// A picture of the current step for people to look at.
void Shoot(const Wizard& wizard, const std::string& name) {
    EXPECT_TRUE(SaveScreenshot("wizard-" + name, wizard.Sheet())) << name;
}

// From the first page: chooses each connection type in turn and checks what the MTU
// and receive window pages recommend for it, coming back to the first page between
// types; stays on the receive window page of the last type, and takes a picture of the
// MTU page on the way there.
void VisitConnectionTypes(const Wizard& wizard, const Steps& steps, const std::string& family,
                          const std::vector<ConnectionCase>& types, const std::string& mtuStatus,
                          const std::string& mssStatus, const std::string& rwinStatus) {
    for (size_t i = 0; i < types.size(); ++i) {
        const ConnectionCase& type = types[i];
        SCOPED_TRACE("connection radio " + std::to_string(type.radio));
        wizard.ClickItem(type.radio);
        ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(type.radio); }));
        ASSERT_TRUE(wizard.NextTo(steps[1]));
        ExpectMtuPage(wizard, type.mtu, type.mss, mtuStatus, mssStatus);
        if (i + 1 == types.size()) Shoot(wizard, family + "-2-mtu");
        ASSERT_TRUE(wizard.NextTo(steps[2]));
        ASSERT_TRUE(wizard.NextTo(steps[3]));
        ExpectRwinPage(wizard, type.mss, type.multiplier, 4LL * type.mss * type.multiplier,
                       rwinStatus);
        if (i + 1 == types.size()) break;
        ASSERT_TRUE(wizard.BackTo(steps[2]));
        ASSERT_TRUE(wizard.BackTo(steps[1]));
        ASSERT_TRUE(wizard.BackTo(steps[0], kNextOnly));
        ExpectConnectionPage(wizard, type.radio);
    }
}

// The stack key as the finishing run must leave it: the values it held, with every
// written value replaced.
KeyTree With(KeyTree tree, const std::vector<std::pair<std::string, RegValue>>& written) {
    for (const auto& [name, value] : written) tree.values[name] = value;
    return tree;
}

using S = RegValue;

// ---------------------------------------------------------------------------
// Windows 98: six steps, text values, the dial-up adapter's MTU and MSS.

TEST_F(WizardTest, Windows98RunShowsEveryStepAndWritesTheWin9xCatalogue) {
    // Some values in force, some not: each page shows both kinds of sentence.
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server", 10);
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "SackOpts", "0");
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultTTL", "128");
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultRcvWindow", "64240");
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "PMTUDiscovery", "1");
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "KeepAliveTime", "3600000");
    SetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "EnableDNS", "1");
    // A network card ahead of the dial-up adapter; only the dial-up adapter is tuned.
    AddWin9xAdapter({"0000", "NE2000 Compatible", "0000", "0000", "1500", "1460"});
    AddWin9xAdapter({"0001", "Dial-Up Adapter", "0002", "0003", "1500", std::nullopt});
    const std::optional<KeyTree> browserBefore = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const std::optional<KeyTree> stackBefore = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWin9xStack);
    const std::optional<KeyTree> cardBefore = ReadKeyTree(HKEY_LOCAL_MACHINE, NetTransKey("0000"));
    ASSERT_TRUE(browserBefore && stackBefore && cardBefore);

    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ExpectConnectionPage(wizard, IDC_step2_RADIO_DialUp);
    EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZBACK), "< &Back");
    EXPECT_EQ(ItemText(wizard.Sheet(), ID_WIZNEXT), "&Next >");
    EXPECT_EQ(ItemText(wizard.Sheet(), IDCANCEL), "Cancel");

    Shoot(wizard, "win9x-1-connection-type");
    VisitConnectionTypes(wizard, kWin9xSteps, "win9x", {kDialUp, kCableModem, kDsl, kLan},
                         WasSet(1500, "bytes"), kNotSet, WasSet(64240, "bytes"));
    if (HasFatalFailure()) return;

    // On with LAN, changing a value on every page.
    Shoot(wizard, "win9x-4-rwin");
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "20"));
    EXPECT_TRUE(wizard.WaitForText(IDC_RWIN, "116800"));
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[2]));
    ExpectOtherMtuPage(wizard, kEnabled, kNotSet);
    Shoot(wizard, "win9x-3-other-mtu");
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_MTUDiscovery));
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_BlackHoleDetection));
    wizard.ClickItem(IDC_chk_MTUDiscovery);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_chk_MTUDiscovery); }));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    // The receive window page starts again from its recommendation.
    EXPECT_TRUE(wizard.WaitForText(IDC_MULTIPLIER, "44"));
    ASSERT_TRUE(wizard.Fill(IDC_MULTIPLIER, "20"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[4]));
    ExpectTtlPage(wizard, 32, 4, 8, WasSet(128, "seconds"), WasSet(10), kNotSet);
    Shoot(wizard, "win9x-5-ttl");
    ASSERT_TRUE(wizard.Fill(IDC_TTL, "100"));
    ASSERT_TRUE(wizard.Fill(IDC_HTTP_1_0, "6"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[5], kBackFinish));
    ExpectKeepAlivePage(wizard, WasSet(3600000, "milliseconds"), kNotSet);
    Shoot(wizard, "win9x-6-keep-alive");
    ASSERT_TRUE(wizard.Fill(IDC_KEEP_ALIVE_INTERVAL, "2000"));

    FinishWith41(wizard, main, [&] {
        KeyTree stack = With(*stackBefore, {{"SackOpts", S::String("1")},
                                            {"Tcp1323Opts", S::String("1")},
                                            {"DefaultTTL", S::String("100")},
                                            {"DefaultRcvWindow", S::String("116800")},
                                            {"GlobalMaxTcpWindowSize", S::String("116800")},
                                            {"PMTUBlackHoleDetect", S::String("0")},
                                            {"PMTUDiscovery", S::String("0")},
                                            {"KeepAliveTime", S::String("7200000")},
                                            {"KeepAliveInterval", S::String("2000")}});
        // Windows 98 reads the global limit from here, as a number (KB 239731).
        stack.subkeys["Parameters"] = KeyTree{{{"GlobalMaxTcpWindoSize", S::Dword(116800)}}, {}};
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWin9xStack, stack));
        EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, keys::kBrowser,
                          With(*browserBefore, {{"MaxConnectionsPer1_0Server", S::Dword(6)},
                                                {"MaxConnectionsPerServer", S::Dword(8)}})));
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, NetTransKey("0003"),
                          KeyTree{{{"DriverDesc", S::String("TCP/IP")},
                                   {"MaxMTU", S::String("1500")},
                                   {"MaxMSS", S::String("1460")}},
                                  {}}));
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, NetTransKey("0000"), cardBefore));
        // The backup Finish took before writing: what was there, as it was, marked
        // complete as its last value.
        EXPECT_TRUE(KeyIs(
            HKEY_CURRENT_USER, kBackupKey,
            KeyTree{{{"Backup Complete", S::Dword(1)},
                     {"Backup Parts", S::String("MTU Settings\\MSS Settings\\MSTCP Parameters")},
                     {"MaxConnectionsPer1_0Server", S::Dword(10)},
                     {"SackOpts", S::String("0")},
                     {"DefaultTTL", S::String("128")},
                     {"DefaultRcvWindow", S::String("64240")},
                     {"PMTUDiscovery", S::String("1")},
                     {"KeepAliveTime", S::String("3600000")},
                     // The Windows it was made on, and the dial-up adapter's entry and
                     // binding through which it reached NetTrans\0003.
                     {"Windows", S::String("Windows 98")},
                     {"Dial-Up Adapter Entry", S::String("0001")},
                     {"Dial-Up Adapter Binding", S::String("0002")}},
                    {{"MTU Settings", KeyTree{{{"0003", S::String("1500")}}, {}}},
                     {"MSS Settings", KeyTree{}},
                     {"MSTCP Parameters", KeyTree{{{"Key Absent", S::Dword(1)}}, {}}}}}));
    });
}

// ---------------------------------------------------------------------------
// Windows XP: eight steps, numbers, every interface's MTU and MSS.

TEST_F(WizardTest, WindowsXpRunShowsEveryStepAndWritesTheWinNtCatalogue) {
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer", 2);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultTTL", 128);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnablePMTUDiscovery", 0);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnablePMTUBHDetect", 1);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "KeepAliveInterval", 1000);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "SYNAttackProtect", 1);
    SetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirect", 1);
    // The value in force is the last interface's that has one.
    AddInterface("{1A}", 1500, 1460);
    AddInterface("{2B}", 576, std::nullopt);
    AddInterface("{3C}", std::nullopt, std::nullopt);
    const std::optional<KeyTree> browserBefore = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const std::optional<KeyTree> stackBefore = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
    ASSERT_TRUE(browserBefore && stackBefore);

    HWND main = StartAs("winxp");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ExpectConnectionPage(wizard, IDC_step2_RADIO_DialUp);
    Shoot(wizard, "winnt-1-connection-type");
    VisitConnectionTypes(wizard, kWinNtSteps, "winnt", {kLan, kCableModem, kDialUp, kDsl},
                         WasSet(576, "bytes"), WasSet(1460, "bytes"), kNotSet);
    if (HasFatalFailure()) return;
    Shoot(wizard, "winnt-4-rwin");

    // On with DSL and an MTU of its own, with an MSS that fits it.
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[2]));
    ExpectOtherMtuPage(wizard, kDisabled, kEnabled);
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[1]));
    ASSERT_TRUE(wizard.Fill(IDC_MTU, "1400"));
    ASSERT_TRUE(wizard.Fill(IDC_MSS, "1360"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
    Shoot(wizard, "winnt-3-other-mtu");
    wizard.ClickItem(IDC_chk_BlackHoleDetection);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_chk_BlackHoleDetection); }));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
    ExpectRwinPage(wizard, 1360, 44, 239360, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[4]));
    ExpectTtlPage(wizard, 64, 20, 20, WasSet(128, "seconds"), kNotSet, WasSet(2));
    Shoot(wizard, "winnt-5-ttl");
    ASSERT_TRUE(wizard.Fill(IDC_HTTP_1_1, "2"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[5]));
    ExpectKeepAlivePage(wizard, kNotSet, WasSet(1000, "milliseconds"));
    Shoot(wizard, "winnt-6-keep-alive");
    ASSERT_TRUE(wizard.Fill(IDC_KEEP_ALIVE_TIME, "3600000"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[6]));
    ExpectSynPage(wizard, " was set to option 1.");
    EXPECT_TRUE(wizard.WaitForText(IDC_SYN_ATTACK_PROTECT, "2"));
    Shoot(wizard, "winnt-7-syn-flood");
    ASSERT_TRUE(wizard.Fill(IDC_SYN_ATTACK_PROTECT, "0"));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));
    ExpectIcmpPage(wizard, kEnabled);
    EXPECT_FALSE(wizard.IsChecked(IDC_chk_ICMP));
    Shoot(wizard, "winnt-8-icmp-redirect");
    wizard.ClickItem(IDC_chk_ICMP);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_chk_ICMP); }));

    FinishWith41(wizard, main, [&] {
        KeyTree stack = With(*stackBefore, {{"SackOpts", S::Dword(1)},
                                            {"Tcp1323Opts", S::Dword(1)},
                                            {"TcpMaxDupAcks", S::Dword(2)},
                                            {"DefaultTTL", S::Dword(64)},
                                            {"DefaultReceiveWindow", S::Dword(8192)},
                                            {"TcpWindowSize", S::Dword(239360)},
                                            {"GlobalMaxTcpWindowSize", S::Dword(239360)},
                                            {"EnablePMTUBHDetect", S::Dword(1)},
                                            {"EnablePMTUDiscovery", S::Dword(1)},
                                            {"KeepAliveTime", S::Dword(3600000)},
                                            {"KeepAliveInterval", S::Dword(1000)},
                                            {"SYNAttackProtect", S::Dword(0)},
                                            {"EnableICMPRedirects", S::Dword(1)},
                                            {"EnableICMPRedirect", S::Dword(1)}});
        // Every interface gets both values, also one that had neither.
        for (auto& [name, interfaceKey] : stack.subkeys.at("Interfaces").subkeys) {
            interfaceKey.values["MTU"] = S::Dword(1400);
            interfaceKey.values["MSS"] = S::Dword(1360);
        }
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWinNtStack, stack));
        EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, keys::kBrowser,
                          With(*browserBefore, {{"MaxConnectionsPer1_0Server", S::Dword(20)},
                                                {"MaxConnectionsPerServer", S::Dword(2)}})));
        EXPECT_TRUE(KeyIs(
            HKEY_CURRENT_USER, kBackupKey,
            KeyTree{
                {{"Backup Complete", S::Dword(1)},
                 {"Backup Parts",
                  S::String("MTU Settings\\MSS Settings\\Interfaces\\AFD Parameters")},
                 {"MaxConnectionsPerServer", S::Dword(2)},
                 {"DefaultTTL", S::Dword(128)},
                 {"EnablePMTUDiscovery", S::Dword(0)},
                 {"EnablePMTUBHDetect", S::Dword(1)},
                 {"KeepAliveInterval", S::Dword(1000)},
                 {"SYNAttackProtect", S::Dword(1)},
                 {"EnableICMPRedirect", S::Dword(1)},
                 {"Windows", S::String("Windows XP")}},
                {{"MTU Settings", KeyTree{{{"{1A}", S::Dword(1500)}, {"{2B}", S::Dword(576)}}, {}}},
                 {"MSS Settings", KeyTree{{{"{1A}", S::Dword(1460)}}, {}}},
                 // Every interface there was, so that Reset touches those and no other.
                 {"Interfaces",
                  KeyTree{{{"{1A}", S::Dword(1)}, {"{2B}", S::Dword(1)}, {"{3C}", S::Dword(1)}},
                          {}}},
                 // No socket driver's service on this machine: nothing of it to keep, and
                 // a key Finish did not make (2), which Reset leaves to whoever makes it.
                 {"AFD Parameters", KeyTree{{{"Key Absent", S::Dword(2)}}, {}}}}}));
    });
}

// ---------------------------------------------------------------------------
// NT 4.0 and Windows Me on machines where nothing is set: every page says so, and
// the defaults are written.

TEST_F(WizardTest, Nt40RunWithNothingSetWritesTheDefaults) {
    const std::optional<KeyTree> stackBefore = ReadKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtStack);
    ASSERT_TRUE(stackBefore);
    HWND main = StartAs("nt40");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWinNtSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;

    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[1]));
    ExpectMtuPage(wizard, 576, 536, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[2]));
    ExpectOtherMtuPage(wizard, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[3]));
    ExpectRwinPage(wizard, 536, 30, 64320, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[4]));
    ExpectTtlPage(wizard, 64, 20, 20, kNotSet, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[5]));
    ExpectKeepAlivePage(wizard, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[6]));
    ExpectSynPage(wizard, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));
    ExpectIcmpPage(wizard, kNotSet);
    // Back from the last step offers Next again on the step before it.
    ASSERT_TRUE(wizard.BackTo(kWinNtSteps[6], kBackNext));
    ASSERT_TRUE(wizard.NextTo(kWinNtSteps[7], kBackFinish));

    FinishWith41(wizard, main, [&] {
        // Without an Interfaces key there is no MTU or MSS to write.
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWinNtStack,
                          With(With(*stackBefore, kWinNtRecommendedWrites),
                               {{"TcpWindowSize", S::Dword(64320)},
                                {"GlobalMaxTcpWindowSize", S::Dword(64320)},
                                {"EnablePMTUBHDetect", S::Dword(0)},
                                {"EnablePMTUDiscovery", S::Dword(1)},
                                {"EnableICMPRedirects", S::Dword(0)},
                                {"EnableICMPRedirect", S::Dword(0)}})));
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 20u);
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 20u);
        // The NT 4.0 backup always has its interface and adapter subkeys, empty here, and
        // those of the socket driver's and RAS's keys, which are not there and which Finish
        // does not make (2): Reset leaves them to whoever makes them.
        EXPECT_TRUE(KeyIs(
            HKEY_CURRENT_USER, kBackupKey,
            KeyTree{{{"Backup Complete", S::Dword(1)},
                     {"Backup Parts", S::String("MTU Settings\\MSS Settings\\Interfaces\\"
                                                "Adapter MTU Settings\\Adapters\\AFD Parameters\\"
                                                "NdisWan Parameters")},
                     {"Windows", S::String("Windows NT 4.0")}},
                    {{"MTU Settings", KeyTree{}},
                     {"MSS Settings", KeyTree{}},
                     {"Interfaces", KeyTree{}},
                     {"Adapter MTU Settings", KeyTree{}},
                     {"Adapters", KeyTree{}},
                     {"AFD Parameters", KeyTree{{{"Key Absent", S::Dword(2)}}, {}}},
                     {"NdisWan Parameters", KeyTree{{{"Key Absent", S::Dword(2)}}, {}}}}}));
    });
}

TEST_F(WizardTest, WindowsMeRunWithNothingSetWritesTheDefaults) {
    // An adapter whose description matches only without case is not the dial-up adapter.
    AddWin9xAdapter({"0000", "Dial-up adapter", "0000", "0001", std::nullopt, std::nullopt});
    const std::optional<KeyTree> adapterBefore =
        ReadKeyTree(HKEY_LOCAL_MACHINE, NetTransKey("0001"));
    HWND main = StartAs("winme");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;

    wizard.ClickItem(IDC_step2_RADIO_CableModem);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(IDC_step2_RADIO_CableModem); }));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[1]));
    ExpectMtuPage(wizard, 1500, 1460, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[2]));
    ExpectOtherMtuPage(wizard, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    ExpectRwinPage(wizard, 1460, 44, 256960, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[4]));
    ExpectTtlPage(wizard, 32, 4, 8, kNotSet, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[5], kBackFinish));
    ExpectKeepAlivePage(wizard, kNotSet, kNotSet);
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[4], kBackNext));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[5], kBackFinish));

    FinishWith41(wizard, main, [&] {
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWin9xStack,
                          With(With(KeyTree{}, kWin9xRecommendedWrites),
                               {{"DefaultRcvWindow", S::String("256960")},
                                {"GlobalMaxTcpWindowSize", S::String("256960")},
                                {"PMTUBlackHoleDetect", S::String("0")},
                                {"PMTUDiscovery", S::String("1")}})));
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 4u);
        EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 8u);
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, NetTransKey("0001"), adapterBefore));
        EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, kBackupKey,
                          KeyTree{{{"Backup Complete", S::Dword(1)},
                                   {"Backup Parts", S::String("")},
                                   {"Windows", S::String("Windows Me")}},
                                  {}}));
    });
}

}  // namespace
}  // namespace e2e::wizard
