// Registry preparation and inspection for the end-to-end tests.
#include "e2e/Registry.h"

#include <shlwapi.h>

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace e2e {
namespace {

std::string Str(std::string_view text) {
    return std::string(text);
}

const char* RootName(HKEY root) {
    if (root == HKEY_CURRENT_USER) return "HKCU";
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    return "HK?";
}

std::string Describe(HKEY root, std::string_view path, std::string_view name = {}) {
    std::string where = std::string(RootName(root)) + "\\" + Str(path);
    if (!name.empty()) where += " [" + Str(name) + "]";
    return where;
}

}  // namespace

RegValue RegValue::String(std::string_view text) {
    RegValue value{REG_SZ, Str(text)};
    value.bytes.push_back('\0');
    return value;
}

RegValue RegValue::Dword(DWORD number) {
    RegValue value{REG_DWORD, std::string(sizeof number, '\0')};
    memcpy(value.bytes.data(), &number, sizeof number);
    return value;
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        if (m_key) RegCloseKey(m_key);
        m_key = other.m_key;
        other.m_key = nullptr;
    }
    return *this;
}

RegKey::~RegKey() {
    if (m_key) RegCloseKey(m_key);
}

RegKey RegKey::Open(HKEY root, std::string_view path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, Str(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return RegKey(key);
}

RegKey RegKey::Create(HKEY root, std::string_view path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, Str(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return RegKey(key);
}

bool KeyExists(HKEY root, std::string_view path) {
    return static_cast<bool>(RegKey::Open(root, path, KEY_READ));
}

void DeleteKeyTree(HKEY root, std::string_view path) {
    const DWORD result = SHDeleteKeyA(root, Str(path).c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
        ADD_FAILURE() << "cannot delete " << Describe(root, path) << " (error " << result << ")";
    }
}

void CreateKey(HKEY root, std::string_view path) {
    if (!RegKey::Create(root, path)) ADD_FAILURE() << "cannot create " << Describe(root, path);
}

void SetValue(HKEY root, std::string_view path, std::string_view name, const RegValue& value) {
    RegKey key = RegKey::Create(root, path);
    if (!key) {
        ADD_FAILURE() << "cannot create " << Describe(root, path);
        return;
    }
    const LONG result = RegSetValueExA(key.Get(), Str(name).c_str(), 0, value.type,
                                       reinterpret_cast<const BYTE*>(value.bytes.data()),
                                       static_cast<DWORD>(value.bytes.size()));
    if (result != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot set " << Describe(root, path, name) << " (error " << result << ")";
    }
}

void SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text) {
    SetValue(root, path, name, RegValue::String(text));
}

void SetDword(HKEY root, std::string_view path, std::string_view name, DWORD value) {
    SetValue(root, path, name, RegValue::Dword(value));
}

void DeleteValue(HKEY root, std::string_view path, std::string_view name) {
    RegKey key = RegKey::Open(root, path);
    if (key) RegDeleteValueA(key.Get(), Str(name).c_str());
}

std::optional<RegValue> GetValue(HKEY root, std::string_view path, std::string_view name) {
    RegKey key = RegKey::Open(root, path, KEY_READ);
    if (!key) return std::nullopt;
    const std::string valueName = Str(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegValue value{type, std::string(size, '\0')};
    if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.bytes.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

std::optional<std::string> GetString(HKEY root, std::string_view path, std::string_view name) {
    std::optional<RegValue> value = GetValue(root, path, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
    std::string text = value->bytes;
    if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

std::optional<DWORD> GetDword(HKEY root, std::string_view path, std::string_view name) {
    std::optional<RegValue> value = GetValue(root, path, name);
    if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    memcpy(&number, value->bytes.data(), sizeof number);
    return number;
}

std::optional<KeyTree> ReadKeyTree(HKEY root, std::string_view path) {
    RegKey key = RegKey::Open(root, path, KEY_READ);
    if (!key) return std::nullopt;
    KeyTree tree;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            break;
        }
        if (std::optional<RegValue> value = GetValue(key.Get(), "", name)) {
            tree.values[name] = *value;
        }
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key.Get(), index, name, &nameLength, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS) {
            break;
        }
        const std::string child = std::string(path) + "\\" + name;
        if (std::optional<KeyTree> sub = ReadKeyTree(root, child)) tree.subkeys[name] = *sub;
    }
    return tree;
}

void WriteKeyTree(HKEY root, std::string_view path, const KeyTree& tree) {
    DeleteKeyTree(root, path);
    CreateKey(root, path);
    for (const auto& [name, value] : tree.values) SetValue(root, path, name, value);
    for (const auto& [name, sub] : tree.subkeys) {
        WriteKeyTree(root, std::string(path) + "\\" + name, sub);
    }
}

ScopedKeyRestore::ScopedKeyRestore(HKEY root, std::string path)
    : m_root(root), m_path(std::move(path)), m_saved(ReadKeyTree(m_root, m_path)) {}

ScopedKeyRestore::~ScopedKeyRestore() {
    if (m_saved) {
        WriteKeyTree(m_root, m_path, *m_saved);
    } else {
        DeleteKeyTree(m_root, m_path);
    }
}

namespace {

// Everyone may do everything, or everything but change the key.
void SetDacl(HKEY key, bool denyWrites) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    const DWORD aceSize = sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone);
    std::vector<BYTE> aclBytes(sizeof(ACL) + 2 * aceSize);
    auto* acl = reinterpret_cast<ACL*>(aclBytes.data());
    bool built = InitializeAcl(acl, static_cast<DWORD>(aclBytes.size()), ACL_REVISION) != FALSE;
    if (denyWrites) {
        built = built && AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                                            everyone) != FALSE;
    }
    built = built && AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone) != FALSE;
    SECURITY_DESCRIPTOR descriptor;
    built = built && InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    const LONG status = built ? RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor)
                              : ERROR_INVALID_PARAMETER;
    FreeSid(everyone);
    EXPECT_EQ(status, ERROR_SUCCESS);
}

void SetDaclOfTree(HKEY root, const std::string& path, bool denyWrites) {
    RegKey key = RegKey::Open(root, path, READ_CONTROL | WRITE_DAC | KEY_ENUMERATE_SUB_KEYS);
    ASSERT_TRUE(key) << path;
    SetDacl(key.Get(), denyWrites);
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        SetDaclOfTree(root, path + "\\" + std::string(name, length), denyWrites);
    }
}

}  // namespace

WritesDenied::WritesDenied(HKEY root, std::string path) : m_root(root), m_path(std::move(path)) {
    SetDaclOfTree(m_root, m_path, true);
}

WritesDenied::~WritesDenied() {
    SetDaclOfTree(m_root, m_path, false);
}

void WriteProductKey(const ProductSettings& settings) {
    DeleteProductKey();
    CreateKey(HKEY_CURRENT_USER, kProductKey);
    if (settings.appPath) SetString(HKEY_CURRENT_USER, kProductKey, "AppPath", *settings.appPath);
    if (settings.language) {
        SetString(HKEY_CURRENT_USER, kProductKey, "Language", *settings.language);
    }
    if (settings.backup) CreateKey(HKEY_CURRENT_USER, kBackupKey);
}

void DeleteProductKey() {
    DeleteKeyTree(HKEY_CURRENT_USER, kProductKey);
}

void SetWindowsVersion(std::string_view release, std::string_view exeName) {
    const std::string path = "Software\\Wine\\AppDefaults\\" + Str(exeName);
    if (release.empty()) {
        DeleteValue(HKEY_CURRENT_USER, path, "Version");
    } else {
        SetString(HKEY_CURRENT_USER, path, "Version", release);
    }
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_NONE:
            return "NONE";
        case REG_SZ:
            return "SZ";
        case REG_EXPAND_SZ:
            return "EXPAND_SZ";
        case REG_BINARY:
            return "BINARY";
        case REG_DWORD:
            return "DWORD";
        case REG_MULTI_SZ:
            return "MULTI_SZ";
        default:
            return "?";
    }
}

}  // namespace e2e
