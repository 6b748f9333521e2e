// A wizard run (opening, Finish) and a Reset with each registry operation failing in turn,
// once or for good (the program dying there, a tree delete being many operations), refused,
// or answering as if another program had deleted the key under the handle; and a second
// Reset coming in at every point of the first: the settings are never lost, and an
// interface added before the next Reset keeps its own.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;

using regtest::Snapshot;
using Mode = regtest::FaultInjectingStore::Mode;

const TuningValues kFirst{1, 1, 0, 1500, 1460, 64240, 64, 7200000, 1000, 2, 20, 20};
const TuningValues kSecond{0, 0, 1, 576, 536, 32160, 100, 3600000, 500, 1, 10, 10};

using Outcome = engine::Outcome;

struct Scenario {
    WindowsRelease release;
    bool earlierBackup;   // an earlier run was finished: its backup holds the seeded system
    bool interfaceAdded;  // a VPN or network card comes between the run and the next Reset
    PlatformFamily family() const { return platform::FamilyOf(release); }
};

std::string Name(const ::testing::TestParamInfo<Scenario>& info) {
    static const char* const kReleases[] = {"Win95",  "Win98",   "WinMe",
                                            "WinNT4", "Win2000", "WinXP"};
    return std::string(kReleases[static_cast<int>(info.param.release)]) +
           (info.param.earlierBackup ? "AfterAnEarlierRun" : "OnAFreshSystem") +
           (info.param.interfaceAdded ? "WithAnInterfaceAdded" : "");
}

// The interface that comes after the backup was made, with values of its own; on NT 4.0
// an adapter bound to TCP/IP with its own MTU as well.
void AddInterface(RegistryStore& store) {
    const std::string key = std::string(catalogue::kInterfacesKey) + "\\{ADDED}";
    regtest::Put(store, reg::kLocalMachine, key, "MTU", regtest::Dword(9000));
    regtest::Put(store, reg::kLocalMachine, key, "MSS", regtest::Dword(8960));
    regtest::BindAdapter(store, "Added1", regtest::Dword(9000));
}

// What Reset must leave: the target, and the added interface as it came.
Snapshot Expected(const Snapshot& target, const Scenario& scenario) {
    if (!scenario.interfaceAdded) return target;
    MemoryRegistryStore added;
    regtest::SeedWinNtSystem(added);
    const Snapshot seeded = regtest::WholeSnapshot(added);
    AddInterface(added);
    Snapshot expected = target;
    for (const auto& [name, value] : regtest::WholeSnapshot(added)) {
        const auto before = seeded.find(name);
        if (before == seeded.end() || !(before->second == value)) expected[name] = value;
    }
    return expected;
}

void Capture(RegistryStore& store, const Scenario& scenario) {
    TuningValues inForce;
    FoundFlags found;
    CaptureSettings(store, scenario.release, inForce, found);
}
engine::Result Finish(RegistryStore& store, const Scenario& scenario, const TuningValues& chosen) {
    return ApplySettings(store, scenario.release, chosen, DialUp, true);
}

// A seeded registry, taken through the earlier run when the scenario has one.
struct World {
    explicit World(const Scenario& scenario) {
        scenario.family() == WinNT ? regtest::SeedWinNtSystem(store)
                                   : regtest::SeedWin9xSystem(store);
        seeded = regtest::SystemSnapshot(store);
        if (scenario.earlierBackup) Finish(store, scenario, kFirst);
    }
    MemoryRegistryStore store;
    Snapshot seeded;
};

// The run under test: the wizard opens, finishes with kSecond, and Reset follows.
void RunThrough(RegistryStore& store, const Scenario& scenario) {
    Capture(store, scenario);
    Finish(store, scenario, kSecond);
    RestoreSettings(store, scenario.release);
}

// Operation counts of a clean run: where Finish and Reset begin, where the new
// backup is committed, and how many there are in all.
struct Landmarks {
    long applyStart = 0, commit = -1, restoreStart = 0, total = 0;
};

Landmarks Measure(const Scenario& scenario) {
    World world(scenario);
    regtest::FaultInjectingStore counter(world.store, -1);
    counter.KeepLog();
    Landmarks marks;
    Capture(counter, scenario);
    marks.applyStart = counter.operations();
    const Outcome applied = Finish(counter, scenario, kSecond).outcome;
    marks.restoreStart = counter.operations();
    const Outcome restored = RestoreSettings(counter, scenario.release).outcome;
    marks.total = counter.operations();
    const std::string commit = std::string("write ") + catalogue::kBackupCompleteValue;
    for (long i = marks.applyStart; i < marks.restoreStart && marks.commit < 0; ++i) {
        if (counter.log()[static_cast<std::size_t>(i)] == commit) marks.commit = i;
    }
    EXPECT_EQ(applied, Outcome::Applied);
    EXPECT_EQ(restored, Outcome::Restored);
    return marks;
}

class FaultInjection : public ::testing::TestWithParam<Scenario> {
protected:
    // What Reset must bring back: what was in force at Finish when the new
    // backup was made, else the earlier backup's system, else nothing (there
    // is no backup, and nothing was changed).
    static const Snapshot* Target(bool newBackup, const Snapshot& atFinish, const World& world) {
        if (newBackup) return &atFinish;
        return GetParam().earlierBackup ? &world.seeded : nullptr;
    }
};

TEST_P(FaultInjection, AnySingleFailureIsReportedAndLosesNothing) {
    const Scenario scenario = GetParam();
    const Landmarks marks = Measure(scenario);
    ASSERT_GT(marks.commit, marks.applyStart);
    Snapshot finished;  // every tuned value, modems included, after a clean Finish
    {
        World clean(scenario);
        Finish(clean.store, scenario, kSecond);
        finished = regtest::TunedSnapshot(clean.store);
    }

    for (const reg::Status error : {reg::kAccessDenied, reg::kFileNotFound, reg::kKeyDeleted})
        for (long n = 0; n < marks.total; ++n) {
            World world(scenario);
            const Snapshot atFinish = regtest::SystemSnapshot(world.store);
            const Snapshot wholeBefore = regtest::WholeSnapshot(world.store);

            regtest::FaultInjectingStore faulty(world.store, n, error);
            Capture(faulty, scenario);
            const Outcome applied = Finish(faulty, scenario, kSecond).outcome;
            const Snapshot wholeAfterApply = regtest::WholeSnapshot(world.store);
            const Snapshot tunedAfterApply = regtest::TunedSnapshot(world.store);
            if (scenario.interfaceAdded) AddInterface(world.store);
            const engine::Result reset = RestoreSettings(faulty, scenario.release);
            SCOPED_TRACE("operation " + std::to_string(n) + ": " + faulty.firedOperation() +
                         " failing with " + std::to_string(error));
            const bool inApply = n >= marks.applyStart && n < marks.restoreStart;
            const bool inRestore = n >= marks.restoreStart;

            ASSERT_TRUE(applied == Outcome::Applied || applied == Outcome::PartlyApplied ||
                        applied == Outcome::NeedsRights || applied == Outcome::NoBackupMade)
                << ::testing::PrintToString(applied);
            if (!inApply) {
                EXPECT_EQ(applied, Outcome::Applied);
            }
            if (applied == Outcome::Applied) {
                // "41" means everything was written.
                EXPECT_EQ(tunedAfterApply, finished)
                    << regtest::Difference(finished, tunedAfterApply);
            }
            if (applied == Outcome::NeedsRights || applied == Outcome::NoBackupMade) {
                // Nothing changed: no tuning value, no modem, not the earlier backup.
                EXPECT_EQ(wholeAfterApply, wholeBefore)
                    << regtest::Difference(wholeBefore, wholeAfterApply);
            }
            const bool madeBackup =
                applied == Outcome::Applied || applied == Outcome::PartlyApplied;
            const Snapshot* target = Target(madeBackup, atFinish, world);
            const Snapshot expected = target != nullptr ? Expected(*target, scenario) : Snapshot{};

            const Outcome restored = reset.outcome;
            ASSERT_TRUE(restored == Outcome::Restored || restored == Outcome::NeedsRights ||
                        restored == Outcome::NotRestored)
                << ::testing::PrintToString(restored);
            EXPECT_EQ(reset.backupRemains, BackupExists(world.store));
            if (!inRestore && target != nullptr) {
                EXPECT_EQ(restored, Outcome::Restored);
            }
            if (restored == Outcome::Restored) {
                ASSERT_NE(target, nullptr);
                EXPECT_EQ(regtest::SystemSnapshot(world.store), expected)
                    << regtest::Difference(expected, regtest::SystemSnapshot(world.store));
                EXPECT_FALSE(BackupExists(world.store));
            } else if (target == nullptr) {
                EXPECT_FALSE(BackupExists(world.store));
                EXPECT_EQ(regtest::SystemSnapshot(world.store), Expected(atFinish, scenario));
            } else {
                // The backup stays, marked so that Set warns, and the next Reset completes the job.
                ASSERT_TRUE(BackupExists(world.store));
                if (restored == Outcome::NotRestored) {
                    EXPECT_TRUE(BackupAwaitsReset(world.store, scenario.family()));
                }
                EXPECT_EQ(RestoreSettings(world.store, scenario.release).outcome,
                          Outcome::Restored);
                EXPECT_EQ(regtest::SystemSnapshot(world.store), expected)
                    << regtest::Difference(expected, regtest::SystemSnapshot(world.store));
                EXPECT_FALSE(BackupAwaitsReset(world.store, scenario.family()));
            }
            EXPECT_EQ(world.store.OpenHandleCount(), 0u);
        }
}

TEST_P(FaultInjection, DyingAnywhereLeavesWhatTheNextResetPutsBack) {
    const Scenario scenario = GetParam();
    const Landmarks marks = Measure(scenario);

    for (long n = 0; n < marks.total; ++n) {
        World world(scenario);
        const Snapshot atFinish = regtest::SystemSnapshot(world.store);
        const Snapshot wholeBefore = regtest::WholeSnapshot(world.store);
        regtest::FaultInjectingStore dying(world.store, n, reg::kAccessDenied, Mode::Crash);
        RunThrough(dying, scenario);
        SCOPED_TRACE("died at operation " + std::to_string(n) + ": " + dying.firedOperation());

        // The program is started again and the user presses Reset.
        const bool newBackup = n > marks.commit;
        if (n <= marks.commit && n >= marks.applyStart) {
            // Before the new backup counts, nothing has been changed.
            EXPECT_EQ(regtest::SystemSnapshot(world.store), atFinish);
        }
        if (n < marks.applyStart) {
            EXPECT_EQ(regtest::WholeSnapshot(world.store), wholeBefore) << "opening wrote";
        }
        const Snapshot* target = Target(newBackup, atFinish, world);
        if (scenario.interfaceAdded) AddInterface(world.store);
        const Outcome restored = RestoreSettings(world.store, scenario.release).outcome;
        if (target == nullptr) {
            EXPECT_EQ(restored, Outcome::NotRestored);
            EXPECT_EQ(regtest::SystemSnapshot(world.store), Expected(atFinish, scenario));
        } else {
            const Snapshot expected = Expected(*target, scenario);
            EXPECT_EQ(restored, Outcome::Restored);
            EXPECT_EQ(regtest::SystemSnapshot(world.store), expected)
                << regtest::Difference(expected, regtest::SystemSnapshot(world.store));
        }
        EXPECT_FALSE(BackupExists(world.store));
        EXPECT_FALSE(
            regtest::KeyExists(world.store, reg::kCurrentUser, catalogue::kPendingBackupKey));
    }
}

TEST_P(FaultInjection, TwoResetsAtOnceEndOnTheOriginals) {
    const Scenario scenario = GetParam();
    const Landmarks marks = Measure(scenario);
    const long resetLength = marks.total - marks.restoreStart;
    for (long k = 0; k < resetLength; ++k) {
        World world(scenario);
        const Snapshot atFinish = regtest::SystemSnapshot(world.store);
        Capture(world.store, scenario);
        ASSERT_EQ(Finish(world.store, scenario, kSecond).outcome, Outcome::Applied);
        if (scenario.interfaceAdded) AddInterface(world.store);
        const Snapshot expected = Expected(atFinish, scenario);

        Outcome second = Outcome::NotRestored;
        regtest::InterleavingStore first(world.store, k, [&] {
            second = RestoreSettings(world.store, scenario.release).outcome;
        });
        const Outcome outcome = RestoreSettings(first, scenario.release).outcome;
        SCOPED_TRACE("the second Reset came before operation " + std::to_string(k) +
                     "; the first said " + ::testing::PrintToString(outcome) + ", the second " +
                     ::testing::PrintToString(second));
        if (BackupExists(world.store)) {
            EXPECT_NE(outcome, Outcome::Restored);
            EXPECT_EQ(RestoreSettings(world.store, scenario.release).outcome, Outcome::Restored);
        }
        EXPECT_EQ(regtest::SystemSnapshot(world.store), expected)
            << regtest::Difference(expected, regtest::SystemSnapshot(world.store));
        EXPECT_EQ(world.store.OpenHandleCount(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(All, FaultInjection,
                         ::testing::Values(Scenario{WindowsRelease::Win98, false, false},
                                           Scenario{WindowsRelease::Win98, true, false},
                                           Scenario{WindowsRelease::WinXP, false, false},
                                           Scenario{WindowsRelease::WinXP, true, false},
                                           Scenario{WindowsRelease::WinXP, false, true},
                                           Scenario{WindowsRelease::WinXP, true, true},
                                           Scenario{WindowsRelease::WinNT4, true, true}),
                         Name);

}  // namespace
