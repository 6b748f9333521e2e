// A registry that is read as it is and never written: what a run would write or delete is
// kept instead. Show Changes and the preview of Windows' defaults run the real Reset and the
// real removal through it, so that what they list is what those commands will do.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/RegistryStore.h"

class DryRunStore : public RegistryStore {
public:
    explicit DryRunStore(RegistryStore& inner) : m_inner(inner) {}

    // One write the run made: the value set, or nothing for a value deleted.
    struct Write {
        reg::Key root;
        std::string path;  // below the root
        std::string name;
        std::optional<reg::Value> value;
    };
    const std::vector<Write>& Writes() const { return m_writes; }

    // Keys are opened for reading whatever access is asked for, and never made: a run that
    // would make one (or delete one) is told it may not.
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

private:
    // Where an open handle points: its root and its path below it.
    std::pair<reg::Key, std::string> Where(reg::Key key) const;

    RegistryStore& m_inner;
    std::map<reg::Key, std::pair<reg::Key, std::string>> m_open;
    std::vector<Write> m_writes;
};
