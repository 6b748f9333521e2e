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
// The radio buttons in their order on the page, with what each one recommends.
constexpr ConnectionCase kConnections[] = {
    {connection::kDialUp, 576, 536, 30},
    {connection::kCableModem, 1500, 1460, 44},
    {connection::kDsl, 1492, 1452, 44},
    {connection::kLan, 1500, 1460, 44},
};

// From the first page: chooses each connection type in turn and checks what the MTU
// and receive window pages recommend for it, coming back to the first page between
// types; stays on the receive window page of the last type.
void VisitEveryConnectionType(const Wizard& wizard, const Steps& steps,
                              const std::string& mtuStatus, const std::string& mssStatus,
                              const std::string& rwinStatus) {
    for (const ConnectionCase& type : kConnections) {
        SCOPED_TRACE("connection radio " + std::to_string(type.radio));
        wizard.ClickItem(type.radio);
        ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(type.radio); }));
        ASSERT_TRUE(wizard.NextTo(steps[1]));
        ExpectMtuPage(wizard, type.mtu, type.mss, mtuStatus, mssStatus);
        ASSERT_TRUE(wizard.NextTo(steps[2]));
        ASSERT_TRUE(wizard.NextTo(steps[3]));
        ExpectRwinPage(wizard, type.mss, type.multiplier, 4LL * type.mss * type.multiplier,
                       rwinStatus);
        if (type.radio == kConnections[std::size(kConnections) - 1].radio) break;
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
    const std::optional<KeyTree> cardBefore =
        ReadKeyTree(HKEY_LOCAL_MACHINE, NetTransKey("0000"));
    ASSERT_TRUE(browserBefore && stackBefore && cardBefore);

    HWND main = StartAs("win98");
    ASSERT_TRUE(main);
    std::optional<Wizard> opened = OpenWizard(main, kWin9xSteps);
    ASSERT_TRUE(opened);
    const Wizard& wizard = *opened;
    ExpectConnectionPage(wizard, connection::kDialUp);
    EXPECT_EQ(ItemText(wizard.Sheet(), vornel::kWizardBack), "< &Back");
    EXPECT_EQ(ItemText(wizard.Sheet(), vornel::kWizardNext), "&Next >");
    EXPECT_EQ(ItemText(wizard.Sheet(), IDCANCEL), "Cancel");

    VisitEveryConnectionType(wizard, kWin9xSteps, WasSet(1500, "bytes"), kNotSet,
                             WasSet(64240, "bytes"));
    if (HasFatalFailure()) return;

    // On with LAN, changing a value on every page.
    ASSERT_TRUE(wizard.Enter(rwin::kMultiplierEdit, "20"));
    EXPECT_TRUE(wizard.WaitForText(rwin::kRwinEdit, "116800"));
    ASSERT_TRUE(wizard.BackTo(kWin9xSteps[2]));
    ExpectOtherMtuPage(wizard, kEnabled, kNotSet);
    EXPECT_FALSE(wizard.IsChecked(othermtu::kDisableDiscovery));
    EXPECT_FALSE(wizard.IsChecked(othermtu::kEnableBlackHole));
    wizard.ClickItem(othermtu::kDisableDiscovery);
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsChecked(othermtu::kDisableDiscovery); }));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[3]));
    // The receive window page starts again from its recommendation.
    EXPECT_TRUE(wizard.WaitForText(rwin::kMultiplierEdit, "44"));
    ASSERT_TRUE(wizard.Enter(rwin::kMultiplierEdit, "20"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[4]));
    ExpectTtlPage(wizard, 32, 4, 8, WasSet(128, "seconds"), WasSet(10), kNotSet);
    ASSERT_TRUE(wizard.Enter(ttl::kTtlEdit, "100"));
    ASSERT_TRUE(wizard.Enter(ttl::kHttp10Edit, "6"));
    ASSERT_TRUE(wizard.NextTo(kWin9xSteps[5], kBackFinish));
    ExpectKeepAlivePage(wizard, WasSet(3600000, "milliseconds"), kNotSet);
    ASSERT_TRUE(wizard.Enter(keepalive::kIntervalEdit, "2000"));

    FinishWith41(wizard, main, [&] {
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, keys::kWin9xStack,
                          With(*stackBefore, {{"SackOpts", S::String("1")},
                                              {"Tcp1323Opts", S::String("1")},
                                              {"DefaultTTL", S::String("100")},
                                              {"DefaultRcvWindow", S::String("116800")},
                                              {"GlobalMaxTcpWindowSize", S::String("116800")},
                                              {"PMTUBlackHoleDetect", S::String("0")},
                                              {"PMTUDiscovery", S::String("0")},
                                              {"KeepAliveTime", S::String("7200000")},
                                              {"KeepAliveInterval", S::String("2000")}})));
        EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, keys::kBrowser,
                          With(*browserBefore, {{"MaxConnectionsPer1_0Server", S::Dword(6)},
                                                {"MaxConnectionsPerServer", S::Dword(8)}})));
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, NetTransKey("0003"),
                          KeyTree{{{"DriverDesc", S::String("TCP/IP")},
                                   {"MaxMTU", S::String("1500")},
                                   {"MaxMSS", S::String("1460")}},
                                  {}}));
        EXPECT_TRUE(KeyIs(HKEY_LOCAL_MACHINE, NetTransKey("0000"), cardBefore));
        // The backup taken when the wizard opened: what was there, as it was.
        EXPECT_TRUE(KeyIs(HKEY_CURRENT_USER, kBackupKey,
                          KeyTree{{{"MaxConnectionsPer1_0Server", S::Dword(10)},
                                   {"SackOpts", S::String("0")},
                                   {"DefaultTTL", S::String("128")},
                                   {"DefaultRcvWindow", S::String("64240")},
                                   {"PMTUDiscovery", S::String("1")},
                                   {"KeepAliveTime", S::String("3600000")}},
                                  {{"MTU Settings", KeyTree{{{"0003", S::String("1500")}}, {}}},
                                   {"MSS Settings", KeyTree{}}}}));
    });
}

}  // namespace
}  // namespace e2e::wizard
