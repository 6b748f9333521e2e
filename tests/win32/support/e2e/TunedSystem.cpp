// The part of the system that Vornel tunes, as the end-to-end tests see it.
#include "e2e/TunedSystem.h"

namespace e2e {

const std::vector<SystemKey> kTouchedKeys = [] {
    std::vector<SystemKey> touched = {
        {HKEY_CURRENT_USER, keys::kBrowser},         {HKEY_LOCAL_MACHINE, keys::kWinNtStack},
        {HKEY_LOCAL_MACHINE, keys::kWinNtModems},    {HKEY_LOCAL_MACHINE, keys::kVxd},
        {HKEY_LOCAL_MACHINE, keys::kServiceClasses}, {HKEY_LOCAL_MACHINE, keys::kEnum},
        {HKEY_LOCAL_MACHINE, keys::kLinkage},        {HKEY_LOCAL_MACHINE, keys::kAfd},
        {HKEY_LOCAL_MACHINE, keys::kNdisWan},
    };
    static const std::vector<std::string> adapters = [] {
        std::vector<std::string> paths;
        for (const char* name : keys::kTestAdapters) {
            paths.push_back(std::string(catalogue::kServicesKey) + "\\" + name);
        }
        return paths;
    }();
    for (const std::string& path : adapters) touched.push_back({HKEY_LOCAL_MACHINE, path.c_str()});
    return touched;
}();

std::string AdapterTcpipKey(const std::string& name) {
    return std::string(catalogue::kServicesKey) + "\\" + catalogue::AdapterKeyBelowServices(name);
}

void BindTestAdapter(const std::string& name, std::optional<DWORD> mtu) {
    RegValue bind = GetValue(HKEY_LOCAL_MACHINE, keys::kLinkage, catalogue::kBindValue)
                        .value_or(RegValue{REG_MULTI_SZ, std::string(1, '\0')});
    bind.bytes.pop_back();
    bind.bytes += std::string(catalogue::kDevicePrefix) + name + '\0' + '\0';
    SetValue(HKEY_LOCAL_MACHINE, keys::kLinkage, catalogue::kBindValue, bind);
    SetString(HKEY_LOCAL_MACHINE, AdapterTcpipKey(name), "IPAddress", "10.0.0.2");
    if (mtu) SetDword(HKEY_LOCAL_MACHINE, AdapterTcpipKey(name), "MTU", *mtu);
}

const std::vector<std::string> kWinNtStackValues = {"SackOpts",
                                                    "Tcp1323Opts",
                                                    "GlobalMaxTcpWindowSize",
                                                    "TcpMaxDupAcks",
                                                    "DefaultTTL",
                                                    "TcpWindowSize",
                                                    "DefaultReceiveWindow",
                                                    "EnablePMTUBHDetect",
                                                    "EnablePMTUDiscovery",
                                                    "KeepAliveTime",
                                                    "KeepAliveInterval",
                                                    "SYNAttackProtect",
                                                    "EnableICMPRedirects",
                                                    "EnableICMPRedirect"};
const std::vector<std::string> kWin9xStackValues = {"SackOpts",
                                                    "Tcp1323Opts",
                                                    "DefaultTTL",
                                                    "DefaultRcvWindow",
                                                    "GlobalMaxTcpWindowSize",
                                                    "PMTUBlackHoleDetect",
                                                    "PMTUDiscovery",
                                                    "KeepAliveTime",
                                                    "KeepAliveInterval"};
const std::vector<std::string> kBrowserValues = {"MaxConnectionsPer1_0Server",
                                                 "MaxConnectionsPerServer"};

const NamedValues kWinNtRecommendedWrites = {{"SackOpts", RegValue::Dword(1)},
                                             {"Tcp1323Opts", RegValue::Dword(1)},
                                             {"TcpMaxDupAcks", RegValue::Dword(2)},
                                             {"DefaultTTL", RegValue::Dword(64)},
                                             {"DefaultReceiveWindow", RegValue::Dword(8192)},
                                             {"KeepAliveTime", RegValue::Dword(7200000)},
                                             {"KeepAliveInterval", RegValue::Dword(1000)},
                                             {"SYNAttackProtect", RegValue::Dword(2)}};
const NamedValues kWin9xRecommendedWrites = {{"SackOpts", RegValue::String("1")},
                                             {"Tcp1323Opts", RegValue::String("1")},
                                             {"DefaultTTL", RegValue::String("32")},
                                             {"KeepAliveTime", RegValue::String("7200000")},
                                             {"KeepAliveInterval", RegValue::String("1000")}};

const std::vector<std::string> kWin9xSteps = {
    "Step 1 of 6 : Choose Connection Type",
    "Step 2 of 6 : Specify MTU Settings",
    "Step 3 of 6 : Other MTU Settings",
    "Step 4 of 6 : RWIN Setting",
    "Step 5 of 6 : TTL & Internet Explorer Optimization",
    "Step 6 of 6 : Keep Alive Settings",
};

const std::vector<std::string> kWinNtSteps = {
    "Step 1 of 8 : Choose Connection Type",
    "Step 2 of 8 : Specify MTU Settings",
    "Step 3 of 8 : Other MTU Settings",
    "Step 4 of 8 : RWIN Setting",
    "Step 5 of 8 : TTL & Internet Explorer Optimization",
    "Step 6 of 8 : Keep Alive Settings",
    "Step 7 of 8 : SYN Flood Attack Setting",
    "Step 8 of 8 : ICMP Redirect Attack Setting",
};

std::string ModemProperties(DWORD maxPortRate, size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0x40 + i);
    for (size_t i = 0; i < 4 && 24 + i < bytes.size(); ++i) {
        bytes[24 + i] = static_cast<char>((maxPortRate >> (8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace e2e
