// Wizard runs and Resets on the real registry, inside a scratch key that stands in for both roots.
#include <gtest/gtest.h>

#include "e2e/Registry.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/Win32RegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;
using Outcome = engine::Outcome;

// Forwards to the real registry with HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER
// moved below HKCU\Software\VornelEngineTest, so tests touch nothing else.
class SandboxStore : public RegistryStore {
public:
    static constexpr const char* kSandbox = "Software\\VornelEngineTest";

    SandboxStore() {
        reg::DeleteTree(m_real, reg::kCurrentUser, kSandbox);
        m_machine = reg::Create(m_real, reg::kCurrentUser, "Software\\VornelEngineTest\\HKLM");
        m_user = reg::Create(m_real, reg::kCurrentUser, "Software\\VornelEngineTest\\HKCU");
    }
    ~SandboxStore() override {
        m_machine.Close();
        m_user.Close();
        reg::DeleteTree(m_real, reg::kCurrentUser, kSandbox);
    }
    bool ready() const { return m_machine && m_user; }

    reg::Status OpenKey(reg::Key parent, const char* path, reg::Access access,
                        reg::Key* result) override {
        return m_real.OpenKey(Map(parent), path, access, result);
    }
    reg::Status CreateKey(reg::Key parent, const char* path, reg::Key* result) override {
        return m_real.CreateKey(Map(parent), path, result);
    }
    reg::Status CloseKey(reg::Key key) override {
        return key == reg::kCurrentUser || key == reg::kLocalMachine ? reg::kSuccess
                                                                     : m_real.CloseKey(key);
    }
    reg::Status QueryValue(reg::Key key, const char* name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) override {
        return m_real.QueryValue(Map(key), name, type, data, size);
    }
    reg::Status SetValue(reg::Key key, const char* name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override {
        return m_real.SetValue(Map(key), name, type, data, size);
    }
    reg::Status DeleteValue(reg::Key key, const char* name) override {
        return m_real.DeleteValue(Map(key), name);
    }
    reg::Status EnumKey(reg::Key key, std::uint32_t index, char* name,
                        std::uint32_t* nameLength) override {
        return m_real.EnumKey(Map(key), index, name, nameLength);
    }
    reg::Status EnumValue(reg::Key key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                          std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        return m_real.EnumValue(Map(key), index, name, nameLength, type, data, size);
    }
    reg::Status QueryInfoKey(reg::Key key, reg::KeyInfo* info) override {
        return m_real.QueryInfoKey(Map(key), info);
    }
    reg::Status DeleteKey(reg::Key parent, const char* path) override {
        return m_real.DeleteKey(Map(parent), path);
    }

private:
    reg::Key Map(reg::Key key) const {
        if (key == reg::kLocalMachine) return m_machine.get();
        if (key == reg::kCurrentUser) return m_user.get();
        return key;
    }

    Win32RegistryStore m_real;
    reg::ScopedKey m_machine, m_user;
};

class RealRegistry : public ::testing::TestWithParam<PlatformFamily> {};

TEST_P(RealRegistry, AWizardRunAndResetPutEveryValueBackExactly) {
    const PlatformFamily family = GetParam();
    SandboxStore store;
    ASSERT_TRUE(store.ready());
    family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
    regtest::Put(store, reg::kLocalMachine, catalogue::Stack(family).path, "SackOpts",
                 regtest::Text("1", false));
    const regtest::Snapshot before = regtest::SystemSnapshot(store);

    TuningValues inForce;
    FoundFlags found;
    regtest::Capture(store, family, inForce, found);
    EXPECT_FALSE(BackupExists(store)) << "opening the wizard made a backup";
    EXPECT_TRUE(found.ttlFound);
    EXPECT_EQ(inForce.ttl, family == WinNT ? 128 : 32);
    const TuningValues chosen{1, 1, 1, 1500, 1460, 64240, 64, 7200000, 1000, 2, 20, 20};
    EXPECT_EQ(regtest::Finish(store, family, chosen, ProbeModemPortSpeed(store, family)).outcome,
              Outcome::Applied);
    EXPECT_EQ(regtest::Get(store, reg::kLocalMachine, catalogue::Stack(family).path, "DefaultTTL"),
              EncodeValue(catalogue::Stack(family).encoding, 64));
    EXPECT_FALSE(ProbeModemPortSpeed(store, family));  // boosted
    EXPECT_TRUE(BackupExists(store));

    EXPECT_EQ(RestoreSettings(store, regtest::TypicalRelease(family)).outcome, Outcome::Restored);
    EXPECT_EQ(regtest::SystemSnapshot(store), before)
        << regtest::Difference(before, regtest::SystemSnapshot(store));
    EXPECT_FALSE(BackupExists(store));

    const Result again = RestoreSettings(store, regtest::TypicalRelease(family));
    EXPECT_EQ(again.outcome, Outcome::NotRestored);
    EXPECT_FALSE(again.backupRemains);
}

// Without the right to change the system's keys nothing is written, not even the
// backup, and the user is told why.
TEST_P(RealRegistry, WithoutRightsNothingIsWrittenAndTheEarlierBackupStays) {
    const PlatformFamily family = GetParam();
    SandboxStore store;
    ASSERT_TRUE(store.ready());
    family == WinNT ? regtest::SeedWinNtSystem(store) : regtest::SeedWin9xSystem(store);
    regtest::Put(store, reg::kCurrentUser, catalogue::kBackupKey, "DefaultTTL",
                 regtest::Dword(100));
    const regtest::Snapshot before = regtest::WholeSnapshot(store);
    {
        const e2e::WritesDenied limited(HKEY_CURRENT_USER,
                                        std::string(SandboxStore::kSandbox) + "\\HKLM");
        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(store, family, inForce, found);
        EXPECT_TRUE(found.ttlFound);
        EXPECT_TRUE(ProbeModemPortSpeed(store, family));
        EXPECT_EQ(regtest::Finish(store, family, TuningValues{}, true).outcome,
                  Outcome::NeedsRights);
        EXPECT_EQ(RestoreSettings(store, regtest::TypicalRelease(family)).outcome,
                  Outcome::NeedsRights);
        EXPECT_EQ(regtest::WholeSnapshot(store), before)
            << regtest::Difference(before, regtest::WholeSnapshot(store));
    }
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, RealRegistry, ::testing::Values(Win9x, WinNT));

}  // namespace
