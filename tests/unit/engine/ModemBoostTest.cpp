// The modem probe and port-speed boost on the memory store.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;

using regtest::Binary;

// A "Properties" record of `size` bytes with bytes 24 to 27 as given.
reg::Value Properties(std::vector<std::uint8_t> rate, std::size_t size = 32) {
    std::vector<std::uint8_t> data(size);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x40 + i);
    for (std::size_t i = 0; i < rate.size() && 24 + i < size; ++i) data[24 + i] = rate[i];
    return Binary(data);
}

class ModemBoost : public ::testing::TestWithParam<PlatformFamily> {
protected:
    std::string Modem(const std::string& name) const {
        return std::string(catalogue::ModemClassKey(GetParam())) + "\\" + name;
    }
    void PutModem(const std::string& name, const reg::Value& properties) {
        regtest::Put(store, reg::kLocalMachine, Modem(name), "Properties", properties);
    }
    std::optional<reg::Value> ModemProperties(const std::string& name) {
        return regtest::Get(store, reg::kLocalMachine, Modem(name), "Properties");
    }

    MemoryRegistryStore store;
};

TEST_P(ModemBoost, RaisesEveryCappedModemToTheWholeWord921600) {
    const PlatformFamily family = GetParam();
    PutModem("0000", Properties({0x00, 0xC2, 0x01, 0x00}));
    PutModem("0001", Properties({0x00, 0x10, 0x0E, 0x00}));
    PutModem("0002", Properties({0x01, 0xC2, 0x01, 0x00}, 40));  // 115201 matches too
    PutModem("0003", Properties({0x00, 0xC2, 0x01, 0x00}, 27));  // shortest that matches
    EXPECT_TRUE(ProbeModemPortSpeed(store, family));
    BoostModemPortSpeed(store, family);
    // The speed is written as the whole word 921600 (00 10 0E 00), not a patched
    // byte; the data's length and every other byte stay.
    EXPECT_EQ(ModemProperties("0000"), Properties({0x00, 0x10, 0x0E, 0x00}));
    EXPECT_EQ(ModemProperties("0001"), Properties({0x00, 0x10, 0x0E, 0x00}));
    EXPECT_EQ(ModemProperties("0002"), Properties({0x00, 0x10, 0x0E, 0x00}, 40));
    EXPECT_EQ(ModemProperties("0003"), Properties({0x00, 0x10, 0x0E}, 27));
    // A second boost finds nothing to do.
    const regtest::Snapshot boosted = [&] {
        regtest::Snapshot s;
        regtest::CollectValues(store, reg::kLocalMachine, "HKLM", s);
        return s;
    }();
    EXPECT_FALSE(ProbeModemPortSpeed(store, family));
    BoostModemPortSpeed(store, family);
    regtest::Snapshot again;
    regtest::CollectValues(store, reg::kLocalMachine, "HKLM", again);
    EXPECT_EQ(again, boosted);
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST_P(ModemBoost, PassesOverModemsThatDoNotMatchOrCannotBeRead) {
    const PlatformFamily family = GetParam();
    EXPECT_FALSE(ProbeModemPortSpeed(store, family));  // no class key
    for (std::size_t size = 0; size < 27; ++size) {
        PutModem("short" + std::to_string(size), Properties({0x00, 0xC2, 0x01, 0x00}, size));
    }
    PutModem("text", {reg::kSz, std::vector<std::uint8_t>(30, 'x')});
    regtest::Put(store, reg::kLocalMachine, Modem("none"), "FriendlyName", regtest::Text("Modem"));
    PutModem("big", Properties({0x00, 0xC2, 0x02, 0x00}, 100000));
    regtest::Snapshot before;
    regtest::CollectValues(store, reg::kLocalMachine, "HKLM", before);
    EXPECT_FALSE(ProbeModemPortSpeed(store, family));
    BoostModemPortSpeed(store, family);
    regtest::Snapshot after;
    regtest::CollectValues(store, reg::kLocalMachine, "HKLM", after);
    EXPECT_EQ(after, before);
}

TEST_P(ModemBoost, ProbeStopsAtTheFirstMatchAndTheOtherFamilyKeyIsIgnored) {
    const PlatformFamily family = GetParam();
    const PlatformFamily other = family == Win9x ? WinNT : Win9x;
    for (int i = 0; i < 5; ++i) PutModem("000" + std::to_string(i), Properties({0, 0xC2, 1, 0}));
    regtest::FaultInjectingStore logged(store, -1);
    logged.KeepLog();
    EXPECT_TRUE(ProbeModemPortSpeed(logged, family));
    long reads = 0;
    for (const std::string& entry : logged.log()) reads += entry == "read Properties";
    EXPECT_EQ(reads, 2);  // size, then data, of the first modem only
    EXPECT_FALSE(ProbeModemPortSpeed(store, other));
}

// The boost is not part of the backup, so Reset leaves it.
TEST_P(ModemBoost, SurvivesAReset) {
    const PlatformFamily family = GetParam();
    family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
    TuningValues inForce;
    FoundFlags found;
    regtest::Capture(store, family, inForce, found);
    regtest::Finish(store, family, TuningValues{}, ProbeModemPortSpeed(store, family));
    RestoreSettings(store, regtest::TypicalRelease(family));
    const auto properties = ModemProperties("0000");
    ASSERT_TRUE(properties);
    EXPECT_EQ(
        std::vector<std::uint8_t>(properties->data.begin() + 24, properties->data.begin() + 28),
        (std::vector<std::uint8_t>{0x00, 0x10, 0x0E, 0x00}));
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, ModemBoost, ::testing::Values(Win9x, WinNT));

}  // namespace
