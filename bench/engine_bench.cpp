// Capture, apply, restore and the modem probe on the memory store, by number of interfaces and
// modems.
#include <benchmark/benchmark.h>
#include <string>

#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryTestSupport.h"

namespace {

using namespace engine;

void Put(RegistryStore& store, reg::Key parent, const std::string& path, const char* name,
         const reg::Value& value) {
    reg::ScopedKey key = reg::Create(store, parent, path.c_str());
    reg::WriteValue(store, key.get(), name, value);
}

// A system with `count` interfaces (each with MTU and MSS) or, on Win9x,
// network entries, and `count` modems (none capped, so that every pass
// leaves them as they are).
void Seed(RegistryStore& store, PlatformFamily family, int count) {
    using namespace catalogue;
    for (const CatalogueValue& value : Stack(family).values) {
        Put(store, reg::kLocalMachine, Stack(family).path, value.name,
            EncodeValue(Stack(family).encoding, 1000));
    }
    Put(store, reg::kCurrentUser, kBrowserKey, "MaxConnectionsPerServer",
        EncodeValue(Encoding::Number, 2));
    reg::ScopedKey interfaces = reg::Create(store, reg::kLocalMachine, kInterfacesKey);
    reg::ScopedKey modems = reg::Create(store, reg::kLocalMachine, ModemClassKey(family));
    for (int i = 0; i < count; ++i) {
        std::string name = "{";
        name += std::to_string(100000 + i);
        name += "-4D36E972-E325-11CE-BFC1}";
        reg::ScopedKey key = reg::Create(store, interfaces.get(), name.c_str());
        reg::WriteValue(store, key.get(), "MTU", EncodeValue(Encoding::Number, 1500));
        reg::WriteValue(store, key.get(), "MSS", EncodeValue(Encoding::Number, 1460));
        reg::ScopedKey modem = reg::Create(store, modems.get(), std::to_string(i).c_str());
        reg::WriteValue(store, modem.get(), "Properties",
                        reg::Value{reg::kBinary, std::vector<std::uint8_t>(32, 0x10)});
    }
    // Win9x: network entries to search before the dial-up adapter, found last.
    if (family == Win9x) {
        reg::ScopedKey net = reg::Create(store, reg::kLocalMachine, kEnumRootNetKey);
        for (int i = 0; i < count; ++i) {
            reg::ScopedKey entry =
                reg::Create(store, net.get(), std::to_string(100000 + i).c_str());
            reg::WriteValue(store, entry.get(), "DeviceDesc", reg::Value{reg::kSz, EncodeText(i)});
        }
        const std::string adapter = std::string(kEnumRootNetKey) + "\\999999";
        Put(store, reg::kLocalMachine, adapter, "DeviceDesc",
            reg::Value{
                reg::kSz,
                {'D', 'i', 'a', 'l', '-', 'U', 'p', ' ', 'A', 'd', 'a', 'p', 't', 'e', 'r', 0}});
        Put(store, reg::kLocalMachine, adapter + "\\Bindings", "MSTCP\\0001",
            reg::Value{reg::kSz, {0}});
        Put(store, reg::kLocalMachine, std::string(kEnumMstcpKeyPrefix) + "0001", "Driver",
            reg::Value{reg::kSz,
                       {'N', 'e', 't', 'T', 'r', 'a', 'n', 's', '\\', '0', '0', '0', '2', 0}});
        Put(store, reg::kLocalMachine, std::string(kNetTransKeyPrefix) + "0002", "MaxMTU",
            EncodeValue(Encoding::Text, 576));
    }
}

// The registry calls of one pass, counted through a wrapper that never fails: the engine's
// own cost, whatever each call costs the store that answers it (the memory store finds a
// key in logarithmic time, the platform's registry otherwise).
template <typename Pass>
void CountCalls(benchmark::State& state, RegistryStore& store, Pass pass) {
    regtest::FaultInjectingStore counter(store, -1);
    pass(counter);
    state.counters["calls"] = static_cast<double>(counter.operations());
}

const TuningValues kChosen{1, 1, 0, 1500, 1460, 64240, 64, 7200000, 1000, 2, 20, 20};

void BM_Capture(benchmark::State& state, PlatformFamily family) {
    MemoryRegistryStore store;
    Seed(store, family, static_cast<int>(state.range(0)));
    CountCalls(state, store, [&](RegistryStore& counted) {
        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(counted, family, inForce, found);
    });
    for (auto _ : state) {
        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(store, family, inForce, found);
        benchmark::DoNotOptimize(inForce);
    }
    state.SetComplexityN(state.range(0));
}

void BM_Apply(benchmark::State& state, PlatformFamily family) {
    MemoryRegistryStore store;
    Seed(store, family, static_cast<int>(state.range(0)));
    TuningValues inForce;
    FoundFlags found;
    regtest::Capture(store, family, inForce, found);
    CountCalls(state, store,
               [&](RegistryStore& counted) { regtest::Finish(counted, family, kChosen, false); });
    for (auto _ : state) regtest::Finish(store, family, kChosen, false);
    state.SetComplexityN(state.range(0));
}

// A whole wizard run and Reset; the registry ends as it started.
void BM_CaptureApplyRestore(benchmark::State& state, PlatformFamily family) {
    MemoryRegistryStore store;
    Seed(store, family, static_cast<int>(state.range(0)));
    CountCalls(state, store, [&](RegistryStore& counted) {
        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(counted, family, inForce, found);
        regtest::Finish(counted, family, kChosen, false);
        RestoreSettings(counted, regtest::TypicalRelease(family));
    });
    for (auto _ : state) {
        TuningValues inForce;
        FoundFlags found;
        regtest::Capture(store, family, inForce, found);
        regtest::Finish(store, family, kChosen, false);
        RestoreSettings(store, regtest::TypicalRelease(family));
    }
    state.SetComplexityN(state.range(0));
}

void BM_ProbeModems(benchmark::State& state, PlatformFamily family) {
    MemoryRegistryStore store;
    Seed(store, family, static_cast<int>(state.range(0)));
    CountCalls(state, store, [&](RegistryStore& counted) { ProbeModemPortSpeed(counted, family); });
    for (auto _ : state) benchmark::DoNotOptimize(ProbeModemPortSpeed(store, family));
    state.SetComplexityN(state.range(0));
}

#define VORNEL_ENGINE_BENCH(fn)                                                    \
    BENCHMARK_CAPTURE(fn, WinNT, WinNT)->Arg(1)->Arg(64)->Arg(4096)->Complexity(); \
    BENCHMARK_CAPTURE(fn, Win9x, Win9x)->Arg(1)->Arg(64)->Arg(4096)->Complexity()

VORNEL_ENGINE_BENCH(BM_Capture);
VORNEL_ENGINE_BENCH(BM_Apply);
VORNEL_ENGINE_BENCH(BM_CaptureApplyRestore);
VORNEL_ENGINE_BENCH(BM_ProbeModems);

}  // namespace
