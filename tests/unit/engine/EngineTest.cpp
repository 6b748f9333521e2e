// Capture, apply and restore on the memory store: the catalogue's edge cases and the five mends.
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;
using Outcome = engine::Outcome;

using namespace catalogue;
using regtest::Binary;
using regtest::Dword;
using regtest::Get;
using regtest::Put;
using regtest::Text;

const std::string kInterfaces = kInterfacesKey;
const std::string kAdapter = std::string(kNetTransKeyPrefix) + "0002";

class EngineTest : public ::testing::Test {
protected:
    void Capture(PlatformFamily family) { regtest::Capture(store, family, inForce, found); }
    void Apply(PlatformFamily family, bool boost = false) {
        last = regtest::Finish(store, family, chosen, boost).outcome;
    }
    void Restore(PlatformFamily family) {
        last = RestoreSettings(store, regtest::TypicalRelease(family)).outcome;
    }

    std::optional<reg::Value> StackValue(PlatformFamily family, const char* name) {
        return Get(store, reg::kLocalMachine, Stack(family).path, name);
    }
    std::optional<reg::Value> Backup(const char* name, const char* key = kBackupKey) {
        return Get(store, reg::kCurrentUser, key, name);
    }
    // The dial-up adapter of SeedWin9xSystem without its other entries.
    void SeedDialUpAdapter(const char* binding = "MSTCP\\0001") {
        Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001", "DeviceDesc",
            Text("Dial-Up Adapter"));
        Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001\\Bindings", binding,
            Text(""));
        Put(store, reg::kLocalMachine,
            std::string(kEnumMstcpKeyPrefix) + std::string(binding).substr(6), "Driver",
            Text("NetTrans\\0002"));
        Put(store, reg::kLocalMachine, kAdapter, "IPAddress", Text("0.0.0.0"));
    }

    MemoryRegistryStore store;
    Outcome last = Outcome::NotRestored;  // of the latest Finish or Reset
    TuningValues inForce, chosen;
    FoundFlags found;
};

TEST(TextEncoding, WritesDecimalWithOneNulAndReadsLikeTheOldRuntime) {
    EXPECT_EQ(EncodeText(-1), (std::vector<std::uint8_t>{'-', '1', 0}));
    EXPECT_EQ(EncodeText(128), (std::vector<std::uint8_t>{'1', '2', '8', 0}));
    const struct {
        const char* text;
        std::size_t size;
        std::int32_t number;
    } cases[] = {
        {"-1", 3, -1},
        {"0042", 5, 42},
        {"12abc", 6, 12},
        {"abc", 4, 0},
        {"", 1, 0},
        {" \t+7", 5, 7},
        {"- 5", 4, 0},
        {"64", 2, 64},
        {"99999999999", 12, 2147483647},
        {"-99999999999", 13, -2147483647 - 1},
        {"2147483647", 11, 2147483647},
        {"-2147483648", 12, -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeText(reinterpret_cast<const std::uint8_t*>(c.text), c.size), c.number)
            << c.text;
    }
    // Digits stop at the end of the data even without a NUL.
    const std::uint8_t unterminated[] = {'1', '2'};
    EXPECT_EQ(DecodeText(unterminated, 1), 1);
}

// Backups made by earlier versions live under these keys and must still restore.
TEST(CatalogueOrder, BackupKeysKeepTheNamesEarlierVersionsWrote) {
    EXPECT_STREQ(kProductKey, "Software\\Vornel");
    EXPECT_STREQ(kBackupKey, "Software\\Vornel\\Original Settings");
    EXPECT_STREQ(kMtuBackupKey, "Software\\Vornel\\Original Settings\\MTU Settings");
    EXPECT_STREQ(kMssBackupKey, "Software\\Vornel\\Original Settings\\MSS Settings");
    EXPECT_STREQ(kInterfacesBackupKey, "Software\\Vornel\\Original Settings\\Interfaces");
    EXPECT_STREQ(kPendingBackupKey, "Software\\Vornel\\New Backup");
}

TEST(CatalogueOrder, NtStackStepsFollowTheirOwnOrders) {
    auto names = [](Step step) {
        std::string joined;
        for (const CatalogueValue* v : InOrder(Stack(WinNT), step))
            joined += std::string(v->name) + ",";
        return joined;
    };
    EXPECT_EQ(names(Step::Capture),
              "SackOpts,Tcp1323Opts,GlobalMaxTcpWindowSize,TcpMaxDupAcks,DefaultTTL,TcpWindowSize,"
              "DefaultReceiveWindow,EnablePMTUBHDetect,EnablePMTUDiscovery,KeepAliveTime,"
              "KeepAliveInterval,SYNAttackProtect,EnableICMPRedirects,EnableICMPRedirect,");
    EXPECT_EQ(names(Step::Apply),
              "SackOpts,Tcp1323Opts,TcpMaxDupAcks,DefaultTTL,DefaultReceiveWindow,TcpWindowSize,"
              "GlobalMaxTcpWindowSize,EnablePMTUBHDetect,EnablePMTUDiscovery,KeepAliveTime,"
              "KeepAliveInterval,SYNAttackProtect,EnableICMPRedirects,EnableICMPRedirect,");
    EXPECT_EQ(names(Step::Restore),
              "SackOpts,Tcp1323Opts,TcpWindowSize,GlobalMaxTcpWindowSize,TcpMaxDupAcks,DefaultTTL,"
              "DefaultReceiveWindow,EnablePMTUBHDetect,EnablePMTUDiscovery,KeepAliveTime,"
              "KeepAliveInterval,SYNAttackProtect,EnableICMPRedirects,EnableICMPRedirect,");
}

// ---- Capture ----

TEST_F(EngineTest, Win9xTextsReadAsNumbersAndCountAsFoundWhateverTheyHold) {
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultTTL", Text("0042"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultRcvWindow", Text("12abc"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "PMTUDiscovery", Text("abc"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "PMTUBlackHoleDetect", Text(""));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "KeepAliveTime", Text(std::string(259, '9')));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "KeepAliveInterval",
        Text(std::string(260, '1')));
    Capture(Win9x);
    EXPECT_EQ(inForce.ttl, 42);
    EXPECT_EQ(inForce.rwin, 12);
    EXPECT_EQ(inForce.pmtuDiscovery, 0);
    EXPECT_TRUE(found.ttlFound && found.rwinFound && found.pmtuDiscoveryFound &&
                found.pmtuBlackHoleDetectFound);
    EXPECT_TRUE(found.keepAliveTimeFound);       // 259 characters and the NUL fit 260 bytes
    EXPECT_FALSE(found.keepAliveIntervalFound);  // 261 bytes do not
    Apply(Win9x);                                // Finish backs up what is in force
    EXPECT_EQ(Backup("DefaultTTL"), Text("0042"));
    EXPECT_EQ(Backup("KeepAliveInterval"), Text(std::string(260, '1')));  // backed up all the same
    EXPECT_FALSE(found.icmpRedirectsFound || found.synAttackProtectFound || found.mtuFound);
}

TEST_F(EngineTest, NtNumbersFitFourBytesAndShortDataFillsTheLowBytes) {
    Put(store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", Dword(128));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "KeepAliveTime", {reg::kDword, {1, 2, 3, 4, 5}});
    Put(store, reg::kLocalMachine, kWinNtStackKey, "TcpWindowSize", Text("17520"));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "SYNAttackProtect", Text("2"));
    Capture(WinNT);
    EXPECT_EQ(inForce.ttl, 128);
    EXPECT_TRUE(found.ttlFound);
    EXPECT_FALSE(found.keepAliveTimeFound);
    EXPECT_FALSE(found.rwinFound);
    EXPECT_TRUE(found.synAttackProtectFound);
    EXPECT_EQ(inForce.synAttackProtect, '2');
    // The backup holds each value with its own type and exact data, not the
    // number the program read from it.
    Apply(WinNT);
    EXPECT_EQ(Backup("DefaultTTL"), Dword(128));
    EXPECT_EQ(Backup("KeepAliveTime"), (reg::Value{reg::kDword, {1, 2, 3, 4, 5}}));
    EXPECT_EQ(Backup("TcpWindowSize"), Text("17520"));
    EXPECT_FALSE(Backup("SackOpts"));
}

TEST_F(EngineTest, NtInterfacesGiveTheLastMtuInEnumerationOrder) {
    Put(store, reg::kLocalMachine, kInterfaces + "\\{AAAA}", "MTU", Dword(1500));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{bbbb}", "MTU", Dword(576));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{CCCC}", "EnableDHCP", Dword(1));
    Capture(WinNT);
    EXPECT_EQ(inForce.mtu, 576);
    EXPECT_TRUE(found.mtuFound);
    EXPECT_FALSE(found.mssFound);
    Apply(WinNT);
    EXPECT_EQ(Backup("{AAAA}", kMtuBackupKey), Dword(1500));
    EXPECT_EQ(Backup("{bbbb}", kMtuBackupKey), Dword(576));
    EXPECT_EQ(regtest::ValueNames(store, reg::kCurrentUser, kMssBackupKey).size(), 0u);
    // Every interface is on the list, with or without values of its own.
    EXPECT_EQ(regtest::ValueNames(store, reg::kCurrentUser, kInterfacesBackupKey),
              (std::vector<std::string>{"{AAAA}", "{bbbb}", "{CCCC}"}));
}

TEST_F(EngineTest, NtWithoutInterfacesStillMakesBothEmptyBackupKeys) {
    Put(store, reg::kLocalMachine, kInterfaces, "x", Dword(0));
    Capture(WinNT);
    Apply(WinNT);
    EXPECT_TRUE(regtest::KeyExists(store, reg::kCurrentUser, kMtuBackupKey));
    EXPECT_TRUE(regtest::KeyExists(store, reg::kCurrentUser, kMssBackupKey));
    EXPECT_TRUE(regtest::ValueNames(store, reg::kCurrentUser, kMtuBackupKey).empty());
    EXPECT_FALSE(found.mtuFound || found.mssFound);
}

TEST_F(EngineTest, Win9xAdapterIsFoundThroughItsBindingAndDriver) {
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0000", "DeviceDesc",
        Text("dial-up adapter"));  // differs in case only: not the one
    SeedDialUpAdapter("MSTCP\\0002");
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001\\Bindings",
        "NWLINK\\0000", Text(""));
    Put(store, reg::kLocalMachine, kAdapter, "MaxMSS", Text("1460"));
    Capture(Win9x);
    Apply(Win9x);
    // No "MaxMTU": "0" records the adapter; "MaxMSS" is backed up as it is.
    EXPECT_EQ(Backup("0002", kMtuBackupKey), Text("0"));
    EXPECT_EQ(Backup("0002", kMssBackupKey), Text("1460"));
    EXPECT_FALSE(found.mtuFound);
    EXPECT_TRUE(found.mssFound);
    EXPECT_EQ(inForce.mss, 1460);
}

TEST_F(EngineTest, Win9xAdapterDescriptionMustMatchWithCase) {
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001", "DeviceDesc",
        Text("Dial-up Adapter"));
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001\\Bindings", "MSTCP\\0001",
        Text(""));
    Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "0001", "Driver",
        Text("NetTrans\\0002"));
    Put(store, reg::kLocalMachine, kAdapter, "MaxMTU", Text("576"));
    Capture(Win9x);
    EXPECT_FALSE(regtest::KeyExists(store, reg::kCurrentUser, kMtuBackupKey));
    EXPECT_FALSE(regtest::KeyExists(store, reg::kCurrentUser, kMssBackupKey));
    EXPECT_FALSE(found.mtuFound || found.mssFound);
    // And a run without an adapter writes no MTU or MSS anywhere.
    chosen.mtu = 1500;
    Apply(Win9x);
    EXPECT_EQ(Get(store, reg::kLocalMachine, kAdapter, "MaxMTU"), Text("576"));
    EXPECT_FALSE(Get(store, reg::kLocalMachine, kAdapter, "MaxMSS"));
}

TEST_F(EngineTest, Win9xNeverTouchesTheNtOnlyValues) {
    for (const char* name : {"SYNAttackProtect", "EnableICMPRedirects", "EnableICMPRedirect",
                             "TcpMaxDupAcks", "DefaultReceiveWindow"}) {
        Put(store, reg::kLocalMachine, kWin9xStackKey, name, Text("5"));
    }
    const regtest::Snapshot before = regtest::SystemSnapshot(store);
    Capture(Win9x);
    for (const char* name : {"SYNAttackProtect", "EnableICMPRedirects", "TcpMaxDupAcks"}) {
        EXPECT_FALSE(Backup(name)) << name;
    }
    chosen.synAttackProtect = 2;
    chosen.icmpRedirects = 1;
    Apply(Win9x);
    for (const char* name : {"SYNAttackProtect", "EnableICMPRedirects", "EnableICMPRedirect",
                             "TcpMaxDupAcks", "DefaultReceiveWindow"}) {
        EXPECT_EQ(StackValue(Win9x, name), Text("5")) << name;
    }
    Restore(Win9x);
    EXPECT_EQ(regtest::SystemSnapshot(store), before);
    EXPECT_FALSE(found.icmpRedirectsFound || found.synAttackProtectFound);
}

// The wizard opening reads; only Finish replaces the backup, with what is in force then.
TEST_F(EngineTest, OpeningWritesNothingAndFinishBacksUpWhatIsInForceThen) {
    regtest::SeedWinNtSystem(store);
    const regtest::Snapshot untouched = regtest::WholeSnapshot(store);
    regtest::FaultInjectingStore logged(store, -1);
    logged.KeepLog();
    regtest::Capture(logged, WinNT, inForce, found);
    for (const std::string& operation : logged.log()) {
        EXPECT_TRUE(operation.rfind("open ", 0) == 0 || operation.rfind("read ", 0) == 0 ||
                    operation.rfind("enumerate", 0) == 0 || operation.rfind("key info", 0) == 0)
            << operation;
    }
    EXPECT_EQ(regtest::WholeSnapshot(store), untouched);
    EXPECT_FALSE(BackupExists(store));

    Put(store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", Dword(99));
    chosen.ttl = 64;
    Apply(WinNT);
    EXPECT_EQ(Backup("DefaultTTL"), Dword(99));
    EXPECT_EQ(Backup(kBackupCompleteValue), Dword(1));
    EXPECT_EQ(regtest::ValueNames(store, reg::kCurrentUser, kInterfacesBackupKey),
              (std::vector<std::string>{"{A9F0}", "{B0A1}", "{C2D3}"}));
    EXPECT_FALSE(regtest::KeyExists(store, reg::kCurrentUser, kPendingBackupKey));
    const regtest::Snapshot applied = regtest::SystemSnapshot(store);
    chosen.ttl = 32;
    Apply(WinNT);  // a second run: the applied values are the backup now
    Restore(WinNT);
    EXPECT_EQ(regtest::SystemSnapshot(store), applied);
}

// ---- Apply ----

TEST_F(EngineTest, NtApplyWritesTheCatalogueWithConstants) {
    regtest::SeedWinNtSystem(store);
    Capture(WinNT);
    chosen = {1, 0, 1, 1492, 1452, 64240, 64, 7200000, 1000, 2, 20, 16};
    Apply(WinNT);
    const std::pair<const char*, std::uint32_t> expected[] = {
        {"SackOpts", 1},
        {"Tcp1323Opts", 1},
        {"TcpMaxDupAcks", 2},
        {"DefaultTTL", 64},
        {"DefaultReceiveWindow", 8192},
        {"TcpWindowSize", 64240},
        {"GlobalMaxTcpWindowSize", 64240},
        {"EnablePMTUBHDetect", 0},
        {"EnablePMTUDiscovery", 1},
        {"KeepAliveTime", 7200000},
        {"KeepAliveInterval", 1000},
        {"SYNAttackProtect", 2},
        {"EnableICMPRedirects", 1},
        {"EnableICMPRedirect", 1},  // NT 4.0 reads the plural, 2000 and later this one
    };
    for (const auto& [name, number] : expected) {
        EXPECT_EQ(StackValue(WinNT, name), Dword(number)) << name;
    }
    for (const std::string& name : regtest::SubKeys(store, reg::kLocalMachine, kInterfaces)) {
        EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\" + name, "MTU"), Dword(1492));
        EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\" + name, "MSS"), Dword(1452));
    }
    EXPECT_EQ(Get(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPer1_0Server"), Dword(20));
    EXPECT_EQ(Get(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPerServer"), Dword(16));
    EXPECT_EQ(last, Outcome::Applied);
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST_F(EngineTest, Win9xApplyWritesTextIntoStackAndAdapter) {
    SeedDialUpAdapter();
    Capture(Win9x);
    chosen.ttl = 128;
    chosen.rwin = -1;
    chosen.mtu = 576;
    chosen.mss = 536;
    Apply(Win9x);
    EXPECT_EQ(StackValue(Win9x, "DefaultTTL"), Text("128"));
    EXPECT_EQ(StackValue(Win9x, "DefaultTTL")->data.size(), 4u);
    EXPECT_EQ(StackValue(Win9x, "DefaultRcvWindow"), Text("-1"));
    EXPECT_EQ(StackValue(Win9x, "GlobalMaxTcpWindowSize"), Text("-1"));
    EXPECT_EQ(StackValue(Win9x, "SackOpts"), Text("1"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kAdapter, "MaxMTU"), Text("576"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kAdapter, "MaxMSS"), Text("536"));
    // No browser key: the counts are skipped, not created, and success is still reported.
    EXPECT_FALSE(regtest::KeyExists(store, reg::kCurrentUser, kBrowserKey));
    EXPECT_EQ(last, Outcome::Applied);
}

TEST_F(EngineTest, ModemBoostComesBeforeAnyOtherWrite) {
    regtest::SeedWinNtSystem(store);
    Capture(WinNT);
    regtest::FaultInjectingStore logged(store, -1);
    logged.KeepLog();
    regtest::Finish(logged, WinNT, chosen, true);
    // The backup is made first; the boost follows before anything of the system's.
    const auto& log = logged.log();
    const std::string backupDone = std::string("delete key ") + kPendingBackupKey;
    const auto system = std::find(log.rbegin(), log.rend(), backupDone).base();
    ASSERT_NE(system, log.begin());
    const auto firstWrite = std::find_if(
        system, log.end(), [](const std::string& entry) { return entry.rfind("write ", 0) == 0; });
    ASSERT_NE(firstWrite, log.end());
    EXPECT_EQ(*firstWrite, "write Properties");
}

// A failed write is reported as such (44), never as the success message (41).
TEST_F(EngineTest, ApplyThatCannotWriteAnInterfaceShowsTheErrorMessage) {
    MemoryRegistryStore twin;
    regtest::SeedWinNtSystem(twin);
    regtest::FaultInjectingStore logged(twin, -1);
    logged.KeepLog();
    regtest::Finish(logged, WinNT, chosen, false);
    const auto& log = logged.log();
    const auto mss = std::find(log.begin(), log.end(), "write MSS");
    ASSERT_NE(mss, log.end());
    regtest::SeedWinNtSystem(store);
    regtest::FaultInjectingStore faulty(store, mss - log.begin());
    EXPECT_EQ(regtest::Finish(faulty, WinNT, chosen, false).outcome, Outcome::PartlyApplied);
}

// A user without administrator rights reads the system's values as they are,
// and is told before anything is written, the earlier backup included.
TEST_F(EngineTest, WithoutRightsEverythingIsReadAndNothingWritten) {
    for (PlatformFamily family : {WinNT, Win9x}) {
        SCOPED_TRACE(family);
        MemoryRegistryStore limited;
        family == WinNT ? regtest::SeedWinNtSystem(limited) : regtest::SeedWin9xSystem(limited);
        Put(limited, reg::kCurrentUser, kBackupKey, "DefaultTTL", Dword(100));
        ASSERT_TRUE(limited.DenyWrites(reg::kLocalMachine, ""));
        const regtest::Snapshot before = regtest::WholeSnapshot(limited);

        TuningValues values;
        FoundFlags flags;
        regtest::Capture(limited, family, values, flags);
        EXPECT_TRUE(flags.ttlFound);
        EXPECT_TRUE(ProbeModemPortSpeed(limited, family));
        if (family == Win9x) {
            EXPECT_TRUE(flags.mtuFound);
        } else {
            EXPECT_TRUE(flags.mssFound);
        }

        EXPECT_FALSE(MayChangeSettings(limited, family));
        EXPECT_EQ(regtest::Finish(limited, family, chosen, true).outcome, Outcome::NeedsRights);
        const Result reset = RestoreSettings(limited, regtest::TypicalRelease(family));
        EXPECT_EQ(reset.outcome, Outcome::NeedsRights);
        EXPECT_TRUE(reset.backupRemains);
        EXPECT_EQ(regtest::WholeSnapshot(limited), before);
        EXPECT_EQ(limited.OpenHandleCount(), 0u);
    }
    // On a system whose stack key is yet to be made, nothing tells; the write does.
    EXPECT_TRUE(MayChangeSettings(store, WinNT));
}

TEST_F(EngineTest, Win9xWithoutDialUpAdapterOrBrowserKeyStaysSilent) {
    Capture(Win9x);
    Apply(Win9x);
    EXPECT_EQ(last, Outcome::Applied);
}

// Windows NT 4.0 reads the MTU of each bound adapter, and RAS its own for dial-up links;
// an adapter TCP/IP is not bound to, and the connections over no dial-up link, are left alone.
TEST(Nt4Links, TakeTheMtuFromEachBoundAdapterAndRasItsOwn) {
    const std::string services = std::string(kServicesKey) + "\\";
    for (ConnectionType type : {DialUp, DSL, LAN, CableModem}) {
        SCOPED_TRACE(type);
        MemoryRegistryStore store;
        const auto adapterMtu = [&](const char* adapter) {
            return Get(store, reg::kLocalMachine, services + AdapterKeyBelowServices(adapter),
                       "MTU");
        };
        regtest::SeedWinNtSystem(store);
        regtest::BindAdapter(store, "Lance02", Dword(576));
        TuningValues inForce, chosen;
        FoundFlags found;
        CaptureSettings(store, WindowsRelease::WinNT4, inForce, found);
        EXPECT_TRUE(found.mtuFound);
        EXPECT_EQ(inForce.mtu, 576);  // the smallest, not the interfaces' 1500
        const regtest::Snapshot before = regtest::SystemSnapshot(store);

        chosen.mtu = 9000;
        EXPECT_EQ(ApplySettings(store, WindowsRelease::WinNT4, chosen, type, false).outcome,
                  Outcome::Applied);
        for (const char* bound : {"El90x1", "NdisWan4", "Lance02"}) {
            EXPECT_EQ(adapterMtu(bound), Dword(9000)) << bound;
        }
        EXPECT_EQ(adapterMtu("Lance01"), Dword(1400));
        EXPECT_FALSE(
            Get(store, reg::kLocalMachine, services + AdapterKeyBelowServices("El90x1"), "MSS"));
        const bool overRas = type == DialUp || type == DSL;
        EXPECT_EQ(Get(store, reg::kLocalMachine, kNdisWanParametersKey, "IPMTU"),
                  overRas ? std::optional(Dword(1500)) : std::nullopt);
        EXPECT_EQ(Get(store, reg::kLocalMachine, kAfdParametersKey, "DefaultReceiveWindow"),
                  Dword(8192));

        EXPECT_EQ(RestoreSettings(store, WindowsRelease::WinNT4).outcome, Outcome::Restored);
        EXPECT_EQ(regtest::SystemSnapshot(store), before)
            << regtest::Difference(before, regtest::SystemSnapshot(store));
        EXPECT_FALSE(regtest::KeyExists(store, reg::kLocalMachine, kAfdParametersKey));
    }
}

// Windows 95 scales its receive window once the Windows Sockets 2 update has put its
// service key in place; NT 4.0 never does; every other release always.
TEST(WindowScalingOf, EachReleaseAndTheWindows95Update) {
    MemoryRegistryStore store;
    for (bool update : {false, true}) {
        if (update) Put(store, reg::kLocalMachine, kWinsock2Key, "Setup", Dword(1));
        EXPECT_EQ(WindowScaling(store, WindowsRelease::Win95), update);
        EXPECT_FALSE(WindowScaling(store, WindowsRelease::WinNT4));
        for (WindowsRelease scaled : {WindowsRelease::Win98, WindowsRelease::WinMe,
                                      WindowsRelease::Win2000, WindowsRelease::WinXP}) {
            EXPECT_TRUE(WindowScaling(store, scaled));
        }
    }
}

// ---- Restore ----

TEST_F(EngineTest, RestoreDeletesWhatWasAbsentAndTouchesOnlyRecordedInterfaces) {
    Put(store, reg::kLocalMachine, kWinNtStackKey, "Hostname", Text("desk"));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{OLD}", "MTU", Dword(1400));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{GONE}", "MTU", Dword(1300));
    Capture(WinNT);
    chosen.ttl = 64;
    Apply(WinNT);
    reg::DeleteTree(store, reg::kLocalMachine, (kInterfaces + "\\{GONE}").c_str());
    Put(store, reg::kLocalMachine, kInterfaces + "\\{NEW}", "MTU", Dword(9000));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{NEW}", "MSS", Dword(8960));
    Restore(WinNT);
    EXPECT_EQ(last, Outcome::Restored);
    EXPECT_FALSE(StackValue(WinNT, "DefaultTTL"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\{OLD}", "MTU"), Dword(1400));
    EXPECT_FALSE(Get(store, reg::kLocalMachine, kInterfaces + "\\{OLD}", "MSS"));
    // An interface added since (a VPN, a new card) is none of the backup's business.
    EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\{NEW}", "MTU"), Dword(9000));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\{NEW}", "MSS"), Dword(8960));
    EXPECT_FALSE(BackupExists(store));

    // A second Reset finds no backup, says so, and changes nothing.
    const regtest::Snapshot after = regtest::SystemSnapshot(store);
    Restore(WinNT);
    EXPECT_EQ(last, Outcome::NotRestored);
    EXPECT_EQ(regtest::SystemSnapshot(store), after);
}

TEST_F(EngineTest, Win9xPlaceholderDeletesMaxMtuAndMssFollowsItsBackup) {
    SeedDialUpAdapter();
    Put(store, reg::kLocalMachine, kAdapter, "MaxMSS", Text("1460"));
    Capture(Win9x);
    chosen.mtu = 1500;
    chosen.mss = 1460 - 40;
    Apply(Win9x);
    Restore(Win9x);
    EXPECT_FALSE(Get(store, reg::kLocalMachine, kAdapter, "MaxMTU"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kAdapter, "MaxMSS"), Text("1460"));

    // Without "MaxMSS" in the backup, Reset deletes it.
    store.DeleteValue(reg::OpenForWrite(store, reg::kLocalMachine, kAdapter.c_str()).get(),
                      "MaxMSS");
    Capture(Win9x);
    Apply(Win9x);
    Restore(Win9x);
    EXPECT_FALSE(Get(store, reg::kLocalMachine, kAdapter, "MaxMSS"));
}

// Values of any type and size, not only the numbers the program writes, come back exactly.
TEST_F(EngineTest, RestoreBringsBackEveryValueExactlyWhateverItsTypeAndSize) {
    for (PlatformFamily family : {WinNT, Win9x}) {
        SCOPED_TRACE(family);
        MemoryRegistryStore fresh;
        family == WinNT ? regtest::SeedWinNtSystem(fresh) : regtest::SeedWin9xSystem(fresh);
        Put(fresh, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPer1_0Server",
            Binary(std::vector<std::uint8_t>(5000, 7)));
        Put(fresh, reg::kLocalMachine, Stack(family).path, "SackOpts", Text("1", false));
        Put(fresh, reg::kLocalMachine, Stack(family).path, "Tcp1323Opts",
            {reg::kMultiSz, {'a', 0, 0}});
        Put(fresh, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MSS", Binary({1, 2, 3, 4, 5, 6}));
        const regtest::Snapshot before = regtest::SystemSnapshot(fresh);
        regtest::Capture(fresh, family, inForce, found);
        chosen = {1, 1, 1, 1500, 1460, 65535, 128, 1, 1, 1, 8, 8};
        regtest::Finish(fresh, family, chosen, true);
        EXPECT_EQ(RestoreSettings(fresh, regtest::TypicalRelease(family)).outcome,
                  Outcome::Restored);
        EXPECT_EQ(regtest::SystemSnapshot(fresh), before)
            << regtest::Difference(before, regtest::SystemSnapshot(fresh));
        EXPECT_EQ(fresh.OpenHandleCount(), 0u);
    }
}

// A stack key that cannot be opened for the restore is reported, and the backup
// is kept for a later attempt instead of being deleted as if restored.
TEST_F(EngineTest, RestoreWithoutStackKeyReportsAndKeepsTheBackup) {
    regtest::SeedWinNtSystem(store);
    const regtest::Snapshot before = regtest::SystemSnapshot(store);
    Capture(WinNT);
    Apply(WinNT);
    // A whole restore, logged: the rights check opens the stack key first, the
    // restore's own opening is the last one. The same run again fails there.
    regtest::FaultInjectingStore once(store, -1);
    once.KeepLog();
    ASSERT_EQ(RestoreSettings(once, WindowsRelease::WinXP).outcome, Outcome::Restored);
    Apply(WinNT);
    const auto& log = once.log();
    const std::string stackOpen = std::string("open for write ") + kWinNtStackKey;
    const auto opened = std::find(log.rbegin(), log.rend(), stackOpen);
    ASSERT_NE(opened, log.rend());
    regtest::FaultInjectingStore faulty(store, static_cast<long>(log.rend() - opened) - 1);
    EXPECT_EQ(RestoreSettings(faulty, WindowsRelease::WinXP).outcome, Outcome::NotRestored);
    ASSERT_TRUE(faulty.fired());
    EXPECT_TRUE(BackupExists(store));
    Restore(WinNT);
    EXPECT_EQ(last, Outcome::Restored);
    EXPECT_EQ(regtest::SystemSnapshot(store), before);
}

// NT reads both ICMP redirect names; the singular one (Windows 2000 and later) wins when present.
TEST_F(EngineTest, IcmpRedirectValueInForceComesFromTheSingularNameFirst) {
    const struct {
        std::optional<std::uint32_t> plural, singular;
        bool found;
        std::int32_t value;
    } cases[] = {
        {std::nullopt, std::nullopt, false, 0},
        {0u, std::nullopt, true, 0},
        {1u, std::nullopt, true, 1},
        {std::nullopt, 1u, true, 1},
        {1u, 0u, true, 0},
        {0u, 1u, true, 1},
    };
    for (const auto& c : cases) {
        MemoryRegistryStore fresh;
        Put(fresh, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", Dword(128));
        if (c.plural)
            Put(fresh, reg::kLocalMachine, kWinNtStackKey, "EnableICMPRedirects", Dword(*c.plural));
        if (c.singular)
            Put(fresh, reg::kLocalMachine, kWinNtStackKey, "EnableICMPRedirect",
                Dword(*c.singular));
        TuningValues values;
        FoundFlags flags;
        regtest::Capture(fresh, WinNT, values, flags);
        EXPECT_EQ(flags.icmpRedirectsFound, c.found);
        EXPECT_EQ(values.icmpRedirects, c.value);
        const regtest::Snapshot before = regtest::SystemSnapshot(fresh);
        TuningValues on;
        on.icmpRedirects = 1;
        regtest::Finish(fresh, WinNT, on, false);
        RestoreSettings(fresh, WindowsRelease::WinXP);
        EXPECT_EQ(regtest::SystemSnapshot(fresh), before);
    }
}

// A backup made before backups were marked complete restores as it always did,
// but a missing "MTU Settings" or "MSS Settings" recorded nothing to delete.
TEST_F(EngineTest, EarlierBackupsRestoreAndMissingSubkeysDeleteNothing) {
    Put(store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", Dword(64));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "SackOpts", Dword(1));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MTU", Dword(1492));
    Put(store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MSS", Dword(1452));
    Put(store, reg::kCurrentUser, kBackupKey, "DefaultTTL", Dword(128));
    Put(store, reg::kCurrentUser, kMtuBackupKey, "{B0A1}", Dword(1500));
    EXPECT_TRUE(BackupExists(store));
    Restore(WinNT);
    EXPECT_EQ(last, Outcome::Restored);
    EXPECT_EQ(StackValue(WinNT, "DefaultTTL"), Dword(128));
    EXPECT_FALSE(StackValue(WinNT, "SackOpts"));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MTU"), Dword(1500));
    EXPECT_EQ(Get(store, reg::kLocalMachine, kInterfaces + "\\{B0A1}", "MSS"), Dword(1452));
    EXPECT_FALSE(BackupExists(store));
}

TEST_F(EngineTest, BackupExistsFollowsTheBackupKey) {
    EXPECT_FALSE(BackupExists(store));
    Capture(WinNT);
    EXPECT_FALSE(BackupExists(store));
    Apply(WinNT);
    EXPECT_TRUE(BackupExists(store));
    Restore(WinNT);
    EXPECT_FALSE(BackupExists(store));
}

}  // namespace
