// An in-memory registry that behaves as the Windows registry does, for tests and benchmarks.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>

#include "engine/RegistryStore.h"

// Key and value names compare without regard to (ASCII) case and keep the
// case they were created with; subkeys enumerate in case-insensitive name
// order; values enumerate in creation order, as Windows does (Wine sorts
// them by name); types and data are kept byte for byte. Keys can be made
// read-only, as the system's keys are to a user without administrator rights.
class MemoryRegistryStore final : public RegistryStore {
public:
    MemoryRegistryStore();
    ~MemoryRegistryStore() override;
    MemoryRegistryStore(const MemoryRegistryStore&) = delete;
    MemoryRegistryStore& operator=(const MemoryRegistryStore&) = delete;

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

    // Handles opened and not yet closed (the engine must leave none behind).
    std::size_t OpenHandleCount() const { return m_handles.size(); }

    // Refuses writing to the existing key at `path` and everything below it,
    // subkeys made later included: opening it for writing, creating below it,
    // setting or deleting its values and deleting it fail with kAccessDenied.
    // An empty path makes the whole root read-only. False when the key is missing.
    bool DenyWrites(reg::Key root, const char* path);

    struct Node;

private:
    struct Handle {
        std::shared_ptr<Node> node;
        reg::Access access;
    };
    std::shared_ptr<Node> Resolve(reg::Key key) const;
    // The key behind a handle that may write, or the reason it may not.
    reg::Status ResolveForWrite(reg::Key key, std::shared_ptr<Node>& node) const;
    reg::Key NewHandle(std::shared_ptr<Node> node, reg::Access access);

    std::shared_ptr<Node> m_currentUser;
    std::shared_ptr<Node> m_localMachine;
    std::unordered_map<std::uintptr_t, Handle> m_handles;
    std::uintptr_t m_nextHandle = 0x100;
};
