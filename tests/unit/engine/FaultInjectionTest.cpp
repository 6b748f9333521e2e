// Capture, apply and restore with each single registry operation failing in turn.
#include <gtest/gtest.h>
#include <string>

#include "engine/Engine.h"
#include "engine/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using regtest::Snapshot;

void Seed(RegistryStore& store, PlatformFamily family) {
    family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
}

const TuningValues kChosen{1, 1, 0, 1500, 1460, 64240, 64, 7200000, 1000, 2, 20, 20};

// HKEY_LOCAL_MACHINE only: the stack, adapter and interface values whose
// failure the user must hear about (the browser's are passed over).
Snapshot MachineValues(const Snapshot& all) {
    Snapshot machine;
    for (const auto& [name, value] : all) {
        if (name.rfind("HKLM\\", 0) == 0) machine.emplace(name, value);
    }
    return machine;
}

struct Outcome {
    Snapshot afterApply;
    std::vector<regtest::RecordingHost::Message> applyMessages, restoreMessages;
};

class FaultInjection : public ::testing::TestWithParam<PlatformFamily> {
protected:
    // Runs the three phases on `store`, through `faulty` when given.
    Outcome Run(RegistryStore& store, RegistryStore& via) {
        Outcome outcome;
        TuningValues inForce;
        FoundFlags found;
        regtest::RecordingHost applyHost, restoreHost;
        CaptureSettings(via, GetParam(), inForce, found);
        ApplySettings(via, GetParam(), kChosen, true, applyHost);
        outcome.afterApply = regtest::SystemSnapshot(store);
        RestoreSettings(via, GetParam(), restoreHost);
        outcome.applyMessages = applyHost.messages;
        outcome.restoreMessages = restoreHost.messages;
        return outcome;
    }
};

TEST_P(FaultInjection, EverySingleFailureIsSurvivedReportedAndRecoverable) {
    const PlatformFamily family = GetParam();
    MemoryRegistryStore cleanStore;
    Seed(cleanStore, family);
    const Snapshot before = regtest::SystemSnapshot(cleanStore);
    regtest::FaultInjectingStore counter(cleanStore, -1);
    const Outcome clean = Run(cleanStore, counter);
    ASSERT_EQ(regtest::SystemSnapshot(cleanStore), before);
    const long total = counter.operations();
    ASSERT_GT(total, 50);

    long captureFaults = 0, applyFaults = 0, restoreFaults = 0, errorsShown = 0;
    for (long n = 0; n < total; ++n) {
        MemoryRegistryStore store;
        Seed(store, family);
        regtest::FaultInjectingStore faulty(store, n);
        TuningValues inForce;
        FoundFlags found;
        regtest::RecordingHost applyHost, restoreHost;
        EXPECT_NO_THROW(CaptureSettings(faulty, family, inForce, found));
        const bool inCapture = faulty.fired();
        EXPECT_NO_THROW(ApplySettings(faulty, family, kChosen, true, applyHost));
        const bool inApply = faulty.fired() && !inCapture;
        const Snapshot afterApply = regtest::SystemSnapshot(store);
        EXPECT_NO_THROW(RestoreSettings(faulty, family, restoreHost));
        const bool inRestore = faulty.fired() && !inCapture && !inApply;
        SCOPED_TRACE("operation " + std::to_string(n) + ": " + faulty.firedOperation());

        ASSERT_EQ(applyHost.messages.size(), 1u);
        ASSERT_EQ(restoreHost.messages.size(), 1u);
        EXPECT_EQ(store.OpenHandleCount(), 0u);
        const bool applyFailed = applyHost.messages[0].kind == MessageKind::Error;
        const bool restoreFailed = restoreHost.messages[0].kind == MessageKind::Error;
        errorsShown += applyFailed + restoreFailed;

        if (inCapture) {
            // The backup may be short of a value; nothing more can be promised
            // than surviving and saying something once per phase.
            ++captureFaults;
            continue;
        }
        if (inApply) {
            ++applyFaults;
            // A machine value left unwritten must be reported; "41" means all were written.
            const bool complete = MachineValues(afterApply) == MachineValues(clean.afterApply);
            if (!complete) {
                EXPECT_TRUE(applyFailed);
            }
            if (!applyFailed) {
                EXPECT_TRUE(complete);
            }
        } else {
            EXPECT_FALSE(applyFailed);
        }
        if (inRestore) {
            ++restoreFaults;
        } else {
            EXPECT_FALSE(restoreFailed);
        }

        if (!restoreFailed) {
            // "42": everything is back as it was.
            EXPECT_EQ(regtest::SystemSnapshot(store), before)
                << regtest::Difference(before, regtest::SystemSnapshot(store));
        } else {
            // A failed restore keeps the backup, and the next Reset completes it.
            EXPECT_TRUE(BackupExists(store));
            regtest::RecordingHost again;
            RestoreSettings(store, family, again);
            ASSERT_EQ(again.messages.size(), 1u);
            EXPECT_EQ(again.messages[0].kind, MessageKind::Plain);
            EXPECT_EQ(regtest::SystemSnapshot(store), before)
                << regtest::Difference(before, regtest::SystemSnapshot(store));
        }
    }
    EXPECT_GT(captureFaults, 0);
    EXPECT_GT(applyFaults, 0);
    EXPECT_GT(restoreFaults, 0);
    EXPECT_GT(errorsShown, 0);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, FaultInjection, ::testing::Values(Win9x, WinNT));

}  // namespace
