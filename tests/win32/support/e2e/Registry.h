// Registry preparation and inspection for the end-to-end tests: the product key, the
// system keys the program tunes, and the Windows version Wine reports to Vornel.exe.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Catalogue.h"

namespace e2e {

// The program's own key and its backup, as the program names them.
using catalogue::kBackupKey;
using catalogue::kProductKey;

// One value exactly as stored: its type and raw bytes (a string keeps its NUL).
struct RegValue {
    DWORD type = REG_NONE;
    std::string bytes;

    static RegValue String(std::string_view text);  // REG_SZ with its terminating NUL
    static RegValue Dword(DWORD value);
    bool operator==(const RegValue&) const = default;
};

// The name of a value type, as registry listings print it ("SZ", "DWORD", ... "?").
const char* TypeName(DWORD type);

// An open key that closes itself.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : m_key(key) {}
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : m_key(other.m_key) { other.m_key = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    ~RegKey();

    static RegKey Open(HKEY root, std::string_view path, REGSAM access = KEY_ALL_ACCESS);
    static RegKey Create(HKEY root, std::string_view path);  // creates missing parents too

    explicit operator bool() const { return m_key != nullptr; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

bool KeyExists(HKEY root, std::string_view path);
void DeleteKeyTree(HKEY root, std::string_view path);  // no error when it is missing
void CreateKey(HKEY root, std::string_view path);

// Writers create the key when it is missing; they fail the current test on error.
void SetValue(HKEY root, std::string_view path, std::string_view name, const RegValue& value);
void SetString(HKEY root, std::string_view path, std::string_view name, std::string_view text);
void SetDword(HKEY root, std::string_view path, std::string_view name, DWORD value);
void DeleteValue(HKEY root, std::string_view path, std::string_view name);

std::optional<RegValue> GetValue(HKEY root, std::string_view path, std::string_view name);
// The text of a REG_SZ / REG_EXPAND_SZ value without its terminating NUL.
std::optional<std::string> GetString(HKEY root, std::string_view path, std::string_view name);
std::optional<DWORD> GetDword(HKEY root, std::string_view path, std::string_view name);

// A key with its values and subkeys, as read at one moment.
struct KeyTree {
    std::map<std::string, RegValue> values;
    std::map<std::string, KeyTree> subkeys;
    bool operator==(const KeyTree&) const = default;
};
std::optional<KeyTree> ReadKeyTree(HKEY root, std::string_view path);      // nullopt: no such key
void WriteKeyTree(HKEY root, std::string_view path, const KeyTree& tree);  // replaces the key

// Puts a key back as it was (or removes it when it did not exist) when the scope ends,
// so that a test can change system keys freely.
class ScopedKeyRestore {
public:
    ScopedKeyRestore(HKEY root, std::string path);
    ScopedKeyRestore(const ScopedKeyRestore&) = delete;
    ScopedKeyRestore& operator=(const ScopedKeyRestore&) = delete;
    ~ScopedKeyRestore();

private:
    HKEY m_root;
    std::string m_path;
    std::optional<KeyTree> m_saved;
};

// Takes the right to set values and make subkeys in a key and everything below it
// away from everyone, as Windows does on the system's keys for a user without
// administrator rights; gives every right back when the scope ends.
class WritesDenied {
public:
    WritesDenied(HKEY root, std::string path);
    WritesDenied(const WritesDenied&) = delete;
    WritesDenied& operator=(const WritesDenied&) = delete;
    ~WritesDenied();

private:
    HKEY m_root;
    std::string m_path;
};

// What the installer writes under HKCU\Software\Vornel; an unset member is left out.
struct ProductSettings {
    std::optional<std::string> appPath;
    std::optional<std::string> language;
    bool backup = false;  // an "Original Settings" subkey (empty) exists
};
// Replaces the whole product key with these settings.
void WriteProductKey(const ProductSettings& settings);
void DeleteProductKey();

// The Windows release that Wine reports to every program named exeName ("win95", "win98",
// "winme", "nt40", "win2k", "winxp", "win2003", "vista", "win7" ...); an empty release
// removes the setting.
void SetWindowsVersion(std::string_view release, std::string_view exeName = "Vornel.exe");

}  // namespace e2e
