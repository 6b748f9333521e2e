// What Show Changes lists (what Reset will put back) and what the preview of Windows'
// defaults lists, against what the commands then do; and Windows' defaults themselves.
#include <gtest/gtest.h>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Changes.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace catalogue;
using engine::Change;
using engine::Outcome;
using engine::PlaceKind;
using regtest::Dword;
using regtest::Put;
using regtest::Snapshot;
using regtest::Text;

const TuningValues kTuned{1, 1, 0, 1400, 1360, 64240, 64, 7200000, 1000, 2, 20, 20};

void Seed(RegistryStore& store, WindowsRelease release) {
    platform::FamilyOf(release) == WinNT ? regtest::SeedWinNtSystem(store)
                                         : regtest::SeedWin9xSystem(store);
}

// A change's key, found back from its place (the only ones these systems have).
std::string KeyOf(const Change& change, WindowsRelease release) {
    switch (change.place.kind) {
        case PlaceKind::Browser:
            return kBrowserKey;
        case PlaceKind::Stack:
            return platform::FamilyOf(release) == WinNT ? kWinNtStackKey : kWin9xStackKey;
        case PlaceKind::StackParameters:
            return kWin98ParametersKey;
        case PlaceKind::SocketDriver:
            return kAfdParametersKey;
        case PlaceKind::Ras:
            return kNdisWanParametersKey;
        case PlaceKind::Interface:
            return std::string(kInterfacesKey) + "\\" + change.place.detail;
        case PlaceKind::DialUpAdapter:
            return std::string(kNetTransKeyPrefix) + "0002";
        case PlaceKind::Adapter:
            return std::string(kServicesKey) + "\\" + AdapterKeyBelowServices(change.place.detail);
        case PlaceKind::Other:
            break;
    }
    return change.place.detail;
}

// The change's entry in a snapshot, as regtest names them.
std::string EntryOf(const Change& change, WindowsRelease release) {
    const char* root = change.place.kind == PlaceKind::Browser ? "HKCU\\" : "HKLM\\";
    return regtest::Upper(root + KeyOf(change, release) + "\\" + change.name);
}

std::optional<reg::Value> ValueOf(RegistryStore& store, const Change& change,
                                  WindowsRelease release) {
    const reg::Key root =
        change.place.kind == PlaceKind::Browser ? reg::kCurrentUser : reg::kLocalMachine;
    return regtest::Get(store, root, KeyOf(change, release), change.name.c_str());
}

// After Finish, and after other programs changed a value, deleted one and set one Finish
// had left alone, the list is what Reset then does: each value it names ends as the list
// said, every other value stays, and the list itself writes nothing.
TEST(ShowChanges, ListsExactlyWhatResetThenPutsBack) {
    for (WindowsRelease release :
         {WindowsRelease::Win98, WindowsRelease::WinNT4, WindowsRelease::WinXP}) {
        SCOPED_TRACE(ReleaseName(release));
        MemoryRegistryStore store;
        Seed(store, release);
        ASSERT_EQ(engine::ApplySettings(store, release, kTuned, DialUp, false).outcome,
                  Outcome::Applied);
        const bool nt = platform::FamilyOf(release) == WinNT;
        const char* stack = nt ? kWinNtStackKey : kWin9xStackKey;
        Put(store, reg::kLocalMachine, stack, "DefaultTTL", nt ? Text("77") : Dword(77));
        ASSERT_EQ(store.DeleteValue(reg::OpenForWrite(store, reg::kLocalMachine, stack).get(),
                                    "KeepAliveInterval"),
                  reg::kSuccess);
        const Snapshot before = regtest::WholeSnapshot(store);
        const Snapshot system = regtest::TunedSnapshot(store);

        const std::vector<Change> changes = engine::ResetChanges(store, release);
        EXPECT_EQ(regtest::WholeSnapshot(store), before) << "the list wrote";
        EXPECT_EQ(store.OpenHandleCount(), 0u);
        const auto listed = [&](const char* name) {
            return std::any_of(changes.begin(), changes.end(), [&](const Change& change) {
                return change.place.kind == PlaceKind::Stack && change.name == name;
            });
        };
        EXPECT_TRUE(listed("DefaultTTL")) << "a value another program changed";
        EXPECT_TRUE(listed("SackOpts")) << "a value Finish set";
        EXPECT_FALSE(listed("KeepAliveInterval")) << "gone already: Reset has nothing to do";
        for (const Change& change : changes) {
            EXPECT_EQ(ValueOf(store, change, release), change.now) << change.name;
            EXPECT_NE(change.now, change.after) << change.name;
        }

        ASSERT_EQ(engine::RestoreSettings(store, release).outcome, Outcome::Restored);
        Snapshot expected = system;
        for (const Change& change : changes) {
            SCOPED_TRACE(change.name);
            EXPECT_EQ(ValueOf(store, change, release), change.after);
            const std::string entry = EntryOf(change, release);
            if (change.after) {
                expected[entry] = *change.after;
            } else {
                expected.erase(entry);
            }
        }
        EXPECT_EQ(regtest::TunedSnapshot(store), expected)
            << regtest::Difference(expected, regtest::TunedSnapshot(store));
    }
}

// No backup, or one of the other family: nothing to list.
TEST(ShowChanges, ListsNothingResetWouldNotDo) {
    MemoryRegistryStore store;
    regtest::SeedWin9xSystem(store);
    EXPECT_TRUE(engine::ResetChanges(store, WindowsRelease::Win98).empty());
    ASSERT_EQ(engine::ApplySettings(store, WindowsRelease::Win98, kTuned, LAN, false).outcome,
              Outcome::Applied);
    regtest::SeedWinNtSystem(store);
    EXPECT_TRUE(engine::ResetChanges(store, WindowsRelease::WinXP).empty());
}

// Windows' defaults on each release: the preview names every value Finish writes that is set,
// and writes nothing; the command removes exactly those, leaves the modems, and Reset then
// gives back the registry as it was.
TEST(WindowsDefaults, RemoveWhatThePreviewListsAndResetPutsItBack) {
    for (WindowsRelease release : {WindowsRelease::Win95, WindowsRelease::Win98,
                                   WindowsRelease::WinNT4, WindowsRelease::WinXP}) {
        SCOPED_TRACE(ReleaseName(release));
        MemoryRegistryStore store;
        Seed(store, release);
        // Another tool's tuning first, so that every kind of place holds something.
        ASSERT_EQ(engine::ApplySettings(store, release, kTuned, DialUp, true).outcome,
                  Outcome::Applied);
        ASSERT_EQ(engine::RestoreSettings(store, release).outcome, Outcome::Restored);
        ASSERT_EQ(engine::ApplySettings(store, release, kTuned, DialUp, false).outcome,
                  Outcome::Applied);
        ASSERT_TRUE(engine::DiscardBackup(store));
        const Snapshot tuned = regtest::TunedSnapshot(store);

        const std::vector<Change> changes = engine::DefaultsChanges(store, release);
        EXPECT_EQ(regtest::TunedSnapshot(store), tuned) << "the preview wrote";
        EXPECT_FALSE(engine::BackupExists(store)) << "the preview made a backup";
        EXPECT_FALSE(changes.empty());
        for (const Change& change : changes) {
            EXPECT_EQ(ValueOf(store, change, release), change.now) << change.name;
            EXPECT_FALSE(change.after) << change.name << ": a clean installation holds none";
        }

        ASSERT_EQ(engine::ApplyDefaults(store, release).outcome, Outcome::DefaultsApplied);
        Snapshot expected = tuned;
        for (const Change& change : changes) {
            EXPECT_FALSE(ValueOf(store, change, release)) << change.name;
            const std::string entry = EntryOf(change, release);
            expected.erase(entry);
        }
        EXPECT_EQ(regtest::TunedSnapshot(store), expected)
            << regtest::Difference(expected, regtest::TunedSnapshot(store));
        EXPECT_TRUE(engine::DefaultsChanges(store, release).empty());

        ASSERT_EQ(engine::RestoreSettings(store, release).outcome, Outcome::Restored);
        EXPECT_EQ(regtest::TunedSnapshot(store), tuned)
            << regtest::Difference(tuned, regtest::TunedSnapshot(store));
    }
}

TEST(ChangePlaces, NameTheKeysTheCatalogueWrites) {
    using engine::Place;
    using engine::PlaceOf;
    EXPECT_EQ(PlaceOf(reg::kCurrentUser, kBrowserKey), (Place{PlaceKind::Browser, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, kWin9xStackKey), (Place{PlaceKind::Stack, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, kWinNtStackKey), (Place{PlaceKind::Stack, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, std::string(kInterfacesKey) + "\\{B0A1}"),
              (Place{PlaceKind::Interface, "{B0A1}"}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, std::string(kNetTransKeyPrefix) + "0002"),
              (Place{PlaceKind::DialUpAdapter, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine,
                      std::string(kServicesKey) + "\\" + AdapterKeyBelowServices("El90x1")),
              (Place{PlaceKind::Adapter, "El90x1"}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, kNdisWanParametersKey), (Place{PlaceKind::Ras, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, kAfdParametersKey), (Place{PlaceKind::SocketDriver, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, kWin98ParametersKey),
              (Place{PlaceKind::StackParameters, ""}));
    EXPECT_EQ(PlaceOf(reg::kLocalMachine, std::string(kInterfacesKey) + "\\{A}\\Deeper").kind,
              PlaceKind::Other);
}

}  // namespace
