// Pass-through from RegistryStore to advapi32.
#include "engine/Win32RegistryStore.h"

#include <windows.h>

#include <vector>

static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
static_assert(sizeof(LONG) == sizeof(reg::Status));

namespace {

HKEY ToHkey(reg::Key key) {
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}
reg::Key FromHkey(HKEY key) {
    return reg::Key{reinterpret_cast<std::uintptr_t>(key)};
}
// A DWORD in/out argument standing in for an optional std::uint32_t one
// (they are different types to the compiler, though of one size).
class DwordArg {
public:
    explicit DwordArg(std::uint32_t* target)
        : m_target(target), m_value(target != nullptr ? *target : 0) {}
    ~DwordArg() {
        if (m_target != nullptr) *m_target = static_cast<std::uint32_t>(m_value);
    }
    DwordArg(const DwordArg&) = delete;
    DwordArg& operator=(const DwordArg&) = delete;
    DWORD* get() { return m_target != nullptr ? &m_value : nullptr; }

private:
    std::uint32_t* m_target;
    DWORD m_value;
};

// Only what the operation needs: a user without administrator rights may
// read the system's settings, and KEY_ALL_ACCESS would refuse him even that.
REGSAM Rights(reg::Access access) {
    return access == reg::Access::Read ? KEY_READ : KEY_READ | KEY_WRITE;
}

bool IsWin9x() {
    return (GetVersion() & 0x80000000u) != 0;
}

bool IsText(std::uint32_t type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

reg::Status Win32RegistryStore::OpenKey(reg::Key parent, const char* path, reg::Access access,
                                        reg::Key* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(ToHkey(parent), path, 0, Rights(access), &key);
    *result = status == ERROR_SUCCESS ? FromHkey(key) : reg::Key::null;
    return status;
}

reg::Status Win32RegistryStore::CreateKey(reg::Key parent, const char* path, reg::Key* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    char emptyClass[] = "";
    const LONG status = RegCreateKeyExA(ToHkey(parent), path != nullptr ? path : "", 0, emptyClass,
                                        REG_OPTION_NON_VOLATILE, Rights(reg::Access::ReadWrite),
                                        nullptr, &key, nullptr);
    *result = status == ERROR_SUCCESS ? FromHkey(key) : reg::Key::null;
    return status;
}

reg::Status Win32RegistryStore::CloseKey(reg::Key key) {
    return RegCloseKey(ToHkey(key));
}

reg::Status Win32RegistryStore::QueryValue(reg::Key key, const char* name, std::uint32_t* type,
                                           std::uint8_t* data, std::uint32_t* size) {
    DwordArg typeArg(type), sizeArg(size);
    return RegQueryValueExA(ToHkey(key), name, nullptr, typeArg.get(), data, sizeArg.get());
}

reg::Status Win32RegistryStore::SetValue(reg::Key key, const char* name, std::uint32_t type,
                                         const std::uint8_t* data, std::uint32_t size) {
    // Windows 95/98/Me take the length of REG_SZ data from its first NUL, whatever
    // the size given, so unterminated text would be read past its end. A copy with
    // a terminator keeps the read inside it; the text gains its NUL, which is the
    // closest to the data those systems can store.
    if (type == REG_SZ && IsWin9x() && (data != nullptr || size == 0)) {
        std::vector<BYTE> copy(data, data + size);
        copy.push_back(0);
        return RegSetValueExA(ToHkey(key), name, 0, type, copy.data(),
                              static_cast<DWORD>(copy.size()));
    }
    // On NT, RegSetValueExA counts a text's terminator itself when the byte after
    // the data is NUL, so unterminated text would gain one. Writing it from a
    // copy followed by a non-NUL byte keeps the data exactly as given.
    if (IsText(type) && data != nullptr && size > 0 && data[size - 1] != 0) {
        std::vector<BYTE> copy(data, data + size);
        copy.push_back(0xFF);
        return RegSetValueExA(ToHkey(key), name, 0, type, copy.data(), size);
    }
    return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

reg::Status Win32RegistryStore::DeleteValue(reg::Key key, const char* name) {
    return RegDeleteValueA(ToHkey(key), name);
}

reg::Status Win32RegistryStore::EnumKey(reg::Key key, std::uint32_t index, char* name,
                                        std::uint32_t* nameLength) {
    DwordArg lengthArg(nameLength);
    return RegEnumKeyExA(ToHkey(key), index, name, lengthArg.get(), nullptr, nullptr, nullptr,
                         nullptr);
}

reg::Status Win32RegistryStore::EnumValue(reg::Key key, std::uint32_t index, char* name,
                                          std::uint32_t* nameLength, std::uint32_t* type,
                                          std::uint8_t* data, std::uint32_t* size) {
    DwordArg lengthArg(nameLength), typeArg(type), sizeArg(size);
    return RegEnumValueA(ToHkey(key), index, name, lengthArg.get(), nullptr, typeArg.get(), data,
                         sizeArg.get());
}

reg::Status Win32RegistryStore::QueryInfoKey(reg::Key key, reg::KeyInfo* info) {
    if (info == nullptr) return ERROR_INVALID_PARAMETER;
    *info = reg::KeyInfo{};
    DwordArg subKeys(&info->subKeys), maxSubKeyLen(&info->maxSubKeyLen), values(&info->values),
        maxValueNameLen(&info->maxValueNameLen), maxValueLen(&info->maxValueLen);
    return RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, subKeys.get(),
                            maxSubKeyLen.get(), nullptr, values.get(), maxValueNameLen.get(),
                            maxValueLen.get(), nullptr, nullptr);
}

reg::Status Win32RegistryStore::DeleteKey(reg::Key parent, const char* path) {
    // An empty path would name the parent itself, which is not this call's to remove.
    if (path == nullptr || *path == '\0') return ERROR_INVALID_PARAMETER;
    return RegDeleteKeyA(ToHkey(parent), path);
}
