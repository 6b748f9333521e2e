// A wizard run (opening, Finish) and a Reset with each registry operation failing in turn,
// once or for good (the program dying there): the settings are never lost.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;

using regtest::Snapshot;
using Mode = regtest::FaultInjectingStore::Mode;

const TuningValues kFirst{1, 1, 0, 1500, 1460, 64240, 64, 7200000, 1000, 2, 20, 20};
const TuningValues kSecond{0, 0, 1, 576, 536, 32160, 100, 3600000, 500, 1, 10, 10};

struct Scenario {
    PlatformFamily family;
    bool earlierBackup;  // an earlier run was finished: its backup holds the seeded system
};

std::string Name(const ::testing::TestParamInfo<Scenario>& info) {
    return std::string(info.param.family == WinNT ? "WinNT" : "Win9x") +
           (info.param.earlierBackup ? "AfterAnEarlierRun" : "OnAFreshSystem");
}

// A seeded registry, taken through the earlier run when the scenario has one.
struct World {
    explicit World(const Scenario& scenario) {
        scenario.family == WinNT ? regtest::SeedWinNtSystem(store)
                                 : regtest::SeedWin9xSystem(store);
        seeded = regtest::SystemSnapshot(store);
        if (scenario.earlierBackup) {
            regtest::RecordingHost host;
            ApplySettings(store, scenario.family, kFirst, true, host);
        }
    }
    MemoryRegistryStore store;
    Snapshot seeded;
};

// The run under test: the wizard opens, finishes with kSecond, and Reset follows.
void RunThrough(RegistryStore& store, PlatformFamily family) {
    TuningValues inForce;
    FoundFlags found;
    regtest::RecordingHost host;
    CaptureSettings(store, family, inForce, found);
    ApplySettings(store, family, kSecond, true, host);
    RestoreSettings(store, family, host);
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
    TuningValues inForce;
    FoundFlags found;
    regtest::RecordingHost host;
    CaptureSettings(counter, scenario.family, inForce, found);
    marks.applyStart = counter.operations();
    ApplySettings(counter, scenario.family, kSecond, true, host);
    marks.restoreStart = counter.operations();
    RestoreSettings(counter, scenario.family, host);
    marks.total = counter.operations();
    const std::string commit = std::string("write ") + catalogue::kBackupCompleteValue;
    for (long i = marks.applyStart; i < marks.restoreStart && marks.commit < 0; ++i) {
        if (counter.log()[static_cast<std::size_t>(i)] == commit) marks.commit = i;
    }
    EXPECT_EQ(host.keys, (std::vector<std::string>{"41", "42"}));
    return marks;
}

bool IsOneOf(const std::vector<std::string>& keys, std::initializer_list<const char*> allowed) {
    if (keys.size() != 1) return false;
    for (const char* key : allowed) {
        if (keys[0] == key) return true;
    }
    return false;
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
        regtest::RecordingHost host;
        ApplySettings(clean.store, scenario.family, kSecond, true, host);
        finished = regtest::TunedSnapshot(clean.store);
    }

    for (long n = 0; n < marks.total; ++n) {
        World world(scenario);
        const Snapshot atFinish = regtest::SystemSnapshot(world.store);
        const Snapshot wholeBefore = regtest::WholeSnapshot(world.store);

        regtest::FaultInjectingStore faulty(world.store, n);
        TuningValues inForce;
        FoundFlags found;
        regtest::RecordingHost applyHost, restoreHost;
        CaptureSettings(faulty, scenario.family, inForce, found);
        ApplySettings(faulty, scenario.family, kSecond, true, applyHost);
        const Snapshot wholeAfterApply = regtest::WholeSnapshot(world.store);
        const Snapshot tunedAfterApply = regtest::TunedSnapshot(world.store);
        RestoreSettings(faulty, scenario.family, restoreHost);
        SCOPED_TRACE("operation " + std::to_string(n) + ": " + faulty.firedOperation());
        const bool inApply = n >= marks.applyStart && n < marks.restoreStart;
        const bool inRestore = n >= marks.restoreStart;

        ASSERT_TRUE(IsOneOf(applyHost.keys, {"41", "44", "45", "46"}));
        const std::string& applied = applyHost.keys[0];
        if (!inApply) {
            EXPECT_EQ(applied, "41");
        }
        if (applied == "41") {
            // "41" means everything was written.
            EXPECT_EQ(tunedAfterApply, finished) << regtest::Difference(finished, tunedAfterApply);
        }
        if (applied == "45" || applied == "46") {
            // Nothing changed: no tuning value, no modem, not the earlier backup.
            EXPECT_EQ(wholeAfterApply, wholeBefore)
                << regtest::Difference(wholeBefore, wholeAfterApply);
        }
        const Snapshot* target = Target(applied == "41" || applied == "44", atFinish, world);

        ASSERT_TRUE(IsOneOf(restoreHost.keys, {"42", "45", "47"}));
        const std::string& restored = restoreHost.keys[0];
        if (!inRestore && target != nullptr) {
            EXPECT_EQ(restored, "42");
        }
        if (restored == "42") {
            ASSERT_NE(target, nullptr);
            EXPECT_EQ(regtest::SystemSnapshot(world.store), *target)
                << regtest::Difference(*target, regtest::SystemSnapshot(world.store));
            EXPECT_FALSE(BackupExists(world.store));
        } else if (target == nullptr) {
            EXPECT_FALSE(BackupExists(world.store));
            EXPECT_EQ(regtest::SystemSnapshot(world.store), atFinish);
        } else {
            // The backup stays and the next Reset completes the job.
            ASSERT_TRUE(BackupExists(world.store));
            regtest::RecordingHost again;
            RestoreSettings(world.store, scenario.family, again);
            EXPECT_EQ(again.keys, std::vector<std::string>{"42"});
            EXPECT_EQ(regtest::SystemSnapshot(world.store), *target)
                << regtest::Difference(*target, regtest::SystemSnapshot(world.store));
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
        RunThrough(dying, scenario.family);
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
        regtest::RecordingHost host;
        RestoreSettings(world.store, scenario.family, host);
        if (target == nullptr) {
            EXPECT_EQ(host.keys, std::vector<std::string>{"47"});
            EXPECT_EQ(regtest::SystemSnapshot(world.store), atFinish);
        } else {
            EXPECT_EQ(host.keys, std::vector<std::string>{"42"});
            EXPECT_EQ(regtest::SystemSnapshot(world.store), *target)
                << regtest::Difference(*target, regtest::SystemSnapshot(world.store));
        }
        EXPECT_FALSE(BackupExists(world.store));
        EXPECT_FALSE(
            regtest::KeyExists(world.store, reg::kCurrentUser, catalogue::kPendingBackupKey));
    }
}

INSTANTIATE_TEST_SUITE_P(All, FaultInjection,
                         ::testing::Values(Scenario{Win9x, false}, Scenario{Win9x, true},
                                           Scenario{WinNT, false}, Scenario{WinNT, true}),
                         Name);

}  // namespace
