// Finding modems whose port speed is capped at 115200 and raising the cap.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"

namespace {

// "Properties" is the modem's REGDEVCAPS record; its 32-bit word at offset 24
// is the highest port rate. A cap of 115200 is 0x0001C200: bytes 25 and 26.
constexpr std::size_t kMaxRateOffset = 24;
constexpr std::size_t kMatchLength = 27;
constexpr std::uint32_t kBoostedRate = 921600;

bool IsCappedAt115200(const reg::Value& properties) {
    return properties.data.size() >= kMatchLength && properties.data[25] == 0xC2 &&
           properties.data[26] == 0x01;
}

// Calls `visit(modemKey, properties)` for each capped modem until it returns false.
template <typename Visit>
void ForEachCappedModem(RegistryStore& store, PlatformFamily family, Visit visit) {
    reg::ScopedKey modems = reg::Open(store, reg::kLocalMachine, catalogue::ModemClassKey(family));
    if (!modems) return;
    reg::SubKeyWalker walker(store, modems.get());
    std::string name;
    while (walker.Next(name)) {
        reg::ScopedKey modem = reg::Open(store, modems.get(), name.c_str());
        reg::Value properties;
        if (!modem ||
            reg::ReadValue(store, modem.get(), "Properties", properties) != reg::kSuccess ||
            !IsCappedAt115200(properties)) {
            continue;
        }
        if (!visit(modem.get(), properties)) return;
    }
}

}  // namespace

bool ProbeModemPortSpeed(RegistryStore& store, PlatformFamily family) {
    bool found = false;
    ForEachCappedModem(store, family, [&found](reg::Key, const reg::Value&) {
        found = true;
        return false;
    });
    return found;
}

void BoostModemPortSpeed(RegistryStore& store, PlatformFamily family) {
    ForEachCappedModem(store, family, [&store](reg::Key modem, reg::Value properties) {
        // The whole word becomes 921600 (bytes 00 10 0E 00), as far as the value reaches.
        for (std::size_t i = 0; i < 4 && kMaxRateOffset + i < properties.data.size(); ++i) {
            properties.data[kMaxRateOffset + i] =
                static_cast<std::uint8_t>(kBoostedRate >> (8 * i));
        }
        properties.type = reg::kBinary;
        reg::WriteValue(store, modem, "Properties", properties);  // a failure leaves it as it was
        return true;
    });
}
