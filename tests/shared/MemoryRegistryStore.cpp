// The in-memory registry: a tree of keys with sorted subkeys and values kept in creation order.
#include "tests/shared/MemoryRegistryStore.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The longest value name the registry takes, and the longest key path the
// ANSI functions take (they convert it in a fixed buffer of 261 characters).
constexpr std::size_t kMaxValueNameLength = 16383;
constexpr std::size_t kMaxAnsiPathLength = 260;

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares as the registry does: by lower-cased characters, so "_" sorts
// before the letters.
int CompareNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(Lower(a[i]));
        const auto cb = static_cast<unsigned char>(Lower(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string UpperCopy(std::string_view name) {
    std::string result(name);
    for (char& c : result) c = Upper(c);
    return result;
}

std::string_view NameOrDefault(const char* name) {
    return name == nullptr ? std::string_view() : std::string_view(name);
}

}  // namespace

struct MemoryRegistryStore::Node {
    struct Value {
        std::string name;
        std::uint32_t type = reg::kNone;
        std::vector<std::uint8_t> data;
    };

    std::vector<std::pair<std::string, std::shared_ptr<Node>>> children;  // sorted by name
    std::unordered_map<std::string, std::shared_ptr<Node>> childIndex;    // upper-cased name
    std::vector<Value> values;                                            // in creation order
    std::unordered_map<std::string, std::size_t> valueIndex;              // upper-cased name
    bool deleted = false;
    bool writable = true;  // false: read-only to this user, and so is everything below

    auto ChildPosition(std::string_view name) {
        return std::lower_bound(
            children.begin(), children.end(), name,
            [](const auto& child, std::string_view n) { return CompareNames(child.first, n) < 0; });
    }

    std::shared_ptr<Node> Child(std::string_view name) {
        auto it = childIndex.find(UpperCopy(name));
        return it == childIndex.end() ? nullptr : it->second;
    }

    std::shared_ptr<Node> AddChild(std::string_view name) {
        auto node = std::make_shared<Node>();
        node->writable = writable;
        // Keys made in name order, the usual case, go at the end at no cost.
        auto position = children.empty() || CompareNames(children.back().first, name) < 0
                            ? children.end()
                            : ChildPosition(name);
        children.emplace(position, std::string(name), node);
        childIndex.emplace(UpperCopy(name), node);
        return node;
    }

    void RemoveChild(std::string_view name) {
        auto it = ChildPosition(name);
        it->second->MarkDeleted();
        children.erase(it);
        childIndex.erase(UpperCopy(name));
    }

    Value* FindValue(std::string_view name) {
        auto it = valueIndex.find(UpperCopy(name));
        return it == valueIndex.end() ? nullptr : &values[it->second];
    }

    void RemoveValue(std::string_view name) {
        auto it = valueIndex.find(UpperCopy(name));
        const std::size_t position = it->second;
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(position));
        valueIndex.erase(it);
        for (auto& entry : valueIndex) {
            if (entry.second > position) --entry.second;
        }
    }

    void MarkDeleted() {
        deleted = true;
        for (auto& child : children) child.second->MarkDeleted();
    }

    void DenyWrites() {
        writable = false;
        for (auto& child : children) child.second->DenyWrites();
    }
};

namespace {

using Node = MemoryRegistryStore::Node;

// Splits a key path into its names. Runs of backslashes separate as one, as
// the registry treats them; a path may not start with one.
reg::Status SplitPath(const char* path, std::vector<std::string_view>& names) {
    names.clear();
    if (path == nullptr) return reg::kSuccess;
    const std::string_view text(path);
    if (text.size() > kMaxAnsiPathLength) return reg::kMoreData;
    if (!text.empty() && text.front() == '\\') return reg::kBadPathname;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\\', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return reg::kSuccess;
}

}  // namespace

MemoryRegistryStore::MemoryRegistryStore()
    : m_currentUser(std::make_shared<Node>()), m_localMachine(std::make_shared<Node>()) {}

MemoryRegistryStore::~MemoryRegistryStore() = default;

std::shared_ptr<Node> MemoryRegistryStore::Resolve(reg::Key key) const {
    if (key == reg::kCurrentUser) return m_currentUser;
    if (key == reg::kLocalMachine) return m_localMachine;
    auto it = m_handles.find(static_cast<std::uintptr_t>(key));
    return it == m_handles.end() ? nullptr : it->second.node;
}

reg::Status MemoryRegistryStore::ResolveForWrite(reg::Key key, std::shared_ptr<Node>& node) const {
    node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    // The predefined roots are open for everything the key itself allows.
    auto it = m_handles.find(static_cast<std::uintptr_t>(key));
    if (it != m_handles.end() && it->second.access == reg::Access::Read) return reg::kAccessDenied;
    return node->writable ? reg::kSuccess : reg::kAccessDenied;
}

reg::Key MemoryRegistryStore::NewHandle(std::shared_ptr<Node> node, reg::Access access) {
    // Handles are even numbers far below the predefined roots, as real ones are.
    const std::uintptr_t value = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(value, Handle{std::move(node), access});
    return reg::Key{value};
}

bool MemoryRegistryStore::DenyWrites(reg::Key root, const char* path) {
    std::shared_ptr<Node> node = Resolve(root);
    std::vector<std::string_view> names;
    if (!node || SplitPath(path, names) != reg::kSuccess) return false;
    for (std::string_view name : names) {
        node = node->Child(name);
        if (!node) return false;
    }
    node->DenyWrites();
    return true;
}

reg::Status MemoryRegistryStore::OpenKey(reg::Key parent, const char* path, reg::Access access,
                                         reg::Key* result) {
    if (result == nullptr) return reg::kInvalidParameter;
    std::shared_ptr<Node> node = Resolve(parent);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    std::vector<std::string_view> names;
    if (const reg::Status status = SplitPath(path, names); status != reg::kSuccess) return status;
    for (std::string_view name : names) {
        node = node->Child(name);
        if (!node) return reg::kFileNotFound;
    }
    if (access == reg::Access::ReadWrite && !node->writable) return reg::kAccessDenied;
    *result = NewHandle(std::move(node), access);
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::CreateKey(reg::Key parent, const char* path, reg::Key* result) {
    if (result == nullptr) return reg::kInvalidParameter;
    std::shared_ptr<Node> node = Resolve(parent);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    std::vector<std::string_view> names;
    if (const reg::Status status = SplitPath(path, names); status != reg::kSuccess) return status;
    for (std::string_view name : names) {
        std::shared_ptr<Node> child = node->Child(name);
        if (!child && !node->writable) return reg::kAccessDenied;
        node = child ? std::move(child) : node->AddChild(name);
    }
    if (!node->writable) return reg::kAccessDenied;
    *result = NewHandle(std::move(node), reg::Access::ReadWrite);
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::CloseKey(reg::Key key) {
    if (key == reg::kCurrentUser || key == reg::kLocalMachine) return reg::kSuccess;
    return m_handles.erase(static_cast<std::uintptr_t>(key)) == 1 ? reg::kSuccess
                                                                  : reg::kInvalidHandle;
}

reg::Status MemoryRegistryStore::QueryValue(reg::Key key, const char* name, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* size) {
    const std::shared_ptr<Node> node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
    const Node::Value* value = node->FindValue(NameOrDefault(name));
    if (value == nullptr) return reg::kFileNotFound;
    const auto length = static_cast<std::uint32_t>(value->data.size());
    if (type != nullptr) *type = value->type;
    if (data != nullptr) {
        if (*size < length) {
            *size = length;
            return reg::kMoreData;
        }
        std::copy(value->data.begin(), value->data.end(), data);
        // Windows terminates unterminated text in the caller's buffer when
        // there is room, without counting the terminator.
        const bool text = value->type == reg::kSz || value->type == reg::kExpandSz ||
                          value->type == reg::kMultiSz;
        if (text && length > 0 && length < *size && data[length - 1] != 0) data[length] = 0;
    }
    if (size != nullptr) *size = length;
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::SetValue(reg::Key key, const char* name, std::uint32_t type,
                                          const std::uint8_t* data, std::uint32_t size) {
    std::shared_ptr<Node> node;
    if (const reg::Status status = ResolveForWrite(key, node); status != reg::kSuccess) {
        return status;
    }
    if (data == nullptr && size > 0) return reg::kInvalidParameter;
    const std::string_view valueName = NameOrDefault(name);
    if (valueName.size() > kMaxValueNameLength) return reg::kInvalidParameter;
    Node::Value* value = node->FindValue(valueName);
    if (value == nullptr) {
        node->valueIndex.emplace(UpperCopy(valueName), node->values.size());
        node->values.push_back({std::string(valueName), type, {}});
        value = &node->values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::DeleteValue(reg::Key key, const char* name) {
    std::shared_ptr<Node> node;
    if (const reg::Status status = ResolveForWrite(key, node); status != reg::kSuccess) {
        return status;
    }
    const std::string_view valueName = NameOrDefault(name);
    if (node->FindValue(valueName) == nullptr) return reg::kFileNotFound;
    node->RemoveValue(valueName);
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::EnumKey(reg::Key key, std::uint32_t index, char* name,
                                         std::uint32_t* nameLength) {
    const std::shared_ptr<Node> node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    if (name == nullptr || nameLength == nullptr) return reg::kInvalidParameter;
    if (index >= node->children.size()) return reg::kNoMoreItems;
    const std::string& childName = node->children[index].first;
    if (childName.size() + 1 > *nameLength) return reg::kMoreData;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *nameLength = static_cast<std::uint32_t>(childName.size());
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::EnumValue(reg::Key key, std::uint32_t index, char* name,
                                           std::uint32_t* nameLength, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* size) {
    const std::shared_ptr<Node> node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    if (name == nullptr || nameLength == nullptr) return reg::kInvalidParameter;
    if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
    if (index >= node->values.size()) return reg::kNoMoreItems;
    const Node::Value& value = node->values[index];
    const auto length = static_cast<std::uint32_t>(value.data.size());
    if (value.name.size() + 1 > *nameLength) return reg::kMoreData;
    if (data != nullptr && *size < length) {
        *size = length;
        return reg::kMoreData;
    }
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameLength = static_cast<std::uint32_t>(value.name.size());
    if (type != nullptr) *type = value.type;
    if (data != nullptr) std::copy(value.data.begin(), value.data.end(), data);
    if (size != nullptr) *size = length;
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::QueryInfoKey(reg::Key key, reg::KeyInfo* info) {
    const std::shared_ptr<Node> node = Resolve(key);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    if (info == nullptr) return reg::kInvalidParameter;
    *info = reg::KeyInfo{};
    info->subKeys = static_cast<std::uint32_t>(node->children.size());
    for (const auto& child : node->children) {
        info->maxSubKeyLen =
            std::max(info->maxSubKeyLen, static_cast<std::uint32_t>(child.first.size()));
    }
    info->values = static_cast<std::uint32_t>(node->values.size());
    for (const Node::Value& value : node->values) {
        info->maxValueNameLen =
            std::max(info->maxValueNameLen, static_cast<std::uint32_t>(value.name.size()));
        info->maxValueLen =
            std::max(info->maxValueLen, static_cast<std::uint32_t>(value.data.size()));
    }
    return reg::kSuccess;
}

reg::Status MemoryRegistryStore::DeleteKey(reg::Key parent, const char* path) {
    std::shared_ptr<Node> node = Resolve(parent);
    if (!node) return reg::kInvalidHandle;
    if (node->deleted) return reg::kKeyDeleted;
    std::vector<std::string_view> names;
    if (const reg::Status status = SplitPath(path, names); status != reg::kSuccess) return status;
    if (names.empty()) return reg::kInvalidParameter;
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        node = node->Child(names[i]);
        if (!node) return reg::kFileNotFound;
    }
    const std::shared_ptr<Node> target = node->Child(names.back());
    if (!target) return reg::kFileNotFound;
    if (!node->writable || !target->writable || !target->children.empty()) {
        return reg::kAccessDenied;
    }
    node->RemoveChild(names.back());
    return reg::kSuccess;
}
