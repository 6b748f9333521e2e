// The whole engine over a registry made from the input: capture, Finish and Reset. A Reset after
// a Finish gives back the registry as it was, but for the modems' "Properties" that the boost
// raised, or keeps the backup and says so.
#include "engine/Engine.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace catalogue;
using regtest::Put;

// A property that fails names its line before the fuzzer records the input.
void Check(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "engine fuzz: the property of line %d does not hold\n", line);
    std::abort();
}

class Seeder {
public:
    Seeder(FuzzedDataProvider& in, MemoryRegistryStore& store, PlatformFamily family)
        : m_in(in), m_store(store), m_family(family) {}

    // One piece of the registry per step, until the input is used up; then the keys the input
    // made read-only.
    void Fill() {
        while (m_in.remaining_bytes() > 0) Step();
        for (const auto& [root, path] : m_denied) m_store.DenyWrites(root, path.c_str());
    }

private:
    void Step() {
        switch (m_in.ConsumeIntegralInRange<int>(0, 7)) {
            case 0: {  // a value of a key of fixed values of the family, any release's
                const auto& places = Places();
                const auto& [key, name] =
                    places[m_in.ConsumeIntegralInRange<std::size_t>(0, places.size() - 1)];
                Put(m_store, key->root, key->path, name, AnyValue(key->encoding));
                break;
            }
            case 1:
                Put(m_store, reg::kCurrentUser, kBrowserKey, Pick(BrowserNames()),
                    AnyValue(Encoding::Number));
                break;
            case 2: {  // an interface, and the adapter of that name bound to TCP/IP (NT 4.0)
                const std::string name = Name();
                const std::string key = std::string(kInterfacesKey) + "\\" + name;
                Put(m_store, reg::kLocalMachine, key, "EnableDHCP", regtest::Dword(1));
                std::optional<reg::Value> mtu;
                if (m_in.ConsumeBool()) mtu = Number();
                if (mtu) Put(m_store, reg::kLocalMachine, key, "MTU", *mtu);
                if (m_in.ConsumeBool()) Put(m_store, reg::kLocalMachine, key, "MSS", Number());
                regtest::BindAdapter(m_store, name, mtu);
                break;
            }
            case 3:
                Adapter();
                break;
            case 4: {
                reg::Value properties = regtest::Binary(Bytes(64));
                if (m_in.ConsumeBool() && properties.data.size() >= 27) {
                    properties.data[25] = 0xC2;
                    properties.data[26] = 0x01;
                }
                Put(m_store, reg::kLocalMachine,
                    std::string(ModemClassKey(m_family)) + "\\" + Name(), "Properties", properties);
                break;
            }
            case 5: {  // an earlier backup, complete or not, or a new one left half-written
                const char* keys[] = {kBackupKey, kMtuBackupKey, kMssBackupKey,
                                      kInterfacesBackupKey, kPendingBackupKey};
                const std::string key = keys[m_in.ConsumeIntegralInRange<int>(0, 4)];
                const int kind = m_in.ConsumeIntegralInRange<int>(0, 2);
                const std::vector<const char*> states = {kBackupCompleteValue, kBackupPartsValue,
                                                         kResetIncompleteValue};
                const std::string name = kind == 0   ? std::string(Pick(states))
                                         : kind == 1 ? std::string(Pick(StackNames()))
                                                     : Name();
                Put(m_store, reg::kCurrentUser, key, name.c_str(), AnyValue(Encoding::Number));
                break;
            }
            case 6: {  // anything anywhere below the keys the engine knows
                const char* keys[] = {kBrowserKey,          Stack(m_family).path, kInterfacesKey,
                                      kNetTransKeyPrefix,   kEnumRootNetKey,      kProductKey,
                                      kLinkageKey,          kServicesKey,         kAfdParametersKey,
                                      kNdisWanParametersKey};
                const std::string key = std::string(keys[m_in.ConsumeIntegralInRange<int>(0, 9)]) +
                                        "\\" + m_in.ConsumeRandomLengthString(24);
                const std::string name = Name();
                Put(m_store, key.starts_with("Software") ? reg::kCurrentUser : reg::kLocalMachine,
                    key, name.c_str(), AnyValue(Encoding::Text));
                break;
            }
            default: {  // a key this user may not change
                const char* keys[] = {
                    kBrowserKey,       Stack(m_family).path,
                    kInterfacesKey,    "System\\CurrentControlSet\\Services\\Class",
                    kProductKey,       ModemClassKey(m_family),
                    kAfdParametersKey, kServicesKey};
                const int which = m_in.ConsumeIntegralInRange<int>(0, 7);
                m_denied.emplace_back(
                    which == 0 || which == 4 ? reg::kCurrentUser : reg::kLocalMachine, keys[which]);
                break;
            }
        }
    }

    // The dial-up adapter's chain on Win9x: its Enum entry, the binding to MSTCP, the driver's
    // NetTrans key and its values; any link of it may be missing or odd.
    void Adapter() {
        const std::string entry = std::string(kEnumRootNetKey) + "\\000" +
                                  std::to_string(m_in.ConsumeIntegral<uint8_t>() % 4);
        const char* descriptions[] = {"Dial-Up Adapter", "dial-up adapter", "NE2000"};
        Put(m_store, reg::kLocalMachine, entry, "DeviceDesc",
            regtest::Text(descriptions[m_in.ConsumeIntegralInRange<int>(0, 2)],
                          m_in.ConsumeBool()));
        const std::string binding = m_in.ConsumeBool() ? "0001" : m_in.ConsumeRandomLengthString(6);
        Put(m_store, reg::kLocalMachine, entry + "\\Bindings", ("MSTCP\\" + binding).c_str(),
            regtest::Text(""));
        const std::string netTrans =
            m_in.ConsumeBool() ? "0002" : m_in.ConsumeRandomLengthString(6);
        Put(m_store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + binding, "Driver",
            regtest::Text("NetTrans\\" + netTrans, m_in.ConsumeBool()));
        const std::string adapter = std::string(kNetTransKeyPrefix) + netTrans;
        Put(m_store, reg::kLocalMachine, adapter, "DriverDesc", regtest::Text("TCP/IP"));
        if (m_in.ConsumeBool())
            Put(m_store, reg::kLocalMachine, adapter, "MaxMTU", AnyValue(Encoding::Text));
        if (m_in.ConsumeBool())
            Put(m_store, reg::kLocalMachine, adapter, "MaxMSS", AnyValue(Encoding::Text));
    }

    // A value of the expected encoding, or of any type with any bytes.
    reg::Value AnyValue(Encoding expected) {
        switch (m_in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0:
                return EncodeValue(expected, m_in.ConsumeIntegral<std::int32_t>());
            case 1:
                return regtest::Text(m_in.ConsumeRandomLengthString(300), m_in.ConsumeBool());
            case 2:
                return regtest::Dword(m_in.ConsumeIntegral<std::uint32_t>());
            default: {
                const auto type = m_in.ConsumeIntegralInRange<std::uint32_t>(0, 11);
                return {type, Bytes(300)};
            }
        }
    }
    reg::Value Number() { return AnyValue(Encoding::Number); }
    std::vector<std::uint8_t> Bytes(std::size_t most) {
        const std::string bytes = m_in.ConsumeRandomLengthString(most);
        return {bytes.begin(), bytes.end()};
    }
    std::string Name() { return m_in.ConsumeRandomLengthString(16); }
    const char* Pick(const std::vector<const char*>& names) {
        return names[m_in.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)];
    }
    // Every value of every key of fixed values of the family, with its key.
    const std::vector<std::pair<const KeyCatalogue*, const char*>>& Places() {
        static const auto places = [] {
            std::array<std::vector<std::pair<const KeyCatalogue*, const char*>>, 2> all;
            for (PlatformFamily f : {Win9x, WinNT}) {
                for (const KeyCatalogue* key : FixedKeys(f)) {
                    for (const CatalogueValue& v : key->values)
                        all[static_cast<std::size_t>(f)].emplace_back(key, v.name);
                }
                // A value of the other family's stack, in this one's key.
                for (const CatalogueValue& v : Stack(f == Win9x ? WinNT : Win9x).values) {
                    all[static_cast<std::size_t>(f)].emplace_back(&Stack(f), v.name);
                }
            }
            return all;
        }();
        return places[static_cast<std::size_t>(m_family)];
    }
    static const std::vector<const char*>& StackNames() {
        static const std::vector<const char*> names = [] {
            std::vector<const char*> all;
            for (PlatformFamily f : {Win9x, WinNT}) {
                for (const CatalogueValue& v : Stack(f).values) all.push_back(v.name);
            }
            return all;
        }();
        return names;
    }
    static const std::vector<const char*>& BrowserNames() {
        static const std::vector<const char*> names = [] {
            std::vector<const char*> all{"User Agent"};
            for (const CatalogueValue& v : Browser().values) all.push_back(v.name);
            return all;
        }();
        return names;
    }

    FuzzedDataProvider& m_in;
    MemoryRegistryStore& m_store;
    PlatformFamily m_family;
    std::vector<std::pair<reg::Key, std::string>> m_denied;
};

// Reset cannot tell a Win9x "MaxMTU" holding "0" from one that is not set: it comes back absent.
bool IsUnsetMaxMtu(const std::string& name, const reg::Value& value) {
    return name.find("\\NETTRANS\\") != std::string::npos && name.ends_with("\\MAXMTU") &&
           value.type == reg::kSz && !value.data.empty() && value.data[0] == '0' &&
           (value.data.size() == 1 || value.data[1] == 0);
}

bool IsModemProperties(const std::string& name, PlatformFamily family) {
    return name.starts_with(regtest::Upper(std::string("HKLM\\") + ModemClassKey(family) + "\\")) &&
           name.ends_with("\\PROPERTIES");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const PlatformFamily family = in.ConsumeBool() ? WinNT : Win9x;
    // The release from the input's length, so that no byte of the seeds means another thing.
    static constexpr WindowsRelease kReleases[2][3] = {
        {WindowsRelease::Win95, WindowsRelease::Win98, WindowsRelease::WinMe},
        {WindowsRelease::WinNT4, WindowsRelease::Win2000, WindowsRelease::WinXP}};
    const WindowsRelease release = kReleases[family][size % 3];
    const bool boost = in.ConsumeBool();
    TuningValues chosen;
    for (std::int32_t TuningValues::*field :
         {&TuningValues::pmtuDiscovery, &TuningValues::pmtuBlackHoleDetect,
          &TuningValues::icmpRedirects, &TuningValues::mtu, &TuningValues::mss, &TuningValues::rwin,
          &TuningValues::ttl, &TuningValues::keepAliveTime, &TuningValues::keepAliveInterval,
          &TuningValues::synAttackProtect, &TuningValues::maxConnectionsPer1_0Server,
          &TuningValues::maxConnectionsPerServer}) {
        chosen.*field = in.ConsumeIntegral<std::int32_t>();
    }
    MemoryRegistryStore store;
    Seeder(in, store, family).Fill();
    const regtest::Snapshot seeded = regtest::WholeSnapshot(store);

    TuningValues inForce;
    FoundFlags found;
    engine::CaptureSettings(store, release, inForce, found);
    Check(regtest::WholeSnapshot(store) == seeded);

    using engine::Outcome;
    const auto type = static_cast<ConnectionType>(size / 3 % 4);
    const engine::Result finish = engine::ApplySettings(store, release, chosen, type, boost);
    if (finish.outcome == Outcome::NeedsRights || finish.outcome == Outcome::NoBackupMade) {
        // Refused or no complete backup: nothing changed, an earlier backup included.
        Check(regtest::WholeSnapshot(store) == seeded);
        Check(store.OpenHandleCount() == 0);
        return 0;
    }
    Check(finish.outcome == Outcome::Applied || finish.outcome == Outcome::PartlyApplied);
    Check(finish.backupRemains && engine::BackupExists(store));

    // The same profile under the other family (an upgrade from 98 to XP): nothing of it is
    // put back there, and nothing changes.
    {
        const regtest::Snapshot finished = regtest::WholeSnapshot(store);
        const WindowsRelease upgrade = kReleases[family == WinNT ? Win9x : WinNT][size % 3];
        const engine::Result other = engine::RestoreSettings(store, upgrade);
        Check(other.outcome == Outcome::MadeOnOtherFamily || other.outcome == Outcome::NeedsRights);
        Check(other.outcome == Outcome::NeedsRights || other.madeOn.release == release);
        Check(regtest::WholeSnapshot(store) == finished);
        Check(store.OpenHandleCount() == 0);
    }

    const engine::Result reset = engine::RestoreSettings(store, release);
    Check(store.OpenHandleCount() == 0);
    Check(reset.backupRemains == engine::BackupExists(store));
    if (reset.outcome != Outcome::Restored) {
        // Whatever could not be put back, the backup stays for the next Reset, marked so
        // that Set warns. A backup this program has just made is never damaged.
        Check(reset.outcome == Outcome::NotRestored && reset.backupRemains);
        Check(engine::BackupAwaitsReset(store, family));
        return 0;
    }
    Check(!engine::BackupExists(store));
    const regtest::Snapshot restored = regtest::TunedSnapshot(store);
    regtest::Snapshot expected;
    for (const auto& [name, value] : seeded) {
        if (regtest::IsProductKeyEntry(name)) continue;
        if (IsUnsetMaxMtu(name, value) && !restored.contains(name)) continue;
        expected[name] = value;
    }
    for (const auto& [name, value] : restored) {
        if (boost && IsModemProperties(name, family) && expected.contains(name))
            expected[name] = value;
    }
    Check(restored == expected);
    return 0;
}
