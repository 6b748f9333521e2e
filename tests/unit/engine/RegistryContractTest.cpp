// The registry contract on the in-memory store, and what only the memory store promises.
#include "tests/shared/MemoryRegistryStore.h"
#include "tests/shared/RegistryContractCases.h"

RegistryStore& ContractStore() {
    static MemoryRegistryStore store;
    return store;
}

namespace {

TEST(MemoryRegistryStore, ValuesEnumerateInCreationOrderAndHandlesAreCounted) {
    MemoryRegistryStore store;
    {
        reg::ScopedKey key =
            reg::Create(store, reg::kLocalMachine, "Enum\\Root\\Net\\0000\\Bindings");
        for (const char* name : {"NETBEUI\\0000", "MSTCP\\0003", "ipx\\0001", "MSTCP\\0002"}) {
            ASSERT_EQ(reg::WriteValue(store, key.get(), name, regtest::Text("")), reg::kSuccess);
        }
        ASSERT_EQ(store.DeleteValue(key.get(), "ipx\\0001"), reg::kSuccess);
        ASSERT_EQ(reg::WriteValue(store, key.get(), "Later", regtest::Text("")), reg::kSuccess);
        EXPECT_EQ(store.OpenHandleCount(), 1u);
    }
    EXPECT_EQ(store.OpenHandleCount(), 0u);
    EXPECT_EQ(regtest::ValueNames(store, reg::kLocalMachine, "Enum\\Root\\Net\\0000\\Bindings"),
              (std::vector<std::string>{"NETBEUI\\0000", "MSTCP\\0003", "MSTCP\\0002", "Later"}));
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

}  // namespace
