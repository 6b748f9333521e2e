// The tunable values, the flags that say which of them the registry held, and the kind of
// connection they are chosen for.
#pragma once

#include <cstdint>

// How the machine reaches the internet. The numbering is not the order of the
// radio buttons on the first page.
enum ConnectionType : std::int32_t {
    DialUp = 0,
    DSL = 1,
    LAN = 2,
    CableModem = 3,
};

// Field order is fixed: the wizard's three instances are parallel by position.
struct TuningValues {
    std::int32_t pmtuDiscovery = 0;
    std::int32_t pmtuBlackHoleDetect = 0;
    std::int32_t icmpRedirects = 0;
    std::int32_t mtu = 0;
    std::int32_t mss = 0;
    std::int32_t rwin = 0;
    std::int32_t ttl = 0;
    std::int32_t keepAliveTime = 0;
    std::int32_t keepAliveInterval = 0;
    std::int32_t synAttackProtect = 0;
    std::int32_t maxConnectionsPer1_0Server = 0;
    std::int32_t maxConnectionsPerServer = 0;

    bool operator==(const TuningValues&) const = default;
};

// Set by the capture when a value was present and readable; a field of the
// values in force means something only while its flag is set.
struct FoundFlags {
    bool pmtuDiscoveryFound = false;
    bool pmtuBlackHoleDetectFound = false;
    bool icmpRedirectsFound = false;
    bool mtuFound = false;
    bool mssFound = false;
    bool rwinFound = false;
    bool ttlFound = false;
    bool keepAliveTimeFound = false;
    bool keepAliveIntervalFound = false;
    bool synAttackProtectFound = false;
    bool maxConnectionsPer1_0ServerFound = false;
    bool maxConnectionsPerServerFound = false;

    bool operator==(const FoundFlags&) const = default;
};
