// The registry read through, and the writes of a run kept aside.
#include "engine/DryRunStore.h"

std::pair<reg::Key, std::string> DryRunStore::Where(reg::Key key) const {
    const auto found = m_open.find(key);
    if (found != m_open.end()) return found->second;
    return {key, std::string()};  // a predefined root
}

reg::Status DryRunStore::OpenKey(reg::Key parent, const char* path, reg::Access, reg::Key* result) {
    const reg::Status status = m_inner.OpenKey(parent, path, reg::Access::Read, result);
    if (status != reg::kSuccess) return status;
    auto [root, where] = Where(parent);
    if (path != nullptr && *path != '\0') where = where.empty() ? path : where + "\\" + path;
    m_open[*result] = {root, where};
    return status;
}

reg::Status DryRunStore::CreateKey(reg::Key parent, const char* path, reg::Key* result) {
    const reg::Status status = OpenKey(parent, path, reg::Access::ReadWrite, result);
    return status == reg::kFileNotFound ? reg::kAccessDenied : status;
}

reg::Status DryRunStore::CloseKey(reg::Key key) {
    m_open.erase(key);
    return m_inner.CloseKey(key);
}

reg::Status DryRunStore::QueryValue(reg::Key key, const char* name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    return m_inner.QueryValue(key, name, type, data, size);
}

reg::Status DryRunStore::SetValue(reg::Key key, const char* name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    auto [root, path] = Where(key);
    reg::Value value{type, std::vector<std::uint8_t>(data, data + size)};
    m_writes.push_back({root, std::move(path), name != nullptr ? name : "", std::move(value)});
    return reg::kSuccess;
}

reg::Status DryRunStore::DeleteValue(reg::Key key, const char* name) {
    std::uint32_t size = 0;
    const reg::Status status = m_inner.QueryValue(key, name, nullptr, nullptr, &size);
    if (status != reg::kSuccess) return status;
    auto [root, path] = Where(key);
    m_writes.push_back({root, std::move(path), name != nullptr ? name : "", std::nullopt});
    return reg::kSuccess;
}

reg::Status DryRunStore::EnumKey(reg::Key key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLength) {
    return m_inner.EnumKey(key, index, name, nameLength);
}

reg::Status DryRunStore::EnumValue(reg::Key key, std::uint32_t index, char* name,
                                   std::uint32_t* nameLength, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) {
    return m_inner.EnumValue(key, index, name, nameLength, type, data, size);
}

reg::Status DryRunStore::QueryInfoKey(reg::Key key, reg::KeyInfo* info) {
    return m_inner.QueryInfoKey(key, info);
}

reg::Status DryRunStore::DeleteKey(reg::Key, const char*) {
    return reg::kAccessDenied;
}
