// Backups as earlier versions of the program left them when a delete of theirs was cut
// short, and the mark of a Reset that could not finish.
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

const TuningValues kTuned{1, 1, 0, 1400, 1360, 64240, 64, 7200000, 1000, 2, 20, 20};
const std::string kInterfaces = kInterfacesKey;

// A system after a clean Finish of this version, its backup written as earlier versions
// wrote it: without "Backup Parts".
struct Finished {
    explicit Finished(PlatformFamily of) : family(of) {
        family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
        seeded = regtest::SystemSnapshot(store);
        EXPECT_EQ(regtest::Finish(store, family, kTuned, false).outcome, Outcome::Applied);
        store.DeleteValue(reg::OpenForWrite(store, reg::kCurrentUser, kBackupKey).get(),
                          kBackupPartsValue);
    }
    // The backup again under "New Backup", less the parts an earlier version's delete
    // had already taken (it took the subkeys in name order, and the key's values last).
    void LeaveHalfDeletedNewBackup(const std::vector<const char*>& deleted) {
        reg::KeyImage image;
        ASSERT_EQ(
            reg::ReadTree(store, reg::Open(store, reg::kCurrentUser, kBackupKey).get(), image),
            reg::kSuccess);
        for (const char* part : deleted) {
            std::erase_if(image.subKeys,
                          [&](const reg::KeyImage& sub) { return reg::SameName(sub.name, part); });
        }
        ASSERT_EQ(reg::WriteTree(store, reg::kCurrentUser, kPendingBackupKey, image),
                  reg::kSuccess);
    }
    void DeleteFromBackup(const char* part) {
        ASSERT_EQ(reg::DeleteTree(store, reg::kCurrentUser,
                                  (std::string(kBackupKey) + "\\" + part).c_str()),
                  reg::kSuccess);
    }

    PlatformFamily family;
    MemoryRegistryStore store;
    Snapshot seeded;
};

// Finish copied the new backup into place, and the removal of "New Backup" stopped
// part way: what is left of it is marked complete but lacks parts. It must not replace
// the whole copy, or Reset would put back no MTU or MSS at all.
TEST(EarlierVersionsLeftovers, AHalfDeletedNewBackupNeverReplacesTheWholeOne) {
    const struct {
        PlatformFamily family;
        std::vector<const char*> deleted;
    } cases[] = {
        {WinNT, {kInterfacesBackupName}},
        {WinNT, {kInterfacesBackupName, kMssBackupName}},
        {WinNT, {kInterfacesBackupName, kMssBackupName, kMtuBackupName}},
        {Win9x, {kMssBackupName}},
        {Win9x, {kMssBackupName, kMtuBackupName}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.family == WinNT ? "WinNT" : "Win9x") << ", "
                                        << c.deleted.size() << " parts gone");
        Finished system(c.family);
        system.LeaveHalfDeletedNewBackup(c.deleted);
        EXPECT_EQ(engine::RestoreSettings(system.store, regtest::TypicalRelease(c.family)).outcome,
                  Outcome::Restored);
        EXPECT_EQ(regtest::SystemSnapshot(system.store), system.seeded)
            << regtest::Difference(system.seeded, regtest::SystemSnapshot(system.store));
        EXPECT_FALSE(engine::BackupExists(system.store));
    }
}

// Reset put everything back, and the removal of "Original Settings" stopped after the
// list of interfaces was gone. The backup must not stand for every interface there is
// now: one added since keeps its own values, and Reset says what it could not check.
TEST(EarlierVersionsLeftovers, ABackupThatLostItsInterfaceListTouchesOnlyTheInterfacesItNames) {
    for (bool mssGoneToo : {false, true}) {
        SCOPED_TRACE(mssGoneToo ? "MSS Settings gone too" : "only the list gone");
        Finished system(WinNT);
        system.DeleteFromBackup(kInterfacesBackupName);
        if (mssGoneToo) system.DeleteFromBackup(kMssBackupName);
        Put(system.store, reg::kLocalMachine, kInterfaces + "\\{VPN}", "MTU", Dword(1400));
        Put(system.store, reg::kLocalMachine, kInterfaces + "\\{VPN}", "MSS", Dword(1360));

        EXPECT_EQ(engine::RestoreSettings(system.store, WindowsRelease::WinXP).outcome,
                  Outcome::RestoredInPart);
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kInterfaces + "\\{VPN}", "MTU"),
                  Dword(1400));
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kInterfaces + "\\{VPN}", "MSS"),
                  Dword(1360));
        // Named by its MTU, the first interface is put back; the one with no values of
        // its own, named nowhere, keeps what Finish wrote.
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MTU"),
                  Dword(1500));
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kInterfaces + "\\{A9F0}", "MTU"),
                  Dword(1400));
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MSS"),
                  mssGoneToo ? std::optional(Dword(1360)) : std::nullopt);
        EXPECT_EQ(Get(system.store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL"), Dword(128));
        EXPECT_FALSE(engine::BackupExists(system.store)) << "a Reset that fails forever";
    }
}

// A Win9x backup whose "MSS Settings" went first: the adapter's MTU comes back, its MSS
// is left as it is, since nothing proves it was not set.
TEST(EarlierVersionsLeftovers, AWin9xBackupWithoutItsMssPartPutsTheAdapterMtuBack) {
    Finished system(Win9x);
    system.DeleteFromBackup(kMssBackupName);
    const std::string adapter = std::string(kNetTransKeyPrefix) + "0002";
    EXPECT_EQ(engine::RestoreSettings(system.store, WindowsRelease::Win98).outcome,
              Outcome::RestoredInPart);
    EXPECT_EQ(Get(system.store, reg::kLocalMachine, adapter, "MaxMTU"), regtest::Text("576"));
    EXPECT_EQ(Get(system.store, reg::kLocalMachine, adapter, "MaxMSS"), regtest::Text("1360"));
    EXPECT_FALSE(engine::BackupExists(system.store));
}

// A Reset that cannot finish (here the stack key has gone) marks the backup, so that Set
// warns before replacing it; the Finish that does replace it leaves no mark.
TEST(ResetIncomplete, MarksTheBackupUntilAFinishReplacesIt) {
    for (PlatformFamily family : {Win9x, WinNT}) {
        SCOPED_TRACE(family == WinNT ? "WinNT" : "Win9x");
        Finished system(family);
        EXPECT_FALSE(engine::BackupAwaitsReset(system.store, family));
        ASSERT_EQ(reg::DeleteTree(system.store, reg::kLocalMachine, Stack(family).path),
                  reg::kSuccess);
        const engine::Result reset =
            engine::RestoreSettings(system.store, regtest::TypicalRelease(family));
        EXPECT_EQ(reset.outcome, Outcome::NotRestored);
        EXPECT_TRUE(reset.backupRemains);
        EXPECT_TRUE(engine::BackupAwaitsReset(system.store, family));

        EXPECT_EQ(regtest::Finish(system.store, family, kTuned, false).outcome, Outcome::Applied);
        EXPECT_TRUE(engine::BackupExists(system.store));
        EXPECT_FALSE(engine::BackupAwaitsReset(system.store, family));
    }
}

}  // namespace
