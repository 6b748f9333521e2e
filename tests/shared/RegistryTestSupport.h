// Test helpers over any RegistryStore: seeding, snapshots, a recording host, fault injection.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/RegistryStore.h"

namespace reg {
// Readable values in test failures: type and bytes in hex.
inline void PrintTo(const Value& value, std::ostream* out) {
    static const char* const kDigits = "0123456789ABCDEF";
    *out << "type " << value.type << " [";
    for (std::size_t i = 0; i < value.data.size() && i < 64; ++i) {
        *out << (i > 0 ? " " : "") << kDigits[value.data[i] >> 4] << kDigits[value.data[i] & 15];
    }
    *out << (value.data.size() > 64 ? " ...]" : "]");
}
}  // namespace reg

namespace engine {
// Outcomes by name in test failures.
inline void PrintTo(Outcome outcome, std::ostream* out) {
    static const char* const kNames[] = {
        "Applied",        "PartlyApplied",         "NeedsRights", "NoBackupMade",     "Restored",
        "RestoredInPart", "RestoredElsewhereLeft", "NotRestored", "MadeOnOtherFamily"};
    *out << kNames[static_cast<std::size_t>(outcome)];
}
}  // namespace engine

namespace regtest {

inline reg::Value Text(std::string_view text, bool terminated = true) {
    reg::Value value{reg::kSz, std::vector<std::uint8_t>(text.begin(), text.end())};
    if (terminated) value.data.push_back(0);
    return value;
}

inline reg::Value Dword(std::uint32_t number) {
    return {reg::kDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

inline reg::Value Binary(std::vector<std::uint8_t> bytes) {
    return {reg::kBinary, std::move(bytes)};
}

// Creates the key when needed and writes the value; false when either fails.
inline bool Put(RegistryStore& store, reg::Key root, const std::string& path, const char* name,
                const reg::Value& value) {
    reg::ScopedKey key = reg::Create(store, root, path.c_str());
    return key && reg::WriteValue(store, key.get(), name, value) == reg::kSuccess;
}

inline std::optional<reg::Value> Get(RegistryStore& store, reg::Key root, const std::string& path,
                                     const char* name) {
    reg::ScopedKey key = reg::Open(store, root, path.c_str());
    reg::Value value;
    if (!key || reg::ReadValue(store, key.get(), name, value) != reg::kSuccess) return std::nullopt;
    return value;
}

inline bool KeyExists(RegistryStore& store, reg::Key root, const std::string& path) {
    return static_cast<bool>(reg::Open(store, root, path.c_str()));
}

inline std::vector<std::string> SubKeys(RegistryStore& store, reg::Key root,
                                        const std::string& path) {
    std::vector<std::string> names;
    reg::ScopedKey key = reg::Open(store, root, path.c_str());
    if (!key) return names;
    reg::SubKeyWalker walker(store, key.get());
    std::string name;
    while (walker.Next(name)) names.push_back(name);
    return names;
}

inline std::vector<std::string> ValueNames(RegistryStore& store, reg::Key root,
                                           const std::string& path) {
    std::vector<std::string> names;
    reg::ScopedKey key = reg::Open(store, root, path.c_str());
    if (!key) return names;
    reg::ValueWalker walker(store, key.get());
    std::string name;
    while (walker.Next(name)) names.push_back(name);
    return names;
}

inline std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Every value below a root, keyed "ROOT\KEY\PATH\NAME" in upper case.
using Snapshot = std::map<std::string, reg::Value>;

inline void CollectValues(RegistryStore& store, reg::Key key, const std::string& prefix,
                          Snapshot& snapshot) {
    reg::ValueWalker values(store, key);
    std::string name;
    reg::Value value;
    while (values.Next(name, &value)) snapshot[Upper(prefix + "\\" + name)] = value;
    reg::SubKeyWalker subKeys(store, key);
    while (subKeys.Next(name)) {
        reg::ScopedKey child = reg::Open(store, key, name.c_str());
        if (child) CollectValues(store, child.get(), prefix + "\\" + name, snapshot);
    }
}

// The whole registry, every value of both roots.
inline Snapshot WholeSnapshot(RegistryStore& store) {
    Snapshot snapshot;
    CollectValues(store, reg::kLocalMachine, "HKLM", snapshot);
    CollectValues(store, reg::kCurrentUser, "HKCU", snapshot);
    return snapshot;
}

inline bool IsProductKeyEntry(const std::string& name) {
    return name.rfind("HKCU\\SOFTWARE\\VORNEL\\", 0) == 0;
}

// Everything the program tunes: the whole registry less the product key.
inline Snapshot TunedSnapshot(RegistryStore& store) {
    Snapshot snapshot = WholeSnapshot(store);
    std::erase_if(snapshot, [](const auto& entry) { return IsProductKeyEntry(entry.first); });
    return snapshot;
}

// The whole registry, less the product key (which the wizard owns) and the
// modems' "Properties" (which the boost changes for good).
inline Snapshot SystemSnapshot(RegistryStore& store) {
    Snapshot snapshot = TunedSnapshot(store);
    std::erase_if(snapshot, [](const auto& entry) {
        const std::string& name = entry.first;
        return name.size() >= 11 && name.compare(name.size() - 11, 11, "\\PROPERTIES") == 0;
    });
    return snapshot;
}

// A readable difference between two snapshots, for failure messages.
inline std::string Difference(const Snapshot& before, const Snapshot& after) {
    std::string text;
    for (const auto& [name, value] : before) {
        auto it = after.find(name);
        if (it == after.end())
            text += "  lost " + name + "\n";
        else if (!(it->second == value))
            text += "  changed " + name + "\n";
    }
    for (const auto& [name, value] : after) {
        if (!before.contains(name)) text += "  added " + name + "\n";
    }
    return text;
}

// The release a test of the family runs on when it names none.
constexpr WindowsRelease TypicalRelease(PlatformFamily family) {
    return family == Win9x ? WindowsRelease::Win98 : WindowsRelease::WinXP;
}

// The wizard's opening and Finish on the family's typical release, for a LAN connection.
inline void Capture(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                    FoundFlags& found) {
    engine::CaptureSettings(store, TypicalRelease(family), inForce, found);
}
inline engine::Result Finish(RegistryStore& store, PlatformFamily family,
                             const TuningValues& chosen, bool boostModem) {
    return engine::ApplySettings(store, TypicalRelease(family), chosen, LAN, boostModem);
}

// Forwards to another store and makes one operation fail: the one numbered
// `failAt` (from 0), counting every operation but closing a key. As a crash,
// that operation and every later one fail, as if the program had died there.
// kFileNotFound fails only operations on a key already open (as when another
// program deleted it under the handle): an open that says so is an answer.
class FaultInjectingStore : public RegistryStore {
public:
    enum class Mode { SingleFault, Crash };
    FaultInjectingStore(RegistryStore& inner, long failAt, reg::Status error = reg::kAccessDenied,
                        Mode mode = Mode::SingleFault)
        : m_inner(inner), m_failAt(failAt), m_error(error), m_mode(mode) {}

    long operations() const { return m_count; }
    // Every operation in order ("write DefaultTTL", "open Software\..."), when asked for.
    void KeepLog() { m_logging = true; }
    const std::vector<std::string>& log() const { return m_log; }
    bool fired() const { return m_fired; }
    const std::string& firedOperation() const { return m_firedOperation; }
    // Stops failing (to let a later phase run clean on the same store).
    void Disarm() { m_failAt = -1; }

    reg::Status OpenKey(reg::Key parent, const char* path, reg::Access access,
                        reg::Key* result) override {
        if (Fail(access == reg::Access::Read ? "open" : "open for write", path, false)) {
            return m_error;
        }
        return m_inner.OpenKey(parent, path, access, result);
    }
    reg::Status CreateKey(reg::Key parent, const char* path, reg::Key* result) override {
        if (Fail("create", path, false)) return m_error;
        return m_inner.CreateKey(parent, path, result);
    }
    reg::Status CloseKey(reg::Key key) override { return m_inner.CloseKey(key); }
    reg::Status QueryValue(reg::Key key, const char* name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) override {
        if (Fail("read", name)) return m_error;
        return m_inner.QueryValue(key, name, type, data, size);
    }
    reg::Status SetValue(reg::Key key, const char* name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override {
        if (Fail("write", name)) return m_error;
        return m_inner.SetValue(key, name, type, data, size);
    }
    reg::Status DeleteValue(reg::Key key, const char* name) override {
        if (Fail("delete", name)) return m_error;
        return m_inner.DeleteValue(key, name);
    }
    reg::Status EnumKey(reg::Key key, std::uint32_t index, char* name,
                        std::uint32_t* nameLength) override {
        if (Fail("enumerate keys", nullptr)) return m_error;
        return m_inner.EnumKey(key, index, name, nameLength);
    }
    reg::Status EnumValue(reg::Key key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                          std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        if (Fail("enumerate values", nullptr)) return m_error;
        return m_inner.EnumValue(key, index, name, nameLength, type, data, size);
    }
    reg::Status QueryInfoKey(reg::Key key, reg::KeyInfo* info) override {
        if (Fail("key information", nullptr)) return m_error;
        return m_inner.QueryInfoKey(key, info);
    }
    reg::Status DeleteKey(reg::Key parent, const char* path) override {
        if (Fail("delete key", path)) return m_error;
        return m_inner.DeleteKey(parent, path);
    }

private:
    bool Fail(const char* operation, const char* name, bool onOpenKey = true) {
        if (m_logging)
            m_log.push_back(std::string(operation) + " " + (name != nullptr ? name : ""));
        const long index = m_count++;
        if (m_failAt < 0 || index < m_failAt) return false;
        if (!onOpenKey && m_error == reg::kFileNotFound) return false;
        if (index > m_failAt) return m_mode == Mode::Crash;
        m_fired = true;
        m_firedOperation = std::string(operation) + " " + (name != nullptr ? name : "");
        return true;
    }

    RegistryStore& m_inner;
    long m_failAt;
    reg::Status m_error;
    Mode m_mode;
    long m_count = 0;
    bool m_fired = false;
    std::string m_firedOperation;
    bool m_logging = false;
    std::vector<std::string> m_log;
};

// Forwards to another store and, just before the operation numbered `at`, lets `meanwhile`
// work on the store underneath: another program (a second Vornel) coming in between.
class InterleavingStore : public RegistryStore {
public:
    InterleavingStore(RegistryStore& inner, long at, std::function<void()> meanwhile)
        : m_inner(inner), m_at(at), m_meanwhile(std::move(meanwhile)) {}
    long operations() const { return m_count; }

    reg::Status OpenKey(reg::Key parent, const char* path, reg::Access access,
                        reg::Key* result) override {
        Tick();
        return m_inner.OpenKey(parent, path, access, result);
    }
    reg::Status CreateKey(reg::Key parent, const char* path, reg::Key* result) override {
        Tick();
        return m_inner.CreateKey(parent, path, result);
    }
    reg::Status CloseKey(reg::Key key) override { return m_inner.CloseKey(key); }
    reg::Status QueryValue(reg::Key key, const char* name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) override {
        Tick();
        return m_inner.QueryValue(key, name, type, data, size);
    }
    reg::Status SetValue(reg::Key key, const char* name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override {
        Tick();
        return m_inner.SetValue(key, name, type, data, size);
    }
    reg::Status DeleteValue(reg::Key key, const char* name) override {
        Tick();
        return m_inner.DeleteValue(key, name);
    }
    reg::Status EnumKey(reg::Key key, std::uint32_t index, char* name,
                        std::uint32_t* nameLength) override {
        Tick();
        return m_inner.EnumKey(key, index, name, nameLength);
    }
    reg::Status EnumValue(reg::Key key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                          std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        Tick();
        return m_inner.EnumValue(key, index, name, nameLength, type, data, size);
    }
    reg::Status QueryInfoKey(reg::Key key, reg::KeyInfo* info) override {
        Tick();
        return m_inner.QueryInfoKey(key, info);
    }
    reg::Status DeleteKey(reg::Key parent, const char* path) override {
        Tick();
        return m_inner.DeleteKey(parent, path);
    }

private:
    void Tick() {
        if (m_count++ == m_at) m_meanwhile();
    }

    RegistryStore& m_inner;
    long m_at;
    std::function<void()> m_meanwhile;
    long m_count = 0;
};

// Binds TCP/IP to an adapter as Windows NT 4.0 records it: "\Device\<name>" added to the
// "Bind" list of the linkage key, and the adapter's own TCP/IP key, with an "MTU" if given.
inline void BindAdapter(RegistryStore& store, const std::string& name,
                        const std::optional<reg::Value>& mtu) {
    using namespace catalogue;
    reg::Value bind = Get(store, reg::kLocalMachine, kLinkageKey, kBindValue)
                          .value_or(reg::Value{reg::kMultiSz, {0}});
    bind.data.pop_back();
    const std::string entry = kDevicePrefix + name;
    bind.data.insert(bind.data.end(), entry.begin(), entry.end());
    bind.data.push_back(0);
    bind.data.push_back(0);
    Put(store, reg::kLocalMachine, kLinkageKey, kBindValue, bind);
    const std::string key = std::string(kServicesKey) + "\\" + AdapterKeyBelowServices(name);
    Put(store, reg::kLocalMachine, key, "IPAddress", Text("10.0.0.2"));
    if (mtu) Put(store, reg::kLocalMachine, key, "MTU", *mtu);
}

// Seeds a typical Windows 2000 system: browser values, a stack key with
// values of the expected type, one stored as text and one oversized, three
// interfaces of which two have MTU or MSS, and a capped modem. Beside them what
// Windows NT 4.0 has instead: two adapters bound to TCP/IP, one with its own MTU, an
// adapter not bound, and the dial-up service's parameters; and the socket driver's
// service, without parameters of its own.
inline void SeedWinNtSystem(RegistryStore& store) {
    using namespace catalogue;
    Put(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPerServer", Dword(2));
    Put(store, reg::kCurrentUser, kBrowserKey, "User Agent", Text("Mozilla/4.0"));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "Hostname", Text("desk"));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "DefaultTTL", Dword(128));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "TcpWindowSize", Text("17520"));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "GlobalMaxTcpWindowSize",
        Binary({1, 2, 3, 4, 5, 6, 7, 8}));
    Put(store, reg::kLocalMachine, kWinNtStackKey, "EnableICMPRedirect", Dword(1));
    const std::string interfaces = kInterfacesKey;
    Put(store, reg::kLocalMachine, interfaces + "\\{B0A1}", "MTU", Dword(1500));
    Put(store, reg::kLocalMachine, interfaces + "\\{B0A1}", "EnableDHCP", Dword(1));
    Put(store, reg::kLocalMachine, interfaces + "\\{C2D3}", "MSS", Dword(1460));
    Put(store, reg::kLocalMachine, interfaces + "\\{A9F0}", "EnableDHCP", Dword(0));
    Put(store, reg::kLocalMachine, std::string(kWinNtModemKey) + "\\0000", "Properties",
        Binary({0, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xC2, 0x01, 0x00, 0, 0, 0, 0}));
    BindAdapter(store, "El90x1", Dword(1500));
    BindAdapter(store, "NdisWan4", std::nullopt);
    Put(store, reg::kLocalMachine, std::string(kServicesKey) + "\\Lance01\\Parameters\\Tcpip",
        "MTU", Dword(1400));
    Put(store, reg::kLocalMachine, kNdisWanParametersKey, "RasTapiEnabled", Dword(1));
    Put(store, reg::kLocalMachine, std::string(kServicesKey) + "\\AFD", "Start", Dword(1));
}

// Seeds a typical Windows 98 system with a dial-up adapter bound to TCP/IP
// through MSTCP\0001 and NetTrans\0002, whose "MaxMTU" is set and "MaxMSS" not.
inline void SeedWin9xSystem(RegistryStore& store) {
    using namespace catalogue;
    Put(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPer1_0Server", Dword(4));
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0000", "DeviceDesc",
        Text("Realtek RTL8029"));
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001", "DeviceDesc",
        Text("Dial-Up Adapter"));
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001\\Bindings",
        "NETBEUI\\0000", Text(""));
    Put(store, reg::kLocalMachine, std::string(kEnumRootNetKey) + "\\0001\\Bindings", "MSTCP\\0001",
        Text(""));
    Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "0001", "Driver",
        Text("NetTrans\\0002"));
    Put(store, reg::kLocalMachine, std::string(kNetTransKeyPrefix) + "0002", "MaxMTU", Text("576"));
    Put(store, reg::kLocalMachine, std::string(kNetTransKeyPrefix) + "0002", "IPAddress",
        Text("0.0.0.0"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultTTL", Text("32"));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "DefaultRcvWindow", Dword(8760));
    Put(store, reg::kLocalMachine, kWin9xStackKey, "KeepAliveTime", Text(std::string(300, '7')));
    Put(store, reg::kLocalMachine, std::string(kWin9xModemKey) + "\\0000", "Properties",
        Binary({0, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,    0, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xC2, 0x01, 0x00, 0, 0, 0, 0}));
}

}  // namespace regtest
