// The Windows registry behind the RegistryStore interface (advapi32 alone).
#pragma once

#include "engine/RegistryStore.h"

// Each operation is the advapi32 call of the same name, with KEY_READ for
// reading and KEY_READ | KEY_WRITE for writing; the key handles are the
// system's own HKEYs.
class Win32RegistryStore final : public RegistryStore {
public:
    Win32RegistryStore() = default;

    reg::Status OpenKey(reg::Key parent, const char* path, reg::Access access,
                        reg::Key* result) override;
    reg::Status CreateKey(reg::Key parent, const char* path, reg::Key* result) override;
    reg::Status CloseKey(reg::Key key) override;
    reg::Status QueryValue(reg::Key key, const char* name, std::uint32_t* type, std::uint8_t* data,
                           std::uint32_t* size) override;
    reg::Status SetValue(reg::Key key, const char* name, std::uint32_t type,
                         const std::uint8_t* data, std::uint32_t size) override;
    reg::Status DeleteValue(reg::Key key, const char* name) override;
    reg::Status EnumKey(reg::Key key, std::uint32_t index, char* name,
                        std::uint32_t* nameLength) override;
    reg::Status EnumValue(reg::Key key, std::uint32_t index, char* name, std::uint32_t* nameLength,
                          std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override;
    reg::Status QueryInfoKey(reg::Key key, reg::KeyInfo* info) override;
    reg::Status DeleteKey(reg::Key parent, const char* path) override;
};
