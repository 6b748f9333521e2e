// Seeded registries of both families through the wizard's Finish and back with Reset:
// every tuned value exactly as it was, the backup gone, and a Reset without a backup refused.
#include <gtest/gtest.h>

#include "ResetScenario.h"

namespace e2e::reset {
namespace {

// ---------------------------------------------------------------------------
// Seeds.

// An NT system tuned by hand before: values missing, others of another type or
// longer than a number, and interfaces with and without their own MTU and MSS.
KeyTree NtStackSeed() {
    return Tree(
        {{"Hostname", Sz("vm")},
         {"SackOpts", Dword(0)},
         {"GlobalMaxTcpWindowSize", Dword(65535)},
         {"DefaultTTL", Raw(REG_DWORD, std::string("\x80\0\0\0\0\0\0\0", 8))},
         {"TcpWindowSize", Sz("64240")},
         {"EnablePMTUBHDetect", Raw(REG_BINARY, "\x01")},
         {"EnablePMTUDiscovery", Dword(1)},
         {"KeepAliveInterval", Dword(1000)},
         {"EnableICMPRedirects", Dword(1)}},
        {{"Interfaces",
          Tree({}, {{"{11111111-1111-1111-1111-111111111111}",
                     Tree({{"MTU", Dword(1500)},
                           {"MSS", Dword(1460)},
                           {"IPAddress", Raw(REG_MULTI_SZ, std::string("10.0.0.2\0\0", 10))}})},
                    {"{22222222-2222-2222-2222-222222222222}", Tree({{"MTU", Dword(576)}})},
                    {"{33333333-3333-3333-3333-333333333333}", Tree({{"EnableDHCP", Dword(1)}})},
                    {"{44444444-4444-4444-4444-444444444444}",
                     Tree({{"MTU", Sz("1492")},
                           {"MSS", Raw(REG_DWORD, std::string("\xB4\x05\0\0\0\0\0\0", 8))}})}})}});
}

// A fresh NT system: no tuned value anywhere and no interfaces key.
KeyTree FreshNtStackSeed() {
    return Tree({{"Hostname", Sz("vm")}, {"Domain", Sz("")}});
}

// Two modems, of which one is capped at 115200.
KeyTree ModemSeed() {
    return Tree({}, {{"0000", Tree({{"Properties", Modem(115200, 32)},
                                    {"FriendlyName", Sz("Standard 56000 bps Modem")}})},
                     {"0001", Tree({{"Properties", Modem(921600, 32)}})}});
}

// A Win9x system with a dial-up adapter reached through its TCP/IP binding, a
// decoy adapter in another letter case, and stack values of every odd shape.
KeyTree Win9xStackSeed() {
    return Tree({{"Tcp1323Opts", Sz("0")},
                 {"DefaultTTL", Sz("0042")},
                 {"DefaultRcvWindow", Raw(REG_SZ, "8760")},  // no NUL
                 {"GlobalMaxTcpWindowSize", Dword(65535)},
                 {"PMTUDiscovery", Sz("1")},
                 {"KeepAliveTime", Sz(std::string(299, '7'))},  // 300 bytes
                 {"LanaBase", Sz("0")},
                 // Names of the other family: never touched on Win9x.
                 {"SYNAttackProtect", Sz("1")},
                 {"EnableICMPRedirects", Sz("1")},
                 {"DefaultReceiveWindow", Sz("4096")}});
}

// The dial-up adapter's chain: its entry under Enum\Root\Net, its TCP/IP binding, the
// binding's NetTrans instance, and that instance's settings. A decoy entry whose
// description differs only in letter case leads to another instance, "0000".
struct DialUpAdapter {
    std::string binding;   // a value name under the adapter's "Bindings"
    std::string netTrans;  // the four-character instance its binding's driver names
    std::map<std::string, RegValue> settings;
};

KeyTree Win9xEnumSeed(const DialUpAdapter& adapter) {
    KeyTree net;
    net.subkeys["0000"] = Tree({{"DeviceDesc", Sz("Dial-up adapter")}},
                               {{"Bindings", Tree({{"MSTCP\\0000", Sz("")}})}});
    net.subkeys["0001"] =
        Tree({{"DeviceDesc", Sz("Dial-Up Adapter")}},
             {{"Bindings", Tree({{"NETBEUI\\0001", Sz("")}, {adapter.binding, Sz("")}})}});
    KeyTree mstcp;
    mstcp.subkeys["0000"] = Tree({{"Driver", Sz("NetTrans\\0000")}});
    mstcp.subkeys[adapter.binding.substr(adapter.binding.size() - 4)] =
        Tree({{"Driver", Sz("NetTrans\\" + adapter.netTrans)}});
    return Tree({},
                {{"Root", Tree({}, {{"Net", net}})}, {"Network", Tree({}, {{"MSTCP", mstcp}})}});
}

KeyTree Win9xClassSeed(const DialUpAdapter& adapter, std::optional<KeyTree> modems) {
    std::map<std::string, RegValue> settings = adapter.settings;
    settings["DriverDesc"] = Sz("TCP/IP");
    KeyTree netTrans;
    netTrans.subkeys["0000"] = Tree({{"MaxMTU", Sz("1500")}, {"MaxMSS", Sz("1460")}});
    netTrans.subkeys[adapter.netTrans] = Tree(std::move(settings));
    KeyTree tree = Tree({}, {{"NetTrans", netTrans}});
    if (modems) tree.subkeys["Modem"] = *modems;
    return tree;
}

void SetBrowserValues(std::optional<RegValue> perHttp10Server, std::optional<RegValue> perServer) {
    const std::pair<const char*, std::optional<RegValue>*> values[] = {
        {"MaxConnectionsPer1_0Server", &perHttp10Server}, {"MaxConnectionsPerServer", &perServer}};
    for (const auto& [name, value] : values) {
        if (*value) {
            SetValue(HKEY_CURRENT_USER, keys::kBrowser, name, **value);
        } else {
            DeleteValue(HKEY_CURRENT_USER, keys::kBrowser, name);
        }
    }
}

// ---------------------------------------------------------------------------
// Checks.

// The stack key holds what Finish writes when every recommendation is taken.
void ExpectRecommendedWrites(const char* stackKey, const NamedValues& written) {
    std::vector<std::string> names;
    for (const auto& [name, value] : written) names.push_back(name);
    EXPECT_EQ(ValuesListing(HKEY_LOCAL_MACHINE, stackKey, names),
              ValuesListing(Tree({written.begin(), written.end()}), names));
}

// The backup as the wizard's opening must have written it: each catalogue value of the
// seed with its own type and bytes, nothing for an absent one.
void ExpectBackupOf(const KeyTree& stack, const std::vector<std::string>& stackNames,
                    const std::optional<KeyTree>& browser) {
    const std::optional<KeyTree> backup = ReadKeyTree(HKEY_CURRENT_USER, kBackupKey);
    ASSERT_TRUE(backup) << "no backup after the wizard";
    EXPECT_EQ(ValuesListing(backup, stackNames), ValuesListing(stack, stackNames));
    EXPECT_EQ(ValuesListing(backup, kBrowserValues), ValuesListing(browser, kBrowserValues));
}

// Reset in the main dialog after a wizard run: message "42", the backup gone and
// Reset disabled.
void ExpectCompleteReset(VornelSession& vornel, HWND main) {
    ASSERT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));
    const std::optional<MessageBoxInfo> box = PressReset(vornel, main);
    ASSERT_TRUE(box) << "Reset showed no message";
    ExpectOkBox(*box, kRestored, BoxIcon::None, main);
    EXPECT_TRUE(Answer(*box, IDOK));
    EXPECT_FALSE(SettledResetEnabled(main)) << "Reset still offered after a complete restore";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey)) << "the backup outlived the restore";
}

// Started again once it has restored, the program offers no second Reset, and starting it
// changes nothing.
void ExpectNoSecondReset(HWND nextMain, const SystemState& before) {
    ASSERT_TRUE(nextMain);
    EXPECT_FALSE(SettledResetEnabled(nextMain));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kBackupKey));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(before));
}

// ---------------------------------------------------------------------------
// Windows NT.

class NtRoundTrip : public ResetTest {};

TEST_F(NtRoundTrip, FinishThenResetPutsBackEveryValueExactlyOnWindowsXp) {
    InstallProductKey(std::nullopt);
    const KeyTree stack = NtStackSeed();
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, stack));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, std::nullopt));
    SetBrowserValues(Dword(4), std::nullopt);
    const std::optional<KeyTree> browser = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const SystemState seeded = ReadSystemState();

    VornelSession* vornel = nullptr;
    HWND main = StartOn("winxp", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(ResetEnabled(main));
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(), WizardEnd::Finish));
    EXPECT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));

    // The backup: every value with its own type and bytes, whatever its size.
    ASSERT_NO_FATAL_FAILURE(ExpectBackupOf(stack, kWinNtStackValues, browser));
    KeyTree mtuBackup, mssBackup;
    for (const auto& [name, entry] : stack.subkeys.at("Interfaces").subkeys) {
        if (entry.values.count("MTU")) mtuBackup.values[name] = entry.values.at("MTU");
        if (entry.values.count("MSS")) mssBackup.values[name] = entry.values.at("MSS");
    }
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMtuBackup), Listing(mtuBackup));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMssBackup), Listing(mssBackup));

    // What Finish wrote, so that Reset has something to undo.
    ExpectRecommendedWrites(keys::kWinNtStack, kWinNtRecommendedWrites);
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "TcpWindowSize"),
              GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "GlobalMaxTcpWindowSize"));
    EXPECT_TRUE(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirect"));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirect"),
              GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "EnableICMPRedirects"));
    const std::string anInterface =
        std::string(keys::kInterfaces) + "\\{33333333-3333-3333-3333-333333333333}";
    const std::optional<DWORD> mtu = GetDword(HKEY_LOCAL_MACHINE, anInterface, "MTU");
    ASSERT_TRUE(mtu) << "Finish wrote no MTU into an interface without one";
    for (const auto& [name, entry] : stack.subkeys.at("Interfaces").subkeys) {
        const std::string path = std::string(keys::kInterfaces) + "\\" + name;
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, path, "MTU"), mtu) << name;
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, path, "MSS"),
                  GetDword(HKEY_LOCAL_MACHINE, anInterface, "MSS"))
            << name;
    }
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 20u);

    // A network card (or a VPN) installed after the wizard: its MTU is its own, not
    // one Vornel wrote, and Reset leaves it alone.
    const std::string added =
        std::string(keys::kInterfaces) + "\\{55555555-5555-5555-5555-555555555555}";
    SetDword(HKEY_LOCAL_MACHINE, added, "MTU", 1400);
    SetString(HKEY_LOCAL_MACHINE, added, "Description", "added later");
    const std::string addedBefore = Listing(HKEY_LOCAL_MACHINE, added);

    // A second start while the backup exists ends at once: this copy is the one that resets.
    ASSERT_NO_FATAL_FAILURE(ExpectSecondStartEnds(main));

    ASSERT_NO_FATAL_FAILURE(ExpectCompleteReset(*vornel, main));
    EXPECT_EQ(Listing(HKEY_LOCAL_MACHINE, added), addedBefore);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, added);
    EXPECT_EQ(Describe(ReadSystemState()), Describe(seeded));

    VornelSession* next = nullptr;
    ExpectNoSecondReset(Restart(*vornel, main, next), seeded);
}

TEST_F(NtRoundTrip, ResetOfAFreshNt40RemovesWhatFinishWroteAndKeepsTheModemBoost) {
    InstallProductKey(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, FreshNtStackSeed()));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, ModemSeed()));
    SetBrowserValues(std::nullopt, std::nullopt);
    const std::optional<KeyTree> browser = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const SystemState seeded = ReadSystemState();

    VornelSession* vornel = nullptr;
    HWND main = StartOn("nt40", vornel);
    ASSERT_TRUE(main);
    // Dial-up (the first choice) with a capped modem ends on the boost page.
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, NtSteps(true), WizardEnd::Finish));

    ASSERT_NO_FATAL_FAILURE(ExpectBackupOf(FreshNtStackSeed(), kWinNtStackValues, browser));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMtuBackup), Listing(KeyTree{}));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMssBackup), Listing(KeyTree{}));
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, keys::kWinNtStack, "DefaultReceiveWindow"), 8192u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server"), 20u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, keys::kInterfaces));
    KeyTree boosted = ModemSeed();
    boosted.subkeys["0000"].values["Properties"] = Modem(921600, 32);
    EXPECT_EQ(Listing(HKEY_LOCAL_MACHINE, keys::kWinNtModems), Listing(boosted));

    ASSERT_NO_FATAL_FAILURE(ExpectCompleteReset(*vornel, main));
    SystemState expected = seeded;
    expected.listings[keys::kWinNtModems] = Listing(boosted);
    EXPECT_EQ(Describe(ReadSystemState()), Describe(expected));
}

// ---------------------------------------------------------------------------
// Windows 95/98/Me.

class Win9xRoundTrip : public ResetTest {};

TEST_F(Win9xRoundTrip, FinishThenResetPutsBackEveryValueExactlyOnWindows98) {
    InstallProductKey(std::nullopt);
    const DialUpAdapter adapter{
        "MSTCP\\0002", "0003", {{"MaxMTU", Sz("576")}, {"MaxMSS", Sz("536")}}};
    const KeyTree stack = Win9xStackSeed();
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kVxd, Tree({}, {{"MSTCP", stack}})));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kEnum, Win9xEnumSeed(adapter)));
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses, Win9xClassSeed(adapter, std::nullopt)));
    SetBrowserValues(Dword(4), Raw(REG_BINARY, std::string("\x06\0\0\0\0\0\0\0", 8)));
    const std::optional<KeyTree> browser = ReadKeyTree(HKEY_CURRENT_USER, keys::kBrowser);
    const SystemState seeded = ReadSystemState();

    VornelSession* vornel = nullptr;
    HWND main = StartOn("win98", vornel);
    ASSERT_TRUE(main);
    EXPECT_FALSE(ResetEnabled(main));
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, Win9xSteps(), WizardEnd::Finish));
    EXPECT_TRUE(WaitUntil([&] { return ResetEnabled(main); }));

    // These systems store a text up to its first NUL, whatever its length says: the
    // unterminated text comes back with its terminator, the nearest they can store.
    KeyTree restoredStack = stack;
    restoredStack.values["DefaultRcvWindow"] = Sz("8760");
    ASSERT_NO_FATAL_FAILURE(ExpectBackupOf(restoredStack, kWin9xStackValues, browser));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMtuBackup), Listing(Tree({{"0003", Sz("576")}})));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMssBackup), Listing(Tree({{"0003", Sz("536")}})));

    // Finish wrote text into the stack key and the dial-up adapter, and nothing under
    // the other family's names or into the decoy adapter.
    ExpectRecommendedWrites(keys::kWin9xStack, kWin9xRecommendedWrites);
    const std::optional<std::string> rwin =
        GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "DefaultRcvWindow");
    ASSERT_TRUE(rwin);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "GlobalMaxTcpWindowSize"), Sz(*rwin));
    const std::vector<std::string> otherFamily = {"SYNAttackProtect", "EnableICMPRedirects",
                                                  "DefaultReceiveWindow", "TcpMaxDupAcks"};
    EXPECT_EQ(ValuesListing(HKEY_LOCAL_MACHINE, keys::kWin9xStack, otherFamily),
              ValuesListing(stack, otherFamily));
    const std::string netTrans = std::string(keys::kNetTrans) + "\\";
    EXPECT_TRUE(GetString(HKEY_LOCAL_MACHINE, netTrans + "0003", "MaxMTU"));
    EXPECT_TRUE(GetString(HKEY_LOCAL_MACHINE, netTrans + "0003", "MaxMSS"));
    EXPECT_EQ(Listing(HKEY_LOCAL_MACHINE, netTrans + "0000"),
              Listing(Tree({{"MaxMTU", Sz("1500")}, {"MaxMSS", Sz("1460")}})));
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer"), 8u);

    ASSERT_NO_FATAL_FAILURE(ExpectSecondStartEnds(main));

    ASSERT_NO_FATAL_FAILURE(ExpectCompleteReset(*vornel, main));
    SystemState expected = seeded;
    expected.listings[keys::kVxd] = Listing(Tree({}, {{"MSTCP", restoredStack}}));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(expected));

    VornelSession* next = nullptr;
    ExpectNoSecondReset(Restart(*vornel, main, next), expected);
}

TEST_F(Win9xRoundTrip, ResetOnWindowsMeDeletesAnMtuTheAdapterNeverHadAndKeepsTheModemBoost) {
    InstallProductKey(std::nullopt);
    // No stack key at all, an adapter with an MSS but no MTU, and two modems: one
    // capped at 115200, one too short to hold a port rate.
    const DialUpAdapter adapter{"MSTCP\\0001", "0001", {{"MaxMSS", Sz("1460")}}};
    const KeyTree modems = Tree({}, {{"0000", Tree({{"Properties", Modem(115200, 40)}})},
                                     {"0001", Tree({{"Properties", Modem(115200, 20)}})}});
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kWin9xStack, std::nullopt));
    ASSERT_NO_FATAL_FAILURE(Plant(HKEY_LOCAL_MACHINE, keys::kEnum, Win9xEnumSeed(adapter)));
    ASSERT_NO_FATAL_FAILURE(
        Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses, Win9xClassSeed(adapter, modems)));
    SetBrowserValues(std::nullopt, std::nullopt);
    const SystemState seeded = ReadSystemState();

    VornelSession* vornel = nullptr;
    HWND main = StartOn("winme", vornel);
    ASSERT_TRUE(main);
    ASSERT_NO_FATAL_FAILURE(RunWizard(*vornel, main, Win9xSteps(true), WizardEnd::Finish));

    // "0" stands in the backup for the missing MTU.
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMtuBackup), Listing(Tree({{"0001", Sz("0")}})));
    EXPECT_EQ(Listing(HKEY_CURRENT_USER, keys::kMssBackup), Listing(Tree({{"0001", Sz("1460")}})));
    const std::string adapterKey = std::string(keys::kNetTrans) + "\\0001";
    EXPECT_TRUE(GetString(HKEY_LOCAL_MACHINE, adapterKey, "MaxMTU"));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, keys::kWin9xStack, "SackOpts"), "1");
    KeyTree boosted = modems;
    boosted.subkeys["0000"].values["Properties"] = Modem(921600, 40);
    EXPECT_EQ(Listing(HKEY_LOCAL_MACHINE, keys::kWin9xModems), Listing(boosted));

    ASSERT_NO_FATAL_FAILURE(ExpectCompleteReset(*vornel, main));
    // Finish created the stack key; Reset removes it again.
    SystemState expected = seeded;
    expected.listings[keys::kServiceClasses] = Listing(Win9xClassSeed(adapter, boosted));
    EXPECT_EQ(Describe(ReadSystemState()), Describe(expected));
}

}  // namespace
}  // namespace e2e::reset
