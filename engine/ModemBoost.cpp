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

// Calls `visit(modems, name, properties)` for each capped modem until it
// returns false. False when a modem could not be examined: the class key or a
// modem's key exists but does not open, or its "Properties" cannot be read.
template <typename Visit>
bool ForEachCappedModem(RegistryStore& store, PlatformFamily family, Visit visit) {
    reg::Status status = reg::kSuccess;
    reg::ScopedKey modems =
        reg::Open(store, reg::kLocalMachine, catalogue::ModemClassKey(family), &status);
    if (!modems) return reg::IsAbsent(status);
    bool examined = true;
    const auto note = [&examined](reg::Status result) {
        if (result != reg::kSuccess && !reg::IsAbsent(result)) examined = false;
    };
    reg::SubKeyWalker walker(store, modems.get());
    std::string name;
    while (walker.Next(name)) {
        reg::ScopedKey modem = reg::Open(store, modems.get(), name.c_str(), &status);
        note(status);
        if (!modem) continue;
        reg::Value properties;
        status =
            reg::ValueReader(store, modem.get()).Read(catalogue::kModemPropertiesValue, properties);
        note(status);
        if (status != reg::kSuccess || !IsCappedAt115200(properties)) continue;
        modem.Close();
        if (!visit(modems.get(), name, properties)) return examined;
    }
    return examined && walker.status() == reg::kNoMoreItems;
}

}  // namespace

namespace engine {

bool ProbeModemPortSpeed(RegistryStore& store, PlatformFamily family) {
    bool found = false;
    ForEachCappedModem(store, family, [&found](reg::Key, const std::string&, const reg::Value&) {
        found = true;
        return false;
    });
    return found;
}

bool BoostModemPortSpeed(RegistryStore& store, PlatformFamily family) {
    bool raised = true;
    const bool examined = ForEachCappedModem(
        store, family, [&](reg::Key modems, const std::string& name, reg::Value properties) {
            // The whole word becomes 921600 (bytes 00 10 0E 00), as far as the value reaches.
            for (std::size_t i = 0; i < 4 && kMaxRateOffset + i < properties.data.size(); ++i) {
                properties.data[kMaxRateOffset + i] =
                    static_cast<std::uint8_t>(kBoostedRate >> (8 * i));
            }
            properties.type = reg::kBinary;
            reg::ScopedKey modem = reg::OpenForWrite(store, modems, name.c_str());
            if (!modem || reg::WriteValue(store, modem.get(), catalogue::kModemPropertiesValue,
                                          properties) != reg::kSuccess) {
                raised = false;
            }
            return true;
        });
    return examined && raised;
}

}  // namespace engine
