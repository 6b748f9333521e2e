// The registry contract on the real registry, through the Win32 backend.
#include <windows.h>

#include "engine/Win32RegistryStore.h"
#include "tests/shared/RegistryContractCases.h"

RegistryStore& ContractStore() {
    static Win32RegistryStore store;
    return store;
}

namespace {

TEST(Win32RegistryStore, RootsAreTheSystemsOwnHandles) {
    EXPECT_EQ(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(reg::kCurrentUser)),
              HKEY_CURRENT_USER);
    EXPECT_EQ(reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(reg::kLocalMachine)),
              HKEY_LOCAL_MACHINE);
}

}  // namespace
