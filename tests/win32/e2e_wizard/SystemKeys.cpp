// The system keys a wizard run reads and writes, and the machines the tests seed there.
#include "SystemKeys.h"

#include <cstring>
#include <iomanip>
#include <sstream>

namespace e2e::wizard {
namespace {

void Describe(std::ostream& out, const KeyTree& tree, const std::string& indent) {
    for (const auto& [name, value] : tree.values) {
        out << indent << name << " type " << value.type << " [" << value.bytes.size() << "]";
        if (value.type == REG_SZ) {
            out << " \"";
            for (char c : value.bytes) {
                if (c == '\0') {
                    out << "\\0";
                } else {
                    out << c;
                }
            }
            out << "\"";
        } else {
            for (char c : value.bytes) {
                out << " " << std::hex << std::setw(2) << std::setfill('0')
                    << int{static_cast<unsigned char>(c)} << std::dec;
            }
        }
        out << "\n";
    }
    for (const auto& [name, sub] : tree.subkeys) {
        out << indent << name << "\\\n";
        Describe(out, sub, indent + "    ");
    }
}

}  // namespace

SystemKeys::SystemKeys() {
    for (const SystemKey& key : kTouchedKeys) {
        m_saved.push_back(std::make_unique<ScopedKeyRestore>(key.root, key.path));
    }
    // The browser key and the NT parameters key belong to the system: only the
    // tuned values go. The other keys exist on this machine only while a test
    // seeds them.
    for (const std::string& name : kBrowserValues) {
        DeleteValue(HKEY_CURRENT_USER, keys::kBrowser, name);
    }
    for (const auto* names : {&kWinNtStackValues, &kWin9xStackValues}) {
        for (const std::string& name : *names)
            DeleteValue(HKEY_LOCAL_MACHINE, keys::kWinNtStack, name);
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kInterfaces);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kWin9xStack);
    CreateKey(HKEY_LOCAL_MACHINE, keys::kWin9xStack);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kEnum);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kServiceClasses);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, keys::kWinNtModems);
    for (const char* key : {keys::kLinkage, keys::kAfd, keys::kNdisWan}) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, key);
    }
    for (const char* adapter : keys::kTestAdapters) {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(catalogue::kServicesKey) + "\\" + adapter);
    }
}

void AddWin9xAdapter(const Win9xAdapter& adapter) {
    const std::string entry = std::string("Enum\\Root\\Net\\") + adapter.entry;
    SetString(HKEY_LOCAL_MACHINE, entry, "DeviceDesc", adapter.deviceDesc);
    // Another protocol's binding first: only the TCP/IP one counts.
    SetString(HKEY_LOCAL_MACHINE, entry + "\\Bindings", "NETBEUI\\" + adapter.binding, "");
    SetString(HKEY_LOCAL_MACHINE, entry + "\\Bindings", "MSTCP\\" + adapter.binding, "");
    SetString(HKEY_LOCAL_MACHINE, "Enum\\Network\\MSTCP\\" + adapter.binding, "Driver",
              "NetTrans\\" + adapter.netTrans);
    const std::string netTrans = NetTransKey(adapter.netTrans);
    SetString(HKEY_LOCAL_MACHINE, netTrans, "DriverDesc", "TCP/IP");
    if (adapter.maxMtu) SetString(HKEY_LOCAL_MACHINE, netTrans, "MaxMTU", *adapter.maxMtu);
    if (adapter.maxMss) SetString(HKEY_LOCAL_MACHINE, netTrans, "MaxMSS", *adapter.maxMss);
}

std::string NetTransKey(const std::string& instance) {
    return std::string(keys::kNetTrans) + "\\" + instance;
}

void AddInterface(const std::string& name, std::optional<DWORD> mtu, std::optional<DWORD> mss) {
    const std::string key = InterfaceKey(name);
    SetDword(HKEY_LOCAL_MACHINE, key, "EnableDHCP", 1);
    if (mtu) SetDword(HKEY_LOCAL_MACHINE, key, "MTU", *mtu);
    if (mss) SetDword(HKEY_LOCAL_MACHINE, key, "MSS", *mss);
}

std::string InterfaceKey(const std::string& name) {
    return std::string(keys::kInterfaces) + "\\" + name;
}

void AddModem(const char* classKey, const std::string& name, const std::string& properties) {
    const std::string key = std::string(classKey) + "\\" + name;
    SetString(HKEY_LOCAL_MACHINE, key, "DriverDesc", "Standard 56000 bps Modem");
    SetValue(HKEY_LOCAL_MACHINE, key, "Properties", RegValue{REG_BINARY, properties});
}

std::string Describe(const std::optional<KeyTree>& tree) {
    if (!tree) return "(no key)\n";
    std::ostringstream out;
    Describe(out, *tree, "    ");
    return out.str();
}

::testing::AssertionResult KeyIs(HKEY root, const std::string& path,
                                 const std::optional<KeyTree>& expected) {
    const std::optional<KeyTree> actual = ReadKeyTree(root, path);
    if (actual == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " holds\n"
                                         << Describe(actual) << "expected\n"
                                         << Describe(expected);
}

}  // namespace e2e::wizard
