// The modem port-speed matcher and boost over modems with any "Properties": only the speed word
// of a modem capped at 115200 changes, to 921600, and nothing else in the registry.
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The record's highest port rate is the little-endian word at offset 24; capped means 115200
// (00 C2 01 00), of which the matcher needs the bytes up to offset 26.
bool IsCapped(const reg::Value& value) {
    return value.data.size() >= 27 && value.data[24 + 1] == 0xC2 && value.data[24 + 2] == 0x01;
}

// The "Properties" of a modem directly under the class key, seen from a snapshot's names.
bool IsModemProperties(const std::string& name, const std::string& classPrefix) {
    const std::string suffix = "\\PROPERTIES";
    if (name.size() <= classPrefix.size() + suffix.size() || !name.starts_with(classPrefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    const std::string modem =
        name.substr(classPrefix.size(), name.size() - classPrefix.size() - suffix.size());
    return modem.find('\\') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const PlatformFamily family = in.ConsumeBool() ? WinNT : Win9x;
    const PlatformFamily other = family == WinNT ? Win9x : WinNT;
    MemoryRegistryStore store;
    while (in.remaining_bytes() > 0) {
        const auto where = in.ConsumeIntegralInRange<int>(0, 3);
        std::string path = catalogue::ModemClassKey(where == 3 ? other : family);
        path += "\\" + in.ConsumeRandomLengthString(12);
        const std::string name = where == 2 ? in.ConsumeRandomLengthString(12) : "Properties";
        reg::Value value;
        value.type = where == 1 ? in.ConsumeIntegral<std::uint32_t>() : reg::kBinary;
        const std::string bytes = in.ConsumeRandomLengthString(64);
        value.data.assign(bytes.begin(), bytes.end());
        regtest::Put(store, reg::kLocalMachine, path, name.c_str(), value);
    }

    const regtest::Snapshot before = regtest::WholeSnapshot(store);
    const std::string classPrefix =
        regtest::Upper(std::string("HKLM\\") + catalogue::ModemClassKey(family) + "\\");
    bool anyCapped = false;
    for (const auto& [name, value] : before) {
        anyCapped = anyCapped || (IsModemProperties(name, classPrefix) && IsCapped(value));
    }
    Check(engine::ProbeModemPortSpeed(store, family) == anyCapped);
    Check(engine::BoostModemPortSpeed(store, family));
    Check(!engine::ProbeModemPortSpeed(store, family));
    Check(store.OpenHandleCount() == 0);

    const regtest::Snapshot after = regtest::WholeSnapshot(store);
    Check(after.size() == before.size());
    for (const auto& [name, old] : before) {
        const auto found = after.find(name);
        Check(found != after.end());
        const reg::Value& now = found->second;
        if (!IsModemProperties(name, classPrefix) || !IsCapped(old)) {
            Check(now == old);
            continue;
        }
        // The record is rewritten as binary data of the same length; of its bytes only the
        // speed word (as far as the record reaches) differs: 921600 is 00 10 0E 00.
        Check(now.type == reg::kBinary && now.data.size() == old.data.size());
        const std::uint8_t boosted[4] = {0x00, 0x10, 0x0E, 0x00};
        for (std::size_t i = 0; i < old.data.size(); ++i) {
            Check(now.data[i] == (i >= 24 && i < 28 ? boosted[i - 24] : old.data[i]));
        }
    }
    return 0;
}
