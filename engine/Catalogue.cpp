// The catalogue's tables, one per key and family, and the two value encodings.
#include "engine/Catalogue.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

using TV = TuningValues;
using FF = FoundFlags;

constexpr CatalogueValue kBrowserValues[] = {
    {"MaxConnectionsPer1_0Server",
     &TV::maxConnectionsPer1_0Server,
     0,
     &TV::maxConnectionsPer1_0Server,
     &FF::maxConnectionsPer1_0ServerFound,
     {1, 1, 1}},
    {"MaxConnectionsPerServer",
     &TV::maxConnectionsPerServer,
     0,
     &TV::maxConnectionsPerServer,
     &FF::maxConnectionsPerServerFound,
     {2, 2, 2}},
};

constexpr CatalogueValue kWin9xStackValues[] = {
    {"SackOpts", nullptr, 1, nullptr, nullptr, {1, 1, 1}},
    {"Tcp1323Opts", nullptr, 1, nullptr, nullptr, {2, 2, 2}},
    {"DefaultTTL", &TV::ttl, 0, &TV::ttl, &FF::ttlFound, {3, 3, 3}},
    {"DefaultRcvWindow", &TV::rwin, 0, &TV::rwin, &FF::rwinFound, {4, 4, 4}},
    {"GlobalMaxTcpWindowSize", &TV::rwin, 0, nullptr, nullptr, {5, 5, 5}},
    {"PMTUBlackHoleDetect",
     &TV::pmtuBlackHoleDetect,
     0,
     &TV::pmtuBlackHoleDetect,
     &FF::pmtuBlackHoleDetectFound,
     {6, 6, 6}},
    {"PMTUDiscovery",
     &TV::pmtuDiscovery,
     0,
     &TV::pmtuDiscovery,
     &FF::pmtuDiscoveryFound,
     {7, 7, 7}},
    {"KeepAliveTime",
     &TV::keepAliveTime,
     0,
     &TV::keepAliveTime,
     &FF::keepAliveTimeFound,
     {8, 8, 8}},
    {"KeepAliveInterval",
     &TV::keepAliveInterval,
     0,
     &TV::keepAliveInterval,
     &FF::keepAliveIntervalFound,
     {9, 9, 9}},
};

// NT 4.0 reads "EnableICMPRedirects", Windows 2000 and later "EnableICMPRedirect":
// both are written, and the later one read wins for the value in force.
constexpr CatalogueValue kWinNtStackValues[] = {
    {"SackOpts", nullptr, 1, nullptr, nullptr, {1, 1, 1}},
    {"Tcp1323Opts", nullptr, 1, nullptr, nullptr, {2, 2, 2}},
    {"GlobalMaxTcpWindowSize", &TV::rwin, 0, nullptr, nullptr, {3, 7, 4}},
    {"TcpMaxDupAcks", nullptr, 2, nullptr, nullptr, {4, 3, 5}},
    {"DefaultTTL", &TV::ttl, 0, &TV::ttl, &FF::ttlFound, {5, 4, 6}},
    {"TcpWindowSize", &TV::rwin, 0, &TV::rwin, &FF::rwinFound, {6, 6, 3}},
    {"DefaultReceiveWindow", nullptr, 8192, nullptr, nullptr, {7, 5, 7}},
    {"EnablePMTUBHDetect",
     &TV::pmtuBlackHoleDetect,
     0,
     &TV::pmtuBlackHoleDetect,
     &FF::pmtuBlackHoleDetectFound,
     {8, 8, 8}},
    {"EnablePMTUDiscovery",
     &TV::pmtuDiscovery,
     0,
     &TV::pmtuDiscovery,
     &FF::pmtuDiscoveryFound,
     {9, 9, 9}},
    {"KeepAliveTime",
     &TV::keepAliveTime,
     0,
     &TV::keepAliveTime,
     &FF::keepAliveTimeFound,
     {10, 10, 10}},
    {"KeepAliveInterval",
     &TV::keepAliveInterval,
     0,
     &TV::keepAliveInterval,
     &FF::keepAliveIntervalFound,
     {11, 11, 11}},
    {"SYNAttackProtect",
     &TV::synAttackProtect,
     0,
     &TV::synAttackProtect,
     &FF::synAttackProtectFound,
     {12, 12, 12}},
    {"EnableICMPRedirects",
     &TV::icmpRedirects,
     0,
     &TV::icmpRedirects,
     &FF::icmpRedirectsFound,
     {13, 13, 13}},
    {"EnableICMPRedirect",
     &TV::icmpRedirects,
     0,
     &TV::icmpRedirects,
     &FF::icmpRedirectsFound,
     {14, 14, 14}},
};

constexpr KeyCatalogue kBrowser{reg::kCurrentUser, catalogue::kBrowserKey, Encoding::Number,
                                kBrowserValues};
constexpr KeyCatalogue kWin9xStack{reg::kLocalMachine, catalogue::kWin9xStackKey, Encoding::Text,
                                   kWin9xStackValues};
constexpr KeyCatalogue kWinNtStack{reg::kLocalMachine, catalogue::kWinNtStackKey, Encoding::Number,
                                   kWinNtStackValues};

constexpr LinkValue kWin9xLinks[] = {
    {"MaxMTU", catalogue::kMtuBackupName, catalogue::kMtuBackupKey, &TV::mtu, &FF::mtuFound},
    {"MaxMSS", catalogue::kMssBackupName, catalogue::kMssBackupKey, &TV::mss, &FF::mssFound},
};
constexpr LinkValue kWinNtLinks[] = {
    {"MTU", catalogue::kMtuBackupName, catalogue::kMtuBackupKey, &TV::mtu, &FF::mtuFound},
    {"MSS", catalogue::kMssBackupName, catalogue::kMssBackupKey, &TV::mss, &FF::mssFound},
};

}  // namespace

namespace catalogue {

const KeyCatalogue& Browser() {
    return kBrowser;
}

const KeyCatalogue& Stack(PlatformFamily family) {
    return family == Win9x ? kWin9xStack : kWinNtStack;
}

std::span<const LinkValue> Links(PlatformFamily family) {
    if (family == Win9x) return kWin9xLinks;
    return kWinNtLinks;
}

const char* ModemClassKey(PlatformFamily family) {
    return family == Win9x ? kWin9xModemKey : kWinNtModemKey;
}

std::uint32_t RegistryType(Encoding encoding) {
    return encoding == Encoding::Text ? reg::kSz : reg::kDword;
}

bool IsLinkList(std::string_view part) {
    return reg::SameName(part, kInterfacesBackupName);
}

std::vector<const CatalogueValue*> InOrder(const KeyCatalogue& key, Step step) {
    std::vector<const CatalogueValue*> result;
    result.reserve(key.values.size());
    for (const CatalogueValue& value : key.values) result.push_back(&value);
    const auto column = static_cast<std::size_t>(step);
    std::sort(result.begin(), result.end(), [column](const auto* a, const auto* b) {
        return a->order[column] < b->order[column];
    });
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
