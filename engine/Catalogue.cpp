// The catalogue's tables, one per key and family, and the two value encodings.
#include "engine/Catalogue.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace {

using TV = TuningValues;
using FF = FoundFlags;

// The browser's connections per server, per user (KB 183110).
constexpr CatalogueValue kBrowserValues[] = {
    {"MaxConnectionsPer1_0Server",
     {"KB 183110"},
     &TV::maxConnectionsPer1_0Server,
     0,
     &TV::maxConnectionsPer1_0Server,
     &FF::maxConnectionsPer1_0ServerFound},
    {"MaxConnectionsPerServer",
     {"KB 183110"},
     &TV::maxConnectionsPerServer,
     0,
     &TV::maxConnectionsPerServer,
     &FF::maxConnectionsPerServerFound},
};

// The stack values of Windows 95, 98 and Me, text on 98 and Me (KB 158474). Windows 95
// has window scaling and selective acknowledgements only with the Windows Sockets 2
// update (KB 182108), so "Tcp1323Opts" and "SackOpts" do nothing without it.
constexpr CatalogueValue kWin9xStackValues[] = {
    {"SackOpts", {"KB 158474, KB 214432"}, nullptr, 1, nullptr, nullptr},
    {"Tcp1323Opts", {"KB 158474"}, nullptr, 1, nullptr, nullptr},
    {"DefaultTTL", {"KB 158474"}, &TV::ttl, 0, &TV::ttl, &FF::ttlFound},
    {"DefaultRcvWindow", {"KB 158474"}, &TV::rwin, 0, &TV::rwin, &FF::rwinFound},
    {"GlobalMaxTcpWindowSize", {"KB 158474"}, &TV::rwin, 0, nullptr, nullptr},
    {"PMTUBlackHoleDetect",
     {"KB 156438"},
     &TV::pmtuBlackHoleDetect,
     0,
     &TV::pmtuBlackHoleDetect,
     &FF::pmtuBlackHoleDetectFound},
    {"PMTUDiscovery",
     {"KB 156438"},
     &TV::pmtuDiscovery,
     0,
     &TV::pmtuDiscovery,
     &FF::pmtuDiscoveryFound},
    {"KeepAliveTime",
     {"KB 167833"},
     &TV::keepAliveTime,
     0,
     &TV::keepAliveTime,
     &FF::keepAliveTimeFound},
    {"KeepAliveInterval",
     {"KB 158474"},
     &TV::keepAliveInterval,
     0,
     &TV::keepAliveInterval,
     &FF::keepAliveIntervalFound},
};

// The stack values of Windows NT 4.0, 2000 and XP (KB 120642, KB 314053, KB 224829). NT 4.0
// has no window scaling: its "TcpWindowSize" ends at 65535 (KB 140552, KB 199947), and it
// reads neither "Tcp1323Opts", "SackOpts" nor "GlobalMaxTcpWindowSize"; "TcpMaxDupAcks"
// came with its Service Pack 2 (KB 162179). NT 4.0 reads "EnableICMPRedirects" (Service
// Pack 5, KB 225344), Windows 2000 and later "EnableICMPRedirect" (KB 243427): both are
// written, and the later one read wins for the value in force. "SYNAttackProtect" takes 0
// to 2 (KB 142641).
constexpr CatalogueValue kWinNtStackValues[] = {
    {"SackOpts", {"KB 224829; Windows 2000 registry reference"}, nullptr, 1, nullptr, nullptr},
    {"Tcp1323Opts", {"KB 224829; Windows 2000 registry reference"}, nullptr, 1, nullptr, nullptr},
    {"GlobalMaxTcpWindowSize", {"Windows 2000 registry reference"}, &TV::rwin, 0, nullptr, nullptr},
    {"TcpMaxDupAcks", {"KB 162179, KB 224829"}, nullptr, 2, nullptr, nullptr},
    {"DefaultTTL", {"KB 314053, KB 120642"}, &TV::ttl, 0, &TV::ttl, &FF::ttlFound},
    {"TcpWindowSize", {"KB 224829, KB 314053"}, &TV::rwin, 0, &TV::rwin, &FF::rwinFound},
    {"DefaultReceiveWindow", {"KB 246984 (read under AFD only)"}, nullptr, 8192, nullptr, nullptr},
    {"EnablePMTUBHDetect",
     {"KB 314053, KB 120642"},
     &TV::pmtuBlackHoleDetect,
     0,
     &TV::pmtuBlackHoleDetect,
     &FF::pmtuBlackHoleDetectFound},
    {"EnablePMTUDiscovery",
     {"KB 314053, KB 120642"},
     &TV::pmtuDiscovery,
     0,
     &TV::pmtuDiscovery,
     &FF::pmtuDiscoveryFound},
    {"KeepAliveTime",
     {"KB 314053, KB 120642"},
     &TV::keepAliveTime,
     0,
     &TV::keepAliveTime,
     &FF::keepAliveTimeFound},
    {"KeepAliveInterval",
     {"KB 314053, KB 120642"},
     &TV::keepAliveInterval,
     0,
     &TV::keepAliveInterval,
     &FF::keepAliveIntervalFound},
    {"SYNAttackProtect",
     {"KB 142641"},
     &TV::synAttackProtect,
     0,
     &TV::synAttackProtect,
     &FF::synAttackProtectFound},
    {"EnableICMPRedirects",
     {"KB 225344"},
     &TV::icmpRedirects,
     0,
     &TV::icmpRedirects,
     &FF::icmpRedirectsFound},
    {"EnableICMPRedirect",
     {"KB 243427"},
     &TV::icmpRedirects,
     0,
     &TV::icmpRedirects,
     &FF::icmpRedirectsFound},
};

// Windows 98 and 98 SE read the global receive-window limit under a misspelt name, as a
// number, from a key of its own (KB 239731); "GlobalMaxTcpWindowSize" beside the other
// stack values has no effect there.
constexpr CatalogueValue kWin98ParameterValues[] = {
    {"GlobalMaxTcpWindoSize", {"KB 239731"}, &TV::rwin, 0, nullptr, nullptr},
};

// AFD, the socket driver, reads "DefaultReceiveWindow" from its own key on Windows NT 4.0
// (KB 246984) and on 2000 and XP alike (Windows Server 2003 TCP/IP Implementation Details,
// appendix C); under Tcpip\Parameters nothing reads it.
constexpr CatalogueValue kAfdValues[] = {
    {"DefaultReceiveWindow", {"KB 246984"}, nullptr, 8192, nullptr, nullptr},
};

// Windows NT 4.0 RAS sends at most "IPMTU" (1 to 1500, Service Pack 4 and later) on its
// dial-up links (KB 183229); Vornel sets it for the connections that run over them.
std::optional<std::int32_t> DialUpLinkMtu(const TuningValues& chosen, ConnectionType type) {
    if (type != DialUp && type != DSL) return std::nullopt;
    return std::clamp(chosen.mtu, 1, 1500);
}
constexpr CatalogueValue kNdisWanValues[] = {
    {"IPMTU", {"KB 183229"}, nullptr, 0, nullptr, nullptr, DialUpLinkMtu},
};

constexpr KeyCatalogue kBrowser{
    reg::kCurrentUser, catalogue::kBrowserKey,          Encoding::Number,
    kBrowserValues,    kWin9xReleases | kWinNtReleases, Reach::OpenOnly,
    nullptr,           catalogue::kBrowserAbsentValue};
constexpr KeyCatalogue kWin9xStack{reg::kLocalMachine,
                                   catalogue::kWin9xStackKey,
                                   Encoding::Text,
                                   kWin9xStackValues,
                                   kWin9xReleases,
                                   Reach::Create,
                                   nullptr,
                                   catalogue::kStackAbsentValue};
// Finish writes the NT stack's window sizes after the values around them, and Reset puts
// them back first, as every version of Vornel has done; the others go in the table's order.
constexpr const char* kWinNtStackApplyOrder[] = {"SackOpts",
                                                 "Tcp1323Opts",
                                                 "TcpMaxDupAcks",
                                                 "DefaultTTL",
                                                 "DefaultReceiveWindow",
                                                 "TcpWindowSize",
                                                 "GlobalMaxTcpWindowSize",
                                                 "EnablePMTUBHDetect",
                                                 "EnablePMTUDiscovery",
                                                 "KeepAliveTime",
                                                 "KeepAliveInterval",
                                                 "SYNAttackProtect",
                                                 "EnableICMPRedirects",
                                                 "EnableICMPRedirect"};
constexpr const char* kWinNtStackRestoreOrder[] = {"SackOpts",
                                                   "Tcp1323Opts",
                                                   "TcpWindowSize",
                                                   "GlobalMaxTcpWindowSize",
                                                   "TcpMaxDupAcks",
                                                   "DefaultTTL",
                                                   "DefaultReceiveWindow",
                                                   "EnablePMTUBHDetect",
                                                   "EnablePMTUDiscovery",
                                                   "KeepAliveTime",
                                                   "KeepAliveInterval",
                                                   "SYNAttackProtect",
                                                   "EnableICMPRedirects",
                                                   "EnableICMPRedirect"};

constexpr KeyCatalogue kWinNtStack{reg::kLocalMachine,
                                   catalogue::kWinNtStackKey,
                                   Encoding::Number,
                                   kWinNtStackValues,
                                   kWinNtReleases,
                                   Reach::Create,
                                   nullptr,
                                   catalogue::kStackAbsentValue,
                                   kWinNtStackApplyOrder,
                                   kWinNtStackRestoreOrder};
constexpr KeyCatalogue kWin98Parameters{reg::kLocalMachine,
                                        catalogue::kWin98ParametersKey,
                                        Encoding::Number,
                                        kWin98ParameterValues,
                                        Only(WindowsRelease::Win98),
                                        Reach::CreateInService,
                                        catalogue::kWin98ParametersBackupName};
constexpr KeyCatalogue kAfd{
    reg::kLocalMachine, catalogue::kAfdParametersKey, Encoding::Number,         kAfdValues,
    kWinNtReleases,     Reach::CreateInService,       catalogue::kAfdBackupName};
constexpr KeyCatalogue kNdisWan{reg::kLocalMachine,
                                catalogue::kNdisWanParametersKey,
                                Encoding::Number,
                                kNdisWanValues,
                                Only(WindowsRelease::WinNT4),
                                Reach::CreateInService,
                                catalogue::kNdisWanBackupName};
constexpr const KeyCatalogue* kFixedKeys[] = {&kBrowser,         &kWin9xStack, &kWinNtStack,
                                              &kWin98Parameters, &kAfd,        &kNdisWan};

constexpr LinkValue kWin9xLinkValues[] = {
    {"MaxMTU",
     {"KB 250663"},
     catalogue::kMtuBackupName,
     catalogue::kMtuBackupKey,
     &TV::mtu,
     &TV::mtu,
     &FF::mtuFound},
    {"MaxMSS",
     {"KB 250663"},
     catalogue::kMssBackupName,
     catalogue::kMssBackupKey,
     &TV::mss,
     &TV::mss,
     &FF::mssFound},
};
// Windows 2000 and XP read "MTU" per interface (KB 314053); no Windows reads an "MSS",
// which is written and put back for the tools that show it.
constexpr LinkValue kWinNtLinkValues[] = {
    {"MTU",
     {"KB 314053"},
     catalogue::kMtuBackupName,
     catalogue::kMtuBackupKey,
     &TV::mtu,
     &TV::mtu,
     &FF::mtuFound},
    {"MSS",
     {"undocumented: no Windows reads it"},
     catalogue::kMssBackupName,
     catalogue::kMssBackupKey,
     &TV::mss,
     &TV::mss,
     &FF::mssFound},
};
// Windows NT 4.0 has no Interfaces key of its own, so an "MTU" found there is not the one
// in force: the adapters' below are.
constexpr LinkValue kNt4InterfaceValues[] = {
    {"MTU",
     {"KB 314053"},
     catalogue::kMtuBackupName,
     catalogue::kMtuBackupKey,
     &TV::mtu,
     nullptr,
     nullptr},
    {"MSS",
     {"undocumented: no Windows reads it"},
     catalogue::kMssBackupName,
     catalogue::kMssBackupKey,
     &TV::mss,
     &TV::mss,
     &FF::mssFound},
};
// Windows NT 4.0 reads "MTU" in the TCP/IP parameters of each adapter TCP/IP is bound to,
// "specific to each adapter" (KB 120642, KB 140552).
constexpr LinkValue kNt4AdapterValues[] = {
    {"MTU",
     {"KB 120642"},
     catalogue::kAdapterMtuBackupName,
     catalogue::kAdapterMtuBackupKey,
     &TV::mtu,
     &TV::mtu,
     &FF::mtuFound},
};

constexpr LinkCatalogue kDialUpAdapterLinks{
    LinkKind::DialUpAdapter, Encoding::Text, kWin9xLinkValues, nullptr, nullptr,
    kWin9xReleases,          false};
constexpr LinkCatalogue kInterfaceLinks{LinkKind::Interface,
                                        Encoding::Number,
                                        kWinNtLinkValues,
                                        catalogue::kInterfacesBackupName,
                                        catalogue::kInterfacesBackupKey,
                                        Only(WindowsRelease::Win2000) | Only(WindowsRelease::WinXP),
                                        false};
constexpr LinkCatalogue kNt4InterfaceLinks{LinkKind::Interface,
                                           Encoding::Number,
                                           kNt4InterfaceValues,
                                           catalogue::kInterfacesBackupName,
                                           catalogue::kInterfacesBackupKey,
                                           Only(WindowsRelease::WinNT4),
                                           false};
constexpr LinkCatalogue kBoundAdapterLinks{LinkKind::BoundAdapter,
                                           Encoding::Number,
                                           kNt4AdapterValues,
                                           catalogue::kAdaptersBackupName,
                                           catalogue::kAdaptersBackupKey,
                                           Only(WindowsRelease::WinNT4),
                                           true};

}  // namespace

namespace catalogue {

namespace {
constexpr std::pair<WindowsRelease, const char*> kReleaseNames[] = {
    {WindowsRelease::Win95, "Windows 95"},     {WindowsRelease::Win98, "Windows 98"},
    {WindowsRelease::WinMe, "Windows Me"},     {WindowsRelease::WinNT4, "Windows NT 4.0"},
    {WindowsRelease::Win2000, "Windows 2000"}, {WindowsRelease::WinXP, "Windows XP"},
};
}  // namespace

const char* ReleaseName(WindowsRelease release) {
    for (const auto& [each, name] : kReleaseNames) {
        if (each == release) return name;
    }
    return "Windows";
}

const char* FamilyName(PlatformFamily family) {
    return family == Win9x ? "Windows 95, 98 or Me" : "Windows NT 4.0, 2000 or XP";
}

std::optional<WindowsRelease> ReleaseNamed(std::string_view name) {
    for (const auto& [release, each] : kReleaseNames) {
        if (reg::SameName(name, each)) return release;
    }
    return std::nullopt;
}

const KeyCatalogue& Browser() {
    return kBrowser;
}

const KeyCatalogue& Stack(PlatformFamily family) {
    return family == Win9x ? kWin9xStack : kWinNtStack;
}

std::vector<const KeyCatalogue*> FixedKeys(WindowsRelease release) {
    std::vector<const KeyCatalogue*> keys;
    for (const KeyCatalogue* key : kFixedKeys) {
        if (Includes(key->releases, release)) keys.push_back(key);
    }
    return keys;
}

std::vector<const KeyCatalogue*> FixedKeys(PlatformFamily family) {
    const Releases releases = family == Win9x ? kWin9xReleases : kWinNtReleases;
    std::vector<const KeyCatalogue*> keys;
    for (const KeyCatalogue* key : kFixedKeys) {
        if ((key->releases & releases) != 0) keys.push_back(key);
    }
    return keys;
}

std::vector<const LinkCatalogue*> Links(WindowsRelease release) {
    std::vector<const LinkCatalogue*> links;
    for (const LinkCatalogue* set :
         {&kDialUpAdapterLinks, &kInterfaceLinks, &kNt4InterfaceLinks, &kBoundAdapterLinks}) {
        if (Includes(set->releases, release)) links.push_back(set);
    }
    return links;
}

std::vector<const LinkCatalogue*> Links(PlatformFamily family) {
    if (family == Win9x) return {&kDialUpAdapterLinks};
    return {&kInterfaceLinks, &kBoundAdapterLinks};
}

const char* ModemClassKey(PlatformFamily family) {
    return family == Win9x ? kWin9xModemKey : kWinNtModemKey;
}

std::uint32_t RegistryType(Encoding encoding) {
    return encoding == Encoding::Text ? reg::kSz : reg::kDword;
}

bool IsLinkList(std::string_view part) {
    return reg::SameName(part, kInterfacesBackupName) || reg::SameName(part, kAdaptersBackupName);
}

std::string AdapterKeyBelowServices(std::string_view adapter) {
    return std::string(adapter) + kAdapterTcpipSuffix;
}

std::vector<std::string> BoundAdapters(const reg::Value& bind) {
    std::vector<std::string> adapters;
    const std::string_view prefix(kDevicePrefix);
    std::size_t start = 0;
    const std::string_view data(reinterpret_cast<const char*>(bind.data.data()), bind.data.size());
    while (start < data.size()) {
        std::size_t end = data.find('\0', start);
        if (end == std::string_view::npos) end = data.size();
        const std::string_view entry = data.substr(start, end - start);
        start = end + 1;
        if (entry.size() <= prefix.size() || !reg::SameName(entry.substr(0, prefix.size()), prefix))
            continue;
        const std::string_view name = entry.substr(prefix.size());
        // One key of the services key, by name: never a path into another.
        if (name.find('\\') != std::string_view::npos) continue;
        const bool seen =
            std::any_of(adapters.begin(), adapters.end(),
                        [&](const std::string& other) { return reg::SameName(other, name); });
        if (!seen) adapters.emplace_back(name);
    }
    return adapters;
}

std::vector<const CatalogueValue*> InOrder(const KeyCatalogue& key, Step step) {
    std::vector<const CatalogueValue*> result;
    result.reserve(key.values.size());
    const std::span<const char* const> order = step == Step::Apply ? key.applyOrder
                                               : step == Step::Restore
                                                   ? key.restoreOrder
                                                   : std::span<const char* const>{};
    for (const char* name : order) {
        for (const CatalogueValue& value : key.values) {
            if (std::string_view(value.name) == name) result.push_back(&value);
        }
    }
    // The values an order does not name (all of them without one) follow in the table's order.
    for (const CatalogueValue& value : key.values) {
        if (std::find(result.begin(), result.end(), &value) == result.end()) {
            result.push_back(&value);
        }
    }
    return result;
}

}  // namespace catalogue

std::vector<std::uint8_t> EncodeString(std::string_view text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

std::vector<std::uint8_t> EncodeText(std::int32_t number) {
    return EncodeString(std::to_string(number));
}

std::int32_t DecodeText(const std::uint8_t* data, std::size_t size) {
    std::size_t i = 0;
    auto isSpace = [](std::uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < size && isSpace(data[i])) ++i;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) {
        negative = data[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
        magnitude = std::min(magnitude * 10 + (data[i] - '0'), kLimit);
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, kLimit - 1));
}

std::vector<std::uint8_t> EncodeNumber(std::int32_t number) {
    const auto bits = static_cast<std::uint32_t>(number);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

reg::Value EncodeValue(Encoding encoding, std::int32_t number) {
    return {catalogue::RegistryType(encoding),
            encoding == Encoding::Text ? EncodeText(number) : EncodeNumber(number)};
}
