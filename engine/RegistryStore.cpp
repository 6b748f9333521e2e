// Whole-value reads and writes, key helpers and subkey walking over any RegistryStore.
#include "engine/RegistryStore.h"

#include <algorithm>

namespace reg {

namespace {

// A value can change size between the size query and the read (another
// writer); a few retries cover that without looping forever.
constexpr int kReadAttempts = 4;

// The longest key name the registry allows, plus its terminator.
constexpr std::uint32_t kDefaultNameBuffer = 256;

}  // namespace

namespace {

ScopedKey OpenWith(RegistryStore& store, Key parent, const char* path, Access access,
                   Status* status) {
    Key key = Key::null;
    const Status result = store.OpenKey(parent, path, access, &key);
    if (status != nullptr) *status = result;
    if (result != kSuccess) return {};
    return ScopedKey(store, key);
}

}  // namespace

ScopedKey Open(RegistryStore& store, Key parent, const char* path, Status* status) {
    return OpenWith(store, parent, path, Access::Read, status);
}

ScopedKey OpenForWrite(RegistryStore& store, Key parent, const char* path, Status* status) {
    return OpenWith(store, parent, path, Access::ReadWrite, status);
}

ScopedKey Create(RegistryStore& store, Key parent, const char* path, Status* status) {
    Key key = Key::null;
    const Status result = store.CreateKey(parent, path, &key);
    if (status != nullptr) *status = result;
    if (result != kSuccess) return {};
    return ScopedKey(store, key);
}

bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::string TextOf(const Value& value) {
    std::string text(value.data.begin(), value.data.end());
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

Status ReadValue(RegistryStore& store, Key key, const char* name, Value& value) {
    if (key == Key::null) return kFileNotFound;
    Status status = kMoreData;
    for (int attempt = 0; attempt < kReadAttempts && status == kMoreData; ++attempt) {
        std::uint32_t size = 0;
        std::uint32_t type = kNone;
        status = store.QueryValue(key, name, &type, nullptr, &size);
        if (status != kSuccess) return status;
        // One spare byte: some systems terminate text in the buffer when room allows.
        value.data.assign(static_cast<std::size_t>(size) + 1, 0);
        size += 1;
        status = store.QueryValue(key, name, &type, value.data.data(), &size);
        if (status == kSuccess) {
            value.type = type;
            value.data.resize(size);
        }
    }
    if (status != kSuccess) value.data.clear();
    return status;
}

Status WriteValue(RegistryStore& store, Key key, const char* name, const Value& value) {
    if (key == Key::null) return kInvalidHandle;
    return store.SetValue(key, name, value.type, value.data.data(),
                          static_cast<std::uint32_t>(value.data.size()));
}

Status ValueReader::Read(const char* name, Value& value) {
    if (m_store == nullptr) return kFileNotFound;
    const Status status = ReadValue(*m_store, m_key, name, value);
    if (status != kFileNotFound) return status;
    if (!m_walked) {
        m_walked = true;
        ValueWalker walker(*m_store, m_key);
        std::string found;
        while (walker.Next(found)) m_names.push_back(found);
        m_walk = walker.status();
    }
    if (m_walk != kNoMoreItems) return m_walk;
    const bool listed = std::any_of(m_names.begin(), m_names.end(), [&](const std::string& other) {
        return SameName(other, name);
    });
    return listed ? kBadKey : kFileNotFound;
}

Status DeleteValueProven(RegistryStore& store, Key key, const char* name) {
    const Status status = store.DeleteValue(key, name);
    if (status != kFileNotFound) return status;
    Value value;
    const Status read = ValueReader(store, key).Read(name, value);
    return read == kSuccess ? kBadKey : read;
}

Status ReadTree(RegistryStore& store, Key key, KeyImage& image) {
    image.values.clear();
    image.subKeys.clear();
    ValueWalker values(store, key);
    std::string name;
    Value value;
    while (values.Next(name, &value)) image.values.emplace_back(name, value);
    if (values.status() != kNoMoreItems) return values.status();
    SubKeyWalker subKeys(store, key);
    while (subKeys.Next(name)) {
        Status status = kSuccess;
        ScopedKey child = Open(store, key, name.c_str(), &status);
        if (!child) return status;
        KeyImage& sub = image.subKeys.emplace_back();
        sub.name = name;
        if (status = ReadTree(store, child.get(), sub); status != kSuccess) return status;
    }
    return subKeys.status() == kNoMoreItems ? kSuccess : subKeys.status();
}

namespace {

Status WriteInto(RegistryStore& store, Key key, const KeyImage& image) {
    for (const KeyImage& sub : image.subKeys) {
        Status status = kSuccess;
        ScopedKey child = Create(store, key, sub.name.c_str(), &status);
        if (!child) return status;
        if (status = WriteInto(store, child.get(), sub); status != kSuccess) return status;
    }
    for (const auto& [name, value] : image.values) {
        if (const Status status = WriteValue(store, key, name.c_str(), value); status != kSuccess) {
            return status;
        }
    }
    return kSuccess;
}

}  // namespace

Status WriteTree(RegistryStore& store, Key parent, const char* path, const KeyImage& image) {
    Status status = kSuccess;
    ScopedKey key = Create(store, parent, path, &status);
    if (!key) return status;
    return WriteInto(store, key.get(), image);
}

Status DeleteTree(RegistryStore& store, Key parent, const char* path) {
    if (path == nullptr || *path == '\0') return kInvalidParameter;
    {
        Status status = kSuccess;
        ScopedKey key = OpenForWrite(store, parent, path, &status);
        if (!key) return status;
        // The first subkey is taken again after each delete, as deleting shifts
        // the enumeration; a key name has at most 255 characters.
        for (;;) {
            char name[kDefaultNameBuffer];
            std::uint32_t length = kDefaultNameBuffer;
            status = store.EnumKey(key.get(), 0, name, &length);
            // The key itself gone meanwhile: the delete below tells whether it is.
            if (status == kNoMoreItems || status == kFileNotFound) break;
            if (status == kSuccess) status = DeleteTree(store, key.get(), name);
            // A subkey listed a moment ago and now not found is no proof of anything.
            if (status == kFileNotFound) return kBadKey;
            if (status != kSuccess) return status;
        }
    }
    const Status status = store.DeleteKey(parent, path);
    if (status != kFileNotFound) return status;
    Status check = kSuccess;
    if (Open(store, parent, path, &check)) return kBadKey;
    return check;
}

SubKeyWalker::SubKeyWalker(RegistryStore& store, Key key) : m_store(store), m_key(key) {
    KeyInfo info;
    m_status = m_store.QueryInfoKey(m_key, &info);
    m_buffer.assign(m_status == kSuccess ? info.maxSubKeyLen + 1 : kDefaultNameBuffer, '\0');
    m_status = kSuccess;
}

bool SubKeyWalker::Next(std::string& name) {
    if (m_status != kSuccess) return false;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t length = static_cast<std::uint32_t>(m_buffer.size());
        m_status = m_store.EnumKey(m_key, m_index, m_buffer.data(), &length);
        if (m_status == kSuccess) {
            name.assign(m_buffer.data(), length);
            ++m_index;
            return true;
        }
        if (m_status != kMoreData) return false;
        KeyInfo info;
        const std::size_t grown = m_store.QueryInfoKey(m_key, &info) == kSuccess
                                      ? static_cast<std::size_t>(info.maxSubKeyLen) + 1
                                      : m_buffer.size() * 2;
        m_buffer.assign(grown > m_buffer.size() ? grown : m_buffer.size() * 2, '\0');
    }
    return false;
}

ValueWalker::ValueWalker(RegistryStore& store, Key key) : m_store(store), m_key(key) {
    KeyInfo info;
    m_status = m_store.QueryInfoKey(m_key, &info);
    m_name.assign(m_status == kSuccess ? info.maxValueNameLen + 1 : kDefaultNameBuffer, '\0');
    m_data.assign(m_status == kSuccess ? info.maxValueLen + 1 : kDefaultNameBuffer, 0);
    m_status = kSuccess;
}

bool ValueWalker::Next(std::string& name, Value* value) {
    if (m_status != kSuccess) return false;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        std::uint32_t nameLength = static_cast<std::uint32_t>(m_name.size());
        std::uint32_t type = kNone;
        std::uint32_t size = static_cast<std::uint32_t>(m_data.size());
        m_status = m_store.EnumValue(m_key, m_index, m_name.data(), &nameLength, &type,
                                     value != nullptr ? m_data.data() : nullptr,
                                     value != nullptr ? &size : nullptr);
        if (m_status == kSuccess) {
            name.assign(m_name.data(), nameLength);
            if (value != nullptr) {
                value->type = type;
                value->data.assign(m_data.begin(),
                                   m_data.begin() + static_cast<std::ptrdiff_t>(size));
            }
            ++m_index;
            return true;
        }
        if (m_status != kMoreData) return false;
        // The key changed meanwhile: size both buffers again.
        KeyInfo info;
        if (m_store.QueryInfoKey(m_key, &info) == kSuccess) {
            m_name.resize(std::max<std::size_t>(m_name.size(), info.maxValueNameLen + 1));
            m_data.resize(std::max<std::size_t>(m_data.size(), info.maxValueLen + 1));
        }
        m_name.resize(m_name.size() * 2);
        m_data.resize(std::max<std::size_t>(m_data.size() * 2, size));
    }
    return false;
}

}  // namespace reg
