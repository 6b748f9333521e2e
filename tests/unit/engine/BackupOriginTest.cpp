// A backup meets a system that changed after Finish: Windows upgraded to another family or
// release, the dial-up adapter's number taken by another adapter, a key made by another
// program, a lone "New Backup" that lost a part.
#include <gtest/gtest.h>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace catalogue;
using engine::Outcome;
using regtest::Dword;
using regtest::Get;
using regtest::Put;
using regtest::Snapshot;
using regtest::Text;

const TuningValues kTuned{1, 1, 0, 1400, 1360, 64240, 64, 7200000, 1000, 2, 20, 20};

void Seed(RegistryStore& store, PlatformFamily family) {
    family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
}

Outcome Finish(RegistryStore& store, WindowsRelease release, ConnectionType type = LAN) {
    return engine::ApplySettings(store, release, kTuned, type, false).outcome;
}

// A value's entry in a snapshot.
std::string Entry(const std::string& path, const char* name) {
    return regtest::Upper("HKLM\\" + path + "\\" + name);
}

void DeleteBackupValue(RegistryStore& store, const char* name) {
    ASSERT_EQ(
        store.DeleteValue(reg::OpenForWrite(store, reg::kCurrentUser, kBackupKey).get(), name),
        reg::kSuccess);
}

// An upgrade keeps the user's profile, and the backup in it, while the system's keys are
// the other family's now. Whether the backup names its Windows or (an earlier version's)
// only holds its settings, Reset touches nothing until the user removes it.
TEST(BackupOfTheOtherFamily, TouchesNothingAndGoesOnlyWhenTheUserSays) {
    struct Upgrade {
        WindowsRelease from, to;
    };
    for (const Upgrade upgrade : {Upgrade{WindowsRelease::Win98, WindowsRelease::WinXP},
                                  Upgrade{WindowsRelease::WinNT4, WindowsRelease::WinMe}}) {
        for (bool namesItsWindows : {true, false}) {
            SCOPED_TRACE(std::string(ReleaseName(upgrade.from)) + " to " + ReleaseName(upgrade.to) +
                         (namesItsWindows ? "" : ", a backup that names no Windows"));
            MemoryRegistryStore store;
            Seed(store, platform::FamilyOf(upgrade.from));
            ASSERT_EQ(Finish(store, upgrade.from), Outcome::Applied);
            if (!namesItsWindows) DeleteBackupValue(store, kWindowsValue);
            Seed(store, platform::FamilyOf(upgrade.to));
            const Snapshot upgraded = regtest::WholeSnapshot(store);
            const Snapshot system = regtest::SystemSnapshot(store);

            const engine::Result reset = engine::RestoreSettings(store, upgrade.to);
            EXPECT_EQ(reset.outcome, Outcome::MadeOnOtherFamily);
            EXPECT_TRUE(reset.backupRemains);
            EXPECT_EQ(reset.madeOn.family, platform::FamilyOf(upgrade.from));
            EXPECT_EQ(reset.madeOn.release,
                      namesItsWindows ? std::optional(upgrade.from) : std::nullopt);
            EXPECT_EQ(regtest::WholeSnapshot(store), upgraded)
                << regtest::Difference(upgraded, regtest::WholeSnapshot(store));

            EXPECT_TRUE(engine::DiscardBackup(store));
            EXPECT_FALSE(engine::BackupExists(store));
            EXPECT_EQ(regtest::SystemSnapshot(store), system);
        }
    }
}

// Windows NT 4.0 upgraded to XP: the stack, the interfaces and the browser come back; the
// adapters' own MTUs and RAS's, which XP reads nowhere, are left, and the user told.
TEST(BackupOfAnEarlierRelease, PutsBackWhatTheRunningReleaseReadsAndSaysWhatItLeft) {
    MemoryRegistryStore store;
    regtest::SeedWinNtSystem(store);
    const Snapshot seeded = regtest::SystemSnapshot(store);
    ASSERT_EQ(Finish(store, WindowsRelease::WinNT4, DialUp), Outcome::Applied);

    EXPECT_EQ(engine::RestoreSettings(store, WindowsRelease::WinXP).outcome,
              Outcome::RestoredElsewhereLeft);
    Snapshot expected = seeded;
    const std::string adapter =
        std::string(kServicesKey) + "\\" + AdapterKeyBelowServices("El90x1");
    expected[Entry(adapter, "MTU")] = Dword(1400);
    expected[Entry(std::string(kServicesKey) + "\\" + AdapterKeyBelowServices("NdisWan4"), "MTU")] =
        Dword(1400);
    expected[Entry(kNdisWanParametersKey, "IPMTU")] = Dword(1400);
    EXPECT_EQ(regtest::SystemSnapshot(store), expected)
        << regtest::Difference(expected, regtest::SystemSnapshot(store));
    EXPECT_FALSE(engine::BackupExists(store));
}

// The dial-up adapter removed after Finish, and a network card's binding given its NetTrans
// number: the card's own MTU and MSS are not the backup's to set or delete.
TEST(DialUpAdapterTakenOver, LeavesTheNetTransKeyToTheAdapterHoldingItNow) {
    MemoryRegistryStore store;
    regtest::SeedWin9xSystem(store);
    ASSERT_EQ(Finish(store, WindowsRelease::Win98), Outcome::Applied);
    ASSERT_EQ(reg::DeleteTree(store, reg::kLocalMachine,
                              (std::string(kEnumRootNetKey) + "\\0001").c_str()),
              reg::kSuccess);
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0000\\Bindings", "MSTCP\\0001",
        Text(""));
    const std::string card = std::string(kNetTransKeyPrefix) + "0002";
    Put(store, reg::kLocalMachine, card, "MaxMTU", Text("1500"));
    Put(store, reg::kLocalMachine, card, "MaxMSS", Text("1460"));

    EXPECT_EQ(engine::RestoreSettings(store, WindowsRelease::Win98).outcome,
              Outcome::RestoredElsewhereLeft);
    EXPECT_EQ(Get(store, reg::kLocalMachine, card, "MaxMTU"), Text("1500"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, card, "MaxMSS"), Text("1460"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kWin9xStackKey, "DefaultTTL"), Text("32"));
    EXPECT_FALSE(engine::BackupExists(store));
}

// Keys that did not exist at Finish: the browser's on a Windows 95 without the browser, RAS's
// on an NT 4.0 without RAS. Made by their programs afterwards, they keep what those wrote. A
// stack key Finish had to make goes again with Reset.
TEST(KeysMissingAtFinish, AreLeftToWhoeverMadeThemAndThoseFinishMadeGo) {
    {
        MemoryRegistryStore store;
        regtest::SeedWin9xSystem(store);
        ASSERT_EQ(reg::DeleteTree(store, reg::kCurrentUser, kBrowserKey), reg::kSuccess);
        ASSERT_EQ(reg::DeleteTree(store, reg::kLocalMachine, kWin9xStackKey), reg::kSuccess);
        ASSERT_EQ(Finish(store, WindowsRelease::Win95), Outcome::Applied);
        Put(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPerServer", Dword(8));
        Put(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPer1_0Server", Dword(16));

        EXPECT_EQ(engine::RestoreSettings(store, WindowsRelease::Win95).outcome, Outcome::Restored);
        EXPECT_EQ(Get(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPerServer"), Dword(8));
        EXPECT_EQ(Get(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPer1_0Server"),
                  Dword(16));
        EXPECT_FALSE(regtest::KeyExists(store, reg::kLocalMachine, kWin9xStackKey));
    }
    {
        MemoryRegistryStore store;
        regtest::SeedWinNtSystem(store);
        const std::string ndisWan = std::string(kServicesKey) + "\\NdisWan";
        ASSERT_EQ(reg::DeleteTree(store, reg::kLocalMachine, ndisWan.c_str()), reg::kSuccess);
        ASSERT_EQ(Finish(store, WindowsRelease::WinNT4, DialUp), Outcome::Applied);
        Put(store, reg::kLocalMachine, kNdisWanParametersKey, "IPMTU", Dword(1400));

        EXPECT_EQ(engine::RestoreSettings(store, WindowsRelease::WinNT4).outcome,
                  Outcome::Restored);
        EXPECT_EQ(Get(store, reg::kLocalMachine, kNdisWanParametersKey, "IPMTU"), Dword(1400));
    }
}

// A "New Backup" left alone, its copy into place never made, that has lost a part since: it
// is judged by its own list of parts, so Reset says what it could not check.
TEST(LoneNewBackup, ThatLostAPartIsNotTakenForWhole) {
    MemoryRegistryStore store;
    regtest::SeedWinNtSystem(store);
    ASSERT_EQ(Finish(store, WindowsRelease::WinXP), Outcome::Applied);
    reg::KeyImage image;
    ASSERT_EQ(reg::ReadTree(store, reg::Open(store, reg::kCurrentUser, kBackupKey).get(), image),
              reg::kSuccess);
    std::erase_if(image.subKeys,
                  [](const reg::KeyImage& part) { return part.name == kMtuBackupName; });
    ASSERT_EQ(reg::WriteTree(store, reg::kCurrentUser, kPendingBackupKey, image), reg::kSuccess);
    ASSERT_EQ(reg::DeleteTree(store, reg::kCurrentUser, kBackupKey), reg::kSuccess);

    EXPECT_EQ(engine::RestoreSettings(store, WindowsRelease::WinXP).outcome,
              Outcome::RestoredInPart);
    // What proved its MTU absent is gone: the interface keeps the one it has.
    EXPECT_EQ(Get(store, reg::kLocalMachine, std::string(kInterfacesKey) + "\\{C2D3}", "MTU"),
              Dword(1400));
}

}  // namespace
