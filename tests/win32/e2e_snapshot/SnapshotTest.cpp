// The whole registry before a wizard run, after Finish and after Reset, on both
// families: Vornel writes only the values its catalogue names, its backup and the
// modems it boosts, and Reset leaves nothing of its own behind but the product key.
#include <gtest/gtest.h>

#include "RegistrySnapshot.h"
#include "ResetScenario.h"

namespace e2e::snapshot {
namespace {

using reset::Dword;
using reset::Modem;
using reset::Sz;
using reset::Tree;
using reset::WizardEnd;

std::string Hklm(const std::string& path) {
    return "HKLM\\" + path;
}

std::string Hkcu(const std::string& path) {
    return "HKCU\\" + path;
}

std::string RootOf(const KeyCatalogue& key) {
    return key.root == reg::kCurrentUser ? "HKCU" : "HKLM";
}

std::vector<std::string> Names(const KeyCatalogue& key) {
    std::vector<std::string> names;
    for (const CatalogueValue& value : key.values) names.push_back(value.name);
    return names;
}

std::vector<std::string> LinkNames(const LinkCatalogue& set) {
    std::vector<std::string> names;
    for (const LinkValue& link : set.values) names.push_back(link.name);
    return names;
}

Area ModemProperties(PlatformFamily family) {
    return {Area::Scope::SubkeyValues,
            Hklm(catalogue::ModemClassKey(family)),
            {catalogue::kModemPropertiesValue},
            "each modem's port rate"};
}

// The seed a run on a release starts from, as far as the areas need it.
struct Seed {
    std::string dialUpNetTrans;              // Windows 95/98/Me: the dial-up adapter's instance
    std::vector<std::string> boundAdapters;  // Windows NT 4.0: the adapters TCP/IP is bound to
};

// Where Finish may write on the release, every place taken from the catalogue: its fixed
// keys' values (and a key of a service it makes), the values of every interface, of the
// dial-up adapter or of each bound adapter, the backup, and the modems it boosts.
std::vector<Area> FinishAreas(WindowsRelease release, const Seed& seed) {
    const PlatformFamily family = platform::FamilyOf(release);
    std::vector<Area> areas = {
        {Area::Scope::Subtree, Hkcu(catalogue::kBackupKey), {}, "the backup"},
        ModemProperties(family),
    };
    for (const KeyCatalogue* key : catalogue::FixedKeys(release)) {
        const std::string path = RootOf(*key) + "\\" + key->path;
        areas.push_back({Area::Scope::Values, path, Names(*key), key->path});
        if (key->reach == Reach::CreateInService && !KeyExists(HKEY_LOCAL_MACHINE, key->path)) {
            areas.push_back({Area::Scope::Key, path, {}, std::string(key->path) + ", made"});
        }
    }
    for (const LinkCatalogue* set : catalogue::Links(release)) {
        switch (set->kind) {
            case LinkKind::DialUpAdapter:
                areas.push_back({Area::Scope::Values,
                                 Hklm(catalogue::kNetTransKeyPrefix + seed.dialUpNetTrans),
                                 LinkNames(*set), "the dial-up adapter"});
                break;
            case LinkKind::Interface:
                if (!KeyExists(HKEY_LOCAL_MACHINE, catalogue::kInterfacesKey)) break;
                areas.push_back({Area::Scope::SubkeyValues, Hklm(catalogue::kInterfacesKey),
                                 LinkNames(*set), "every interface"});
                break;
            case LinkKind::BoundAdapter:
                for (const std::string& adapter : seed.boundAdapters) {
                    areas.push_back({Area::Scope::Values, Hklm(AdapterTcpipKey(adapter)),
                                     LinkNames(*set), "bound adapter " + adapter});
                }
                break;
        }
    }
    return areas;
}

// What may differ from before the run once Reset is through: the product key (the
// backup within it is checked to be gone) and the boosted modems, which stay so.
std::vector<Area> AfterResetAreas(PlatformFamily family) {
    return {
        {Area::Scope::Subtree, Hkcu(catalogue::kProductKey), {}, "the product key"},
        ModemProperties(family),
    };
}

// What Wine itself writes while the test runs, shown by snapshots around a message
// box of the test program's own, answered as the program's boxes are.
const std::vector<Area> kWineNoise = {
    // The volatile key where user32 keeps system parameters set for the session only;
    // its "Control Panel\Mouse" subkey appears when a box is answered.
    {Area::Scope::Subtree,
     "HKCU\\Software\\Wine\\Temporary System Parameters",
     {},
     "Wine's session-only system parameters"},
};

std::vector<Area> ResolvedAreas(std::vector<Area> areas, const Snapshot& snapshot) {
    for (Area& area : areas) area = Resolved(std::move(area), snapshot);
    return areas;
}

std::string UnexpectedChanges(const std::vector<Difference>& differences,
                              std::vector<Area> allowed) {
    allowed.insert(allowed.end(), kWineNoise.begin(), kWineNoise.end());
    return Unexpected(differences, allowed);
}

// A run through the wizard's dial-up path to Finish, then Reset, with the registry
// taken before, after Finish and after Reset.
class RegistrySnapshotTest : public reset::ResetTest {
protected:
    void RunAndCompare(const char* release, WindowsRelease of,
                       const std::vector<std::string>& steps, const Seed& seed) {
        const PlatformFamily family = platform::FamilyOf(of);
        InstallProductKey(std::nullopt);
        SetWindowsVersion(release);
        const std::vector<Area> areas = FinishAreas(of, seed);
        const Snapshot before = Take();

        VornelSession* vornel = nullptr;
        HWND main = StartOn(release, vornel);
        ASSERT_TRUE(main);
        ASSERT_NO_FATAL_FAILURE(reset::RunWizard(*vornel, main, steps, WizardEnd::Finish));
        const Snapshot finished = Take();
        const std::vector<Difference> written = Compare(before, finished);
        const std::vector<Area> finishAreas = ResolvedAreas(areas, finished);
        const std::string strayWrites = UnexpectedChanges(written, finishAreas);
        EXPECT_TRUE(strayWrites.empty())
            << "Finish changed these outside the catalogue, the backup and the modems:\n"
            << strayWrites;
        // Each kind of value really changed, so that none of them passes unseen.
        const std::string untouched = Untouched(written, finishAreas);
        EXPECT_TRUE(untouched.empty()) << "the seed left these unchanged by Finish:\n" << untouched;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, catalogue::kPendingBackupKey));

        ASSERT_TRUE(WaitUntil([&] { return reset::ResetEnabled(main); }));
        const std::optional<MessageBoxInfo> box = reset::PressReset(*vornel, main);
        ASSERT_TRUE(box) << "Reset showed no message";
        reset::ExpectOkBox(*box, reset::kRestored, BoxIcon::None, main);
        ASSERT_TRUE(Answer(*box, IDOK));
        const Snapshot restored = Take();
        const std::string leftovers = UnexpectedChanges(
            Compare(before, restored), ResolvedAreas(AfterResetAreas(family), restored));
        EXPECT_TRUE(leftovers.empty()) << "Reset left these changed:\n" << leftovers;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, catalogue::kBackupKey));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, catalogue::kPendingBackupKey));
    }
};

// ---------------------------------------------------------------------------
// Windows NT: tuned values present and missing, an interface with its own MTU and MSS
// and one without, and two modems of which one is capped.

KeyTree NtStack() {
    return Tree(
        {{"Hostname", Sz("vm")},
         {"SackOpts", Dword(0)},
         {"DefaultTTL", Dword(128)},
         {"TcpWindowSize", Dword(17520)},
         {"EnablePMTUDiscovery", Dword(1)},
         {"KeepAliveTime", Dword(3600000)}},
        {{"Interfaces",
          Tree({},
               {{"{11111111-1111-1111-1111-111111111111}",
                 Tree({{"MTU", Dword(1500)}, {"MSS", Dword(1460)}, {"EnableDHCP", Dword(1)}})},
                {"{22222222-2222-2222-2222-222222222222}", Tree({{"EnableDHCP", Dword(0)}})}})}});
}

KeyTree Modems() {
    return Tree({}, {{"0000", Tree({{"Properties", Modem(115200, 32)},
                                    {"FriendlyName", Sz("Standard 56000 bps Modem")}})},
                     {"0001", Tree({{"Properties", Modem(921600, 32)}})}});
}

// The browser's limit for HTTP 1.0 servers at its default, the other one missing.
void SeedBrowser() {
    SetDword(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPer1_0Server", 4);
    DeleteValue(HKEY_CURRENT_USER, keys::kBrowser, "MaxConnectionsPerServer");
}

TEST_F(RegistrySnapshotTest, OnWindowsXpFinishWritesOnlyTheCatalogueAndResetPutsItAllBack) {
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, NtStack()));
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, Modems()));
    SeedBrowser();
    SetDword(HKEY_LOCAL_MACHINE, keys::kAfd, "Start", 1);
    RunAndCompare("winxp", WindowsRelease::WinXP, reset::NtSteps(true), {});
}

// ---------------------------------------------------------------------------
// Windows 98: the dial-up adapter's chain from Enum to its NetTrans instance, another
// adapter's instance "0000" beside it, and the same modems.

constexpr char kDialUpNetTrans[] = "0002";

KeyTree Win9xStack() {
    return Tree({{"DefaultTTL", Sz("128")},
                 {"DefaultRcvWindow", Sz("8760")},
                 {"PMTUDiscovery", Sz("1")},
                 {"LanaBase", Sz("0")}});
}

// The adapter's entry, whose TCP/IP binding "MSTCP\0001" names the NetTrans instance.
KeyTree Win9xEnum() {
    const KeyTree adapter = Tree({{"DeviceDesc", Sz("Dial-Up Adapter")}},
                                 {{"Bindings", Tree({{"MSTCP\\0001", Sz("")}})}});
    const KeyTree binding = Tree({{"Driver", Sz(std::string("NetTrans\\") + kDialUpNetTrans)}});
    return Tree({}, {{"Root", Tree({}, {{"Net", Tree({}, {{"0000", adapter}})}})},
                     {"Network", Tree({}, {{"MSTCP", Tree({}, {{"0001", binding}})}})}});
}

KeyTree Win9xClasses() {
    return Tree({}, {{"NetTrans",
                      Tree({}, {{"0000", Tree({{"MaxMTU", Sz("1500")}, {"MaxMSS", Sz("1460")}})},
                                {kDialUpNetTrans, Tree({{"DriverDesc", Sz("TCP/IP")},
                                                        {"MaxMTU", Sz("1500")},
                                                        {"MaxMSS", Sz("1460")}})}})},
                     {"Modem", Modems()}});
}

TEST_F(RegistrySnapshotTest, OnWindows98FinishWritesOnlyTheCatalogueAndResetPutsItAllBack) {
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kWin9xStack, Win9xStack()));
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kEnum, Win9xEnum()));
    ASSERT_NO_FATAL_FAILURE(
        reset::Plant(HKEY_LOCAL_MACHINE, keys::kServiceClasses, Win9xClasses()));
    SeedBrowser();
    RunAndCompare("win98", WindowsRelease::Win98, reset::Win9xSteps(true), {kDialUpNetTrans, {}});
}

// ---------------------------------------------------------------------------
// Windows NT 4.0: no Interfaces key; two adapters TCP/IP is bound to, one with its own MTU,
// one it is not bound to, RAS's parameters and the socket driver's service.

TEST_F(RegistrySnapshotTest, OnWindowsNt40FinishWritesOnlyTheCatalogueAndResetPutsItAllBack) {
    KeyTree stack = NtStack();
    stack.subkeys.erase("Interfaces");
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kWinNtStack, stack));
    ASSERT_NO_FATAL_FAILURE(reset::Plant(HKEY_LOCAL_MACHINE, keys::kWinNtModems, Modems()));
    BindTestAdapter("El90x1", 1500);
    BindTestAdapter("NdisWan4", std::nullopt);
    SetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey("Lance01"), "MTU", 1400);
    SetDword(HKEY_LOCAL_MACHINE, std::string(keys::kNdisWan) + "\\Parameters", "TapiLines", 2);
    SetDword(HKEY_LOCAL_MACHINE, keys::kAfd, "Start", 1);
    SeedBrowser();
    RunAndCompare("nt40", WindowsRelease::WinNT4, reset::NtSteps(true),
                  {"", {"El90x1", "NdisWan4"}});
}

}  // namespace
}  // namespace e2e::snapshot
