// Round trips over random and hostile registries: capture, apply, restore gives back what was
// there.
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;
using Outcome = engine::Outcome;

using namespace catalogue;
using regtest::Put;
using regtest::Snapshot;
using regtest::Text;

class RandomRegistry {
public:
    explicit RandomRegistry(std::uint32_t seed) : m_rng(seed) {}

    bool Chance(std::uint32_t percent) { return Pick(100) < percent; }
    std::uint32_t Pick(std::uint32_t n) {
        return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(m_rng);
    }
    std::int32_t Number() {
        return static_cast<std::int32_t>(std::uniform_int_distribution<std::uint32_t>()(m_rng));
    }
    std::string Name(std::size_t maxLength) {
        static const char kChars[] = "abcXYZ019_-{}. ";
        std::string name(1 + Pick(static_cast<std::uint32_t>(maxLength)), 'a');
        for (char& c : name) c = kChars[Pick(sizeof kChars - 2)];
        return name;
    }
    // A value of the catalogue's type or of another, fitting or oversized.
    reg::Value AnyValue(Encoding expected) {
        switch (Pick(7)) {
            case 0:
                return expected == Encoding::Text ? Text(std::to_string(Number()))
                                                  : regtest::Dword(Pick(70000));
            case 1:
                return Text(Name(8), Chance(50));
            case 2:
                return regtest::Dword(static_cast<std::uint32_t>(Number()));
            case 3:
                return {reg::kDword, Bytes(Pick(9))};
            case 4:
                return regtest::Binary(Bytes(Pick(600)));
            case 5:
                return Text(std::string(255 + Pick(10), '7'));
            default:
                return {static_cast<std::uint32_t>(Pick(12)), Bytes(Pick(12))};
        }
    }
    std::vector<std::uint8_t> Bytes(std::size_t size) {
        std::vector<std::uint8_t> bytes(size);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(Pick(256));
        return bytes;
    }
    TuningValues Chosen() {
        TuningValues v;
        for (std::int32_t TuningValues::*field :
             {&TuningValues::pmtuDiscovery, &TuningValues::pmtuBlackHoleDetect,
              &TuningValues::icmpRedirects, &TuningValues::mtu, &TuningValues::mss,
              &TuningValues::rwin, &TuningValues::ttl, &TuningValues::keepAliveTime,
              &TuningValues::keepAliveInterval, &TuningValues::synAttackProtect,
              &TuningValues::maxConnectionsPer1_0Server, &TuningValues::maxConnectionsPerServer}) {
            v.*field = Number();
        }
        return v;
    }

    void Fill(RegistryStore& store, PlatformFamily family) {
        if (Chance(80)) {
            Put(store, reg::kCurrentUser, kBrowserKey, "Other", Text("x"));
            for (const CatalogueValue& v : Browser().values) {
                if (Chance(60))
                    Put(store, reg::kCurrentUser, kBrowserKey, v.name, AnyValue(Encoding::Number));
            }
        }
        if (Chance(85)) {
            // Every name of both families, so that each family leaves the other's alone.
            Put(store, reg::kLocalMachine, Stack(family).path, "Other", Text("x"));
            for (PlatformFamily f : {Win9x, WinNT}) {
                for (const CatalogueValue& v : Stack(f).values) {
                    if (Chance(50))
                        Put(store, reg::kLocalMachine, Stack(family).path, v.name,
                            AnyValue(Stack(family).encoding));
                }
            }
        }
        const std::string interfaces = kInterfacesKey;
        for (std::uint32_t i = 0, n = Pick(9); i < n; ++i) {
            const std::string key = interfaces + "\\" + Name(40);
            Put(store, reg::kLocalMachine, key, "EnableDHCP", regtest::Dword(1));
            if (Chance(50)) Put(store, reg::kLocalMachine, key, "MTU", AnyValue(Encoding::Number));
            if (Chance(50)) Put(store, reg::kLocalMachine, key, "MSS", AnyValue(Encoding::Number));
        }
        for (std::uint32_t i = 0, n = Pick(4); i < n; ++i) FillAdapter(store, i);
        for (std::uint32_t i = 0, n = Pick(4); i < n; ++i) {
            Put(store, reg::kLocalMachine, std::string(ModemClassKey(family)) + "\\" + Name(6),
                "Properties", regtest::Binary(Bytes(Pick(40))));
        }
    }

private:
    void FillAdapter(RegistryStore& store, std::uint32_t index) {
        const std::string entry = std::string(kEnumRootNetKey) + "\\000" + std::to_string(index);
        const char* descriptions[] = {"Dial-Up Adapter", "dial-up adapter", "NE2000"};
        Put(store, reg::kLocalMachine, entry, "DeviceDesc",
            Text(descriptions[Pick(3)], Chance(80)));
        const std::string binding = std::to_string(1000 + Pick(3)).substr(0, 4);
        for (std::uint32_t i = 0, n = Pick(3); i < n; ++i) {
            Put(store, reg::kLocalMachine, entry + "\\Bindings", (Name(6) + "\\0000").c_str(),
                Text(""));
        }
        if (Chance(80))
            Put(store, reg::kLocalMachine, entry + "\\Bindings", ("MSTCP\\" + binding).c_str(),
                Text(""));
        const std::string netTrans = "000" + std::to_string(Pick(3));
        if (Chance(80)) {
            Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + binding, "Driver",
                Text("NetTrans\\" + netTrans, Chance(80)));
        }
        if (Chance(80)) {
            const std::string adapter = std::string(kNetTransKeyPrefix) + netTrans;
            Put(store, reg::kLocalMachine, adapter, "DriverDesc", Text("TCP/IP"));
            if (Chance(60))
                Put(store, reg::kLocalMachine, adapter, "MaxMTU",
                    Chance(20) ? Text("0") : AnyValue(Encoding::Text));
            if (Chance(60))
                Put(store, reg::kLocalMachine, adapter, "MaxMSS", AnyValue(Encoding::Text));
        }
    }

    std::mt19937 m_rng;
};

// The one documented loss: a Win9x "MaxMTU" holding the text "0" comes back as not set.
bool IsDocumentedLoss(const std::string& name, const reg::Value& value) {
    const std::string suffix = "\\MAXMTU";
    return name.find("\\NETTRANS\\") != std::string::npos && name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
           value.type == reg::kSz && !value.data.empty() && value.data[0] == '0' &&
           (value.data.size() == 1 || value.data[1] == 0);
}

std::uint32_t BaseSeed() {
    const char* text = std::getenv("VORNEL_PROPERTY_SEED");
    return text != nullptr ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10))
                           : 20261207u;
}

TEST(RandomRegistries, CaptureApplyRestoreGivesEveryValueBack) {
    const std::uint32_t base = BaseSeed();
    for (std::uint32_t i = 0; i < 400; ++i) {
        const std::uint32_t seed = base + i;
        const PlatformFamily family = (seed % 2) != 0 ? WinNT : Win9x;
        SCOPED_TRACE("seed " + std::to_string(seed) +
                     " (rerun with VORNEL_PROPERTY_SEED=" + std::to_string(seed) + ")");
        RandomRegistry random(seed);
        MemoryRegistryStore store;
        random.Fill(store, family);
        Snapshot before = regtest::SystemSnapshot(store);

        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(store, family, inForce, found);
        const Outcome applied =
            regtest::Finish(store, family, random.Chosen(), random.Chance(50)).outcome;
        const bool hadStack = regtest::KeyExists(store, reg::kLocalMachine, Stack(family).path);
        const Outcome restored = RestoreSettings(store, regtest::TypicalRelease(family)).outcome;
        EXPECT_EQ(applied, Outcome::Applied);
        ASSERT_TRUE(hadStack);
        EXPECT_EQ(restored, Outcome::Restored);

        Snapshot after = regtest::SystemSnapshot(store);
        for (auto it = before.begin(); it != before.end();) {
            it = !after.contains(it->first) && IsDocumentedLoss(it->first, it->second)
                     ? before.erase(it)
                     : std::next(it);
        }
        ASSERT_EQ(after, before) << regtest::Difference(before, after);
        EXPECT_EQ(store.OpenHandleCount(), 0u);
        if (family == Win9x) {
            EXPECT_FALSE(found.icmpRedirectsFound || found.synAttackProtectFound);
        }
    }
}

// ---- Hostile content ----

class HostileRegistry : public ::testing::Test {
protected:
    void RoundTrip(PlatformFamily family) {
        const Snapshot before = regtest::SystemSnapshot(store);
        regtest::Capture(store, family, inForce, found);
        TuningValues chosen;
        chosen.mtu = 1500;
        applied =
            regtest::Finish(store, family, chosen, ProbeModemPortSpeed(store, family)).outcome;
        RestoreSettings(store, regtest::TypicalRelease(family));
        EXPECT_EQ(regtest::SystemSnapshot(store), before)
            << regtest::Difference(before, regtest::SystemSnapshot(store));
        EXPECT_EQ(store.OpenHandleCount(), 0u);
    }

    MemoryRegistryStore store;
    Outcome applied = Outcome::NotRestored;
    TuningValues inForce;
    FoundFlags found;
};

TEST_F(HostileRegistry, ThousandsOfInterfacesWithLongNames) {
    const std::string interfaces = kInterfacesKey;
    Put(store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", regtest::Dword(128));
    reg::ScopedKey parent = reg::Create(store, reg::kLocalMachine, interfaces.c_str());
    for (std::uint32_t i = 0; i < 3000; ++i) {
        std::string name = std::to_string(i);
        name += std::string(255 - name.size(), i % 2 ? 'x' : 'Y');
        reg::ScopedKey child = reg::Create(store, parent.get(), name.c_str());
        if (i % 3 != 0) reg::WriteValue(store, child.get(), "MTU", regtest::Dword(576 + i));
        if (i % 2 == 0) reg::WriteValue(store, child.get(), "MSS", regtest::Dword(1460));
    }
    parent.Close();
    RoundTrip(WinNT);
    EXPECT_TRUE(found.mtuFound && found.mssFound);
    EXPECT_EQ(applied, Outcome::Applied);
}

TEST_F(HostileRegistry, Win9xAdapterEntriesWithoutNulsAndBindingsFullOfOtherNames) {
    const std::string entry = std::string(kEnumRootNetKey) + "\\0000";
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\" + std::string(255, 'n'),
        "DeviceDesc", Text(std::string(300, 'D')));
    Put(store, reg::kLocalMachine, entry, "DeviceDesc", Text("Dial-Up Adapter", false));
    for (int i = 0; i < 2000; ++i) {
        std::string name = "NETBEUI\\" + std::to_string(i);
        name += std::string(255 - name.size(), 'b');
        Put(store, reg::kLocalMachine, entry + "\\Bindings", name.c_str(), Text(""));
    }
    Put(store, reg::kLocalMachine, entry + "\\Bindings", "MSTCP\\0007", Text(""));
    Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "0007", "Driver",
        Text("NetTrans\\0003", false));
    const std::string adapter = std::string(kNetTransKeyPrefix) + "0003";
    Put(store, reg::kLocalMachine, adapter, "MaxMTU", Text("1500", false));
    Put(store, reg::kLocalMachine, adapter, "MaxMSS", Text(std::string(5000, '4')));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultTTL", Text("64", false));
    RoundTrip(Win9x);
    EXPECT_TRUE(found.mtuFound);
    EXPECT_EQ(inForce.mtu, 1500);
    EXPECT_FALSE(found.mssFound);
    EXPECT_EQ(inForce.ttl, 64);
}

TEST_F(HostileRegistry, OddDriverTextsAndBindingNamesAreHarmless) {
    const std::string entry = std::string(kEnumRootNetKey) + "\\0000";
    Put(store, reg::kLocalMachine, entry, "DeviceDesc", Text("Dial-Up Adapter"));
    Put(store, reg::kLocalMachine, entry + "\\Bindings", "MSTCP\\", Text(""));
    Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "TCP\\", "Driver",
        Text("NetTrans\\"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultTTL", Text("32"));
    RoundTrip(Win9x);
    Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "TCP\\", "Driver",
        Text(std::string(400, '\\') + "NetTrans\\\\\\\\"));
    RoundTrip(Win9x);
    EXPECT_FALSE(found.mtuFound);
}

}  // namespace
