// The registry operations the settings engine is written against, shaped after advapi32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reg {

// Results are Win32 error codes, with the numbers of winerror.h.
using Status = std::int32_t;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;
inline constexpr Status kAccessDenied = 5;
inline constexpr Status kInvalidHandle = 6;
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kBadPathname = 161;
inline constexpr Status kMoreData = 234;
inline constexpr Status kNoMoreItems = 259;
inline constexpr Status kBadKey = 1010;
inline constexpr Status kKeyDeleted = 1018;

// Value types, with the numbers of winnt.h.
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;

// An opaque key handle. The predefined roots carry the values of winreg.h's
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE (sign-extended on 64-bit), so a
// handle converts to an HKEY and back without translation.
enum class Key : std::uintptr_t { null = 0 };
inline constexpr Key kCurrentUser{static_cast<std::uintptr_t>(
    static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000001u)))};
inline constexpr Key kLocalMachine{static_cast<std::uintptr_t>(
    static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)))};

// What RegQueryInfoKeyA reports: name lengths in characters without the
// terminator, data length in bytes.
struct KeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLen = 0;
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLen = 0;
    std::uint32_t maxValueLen = 0;
};

// What a key handle may do: read lists subkeys and values and reads data
// (KEY_READ); read-write may also set and delete values and make subkeys
// (KEY_READ | KEY_WRITE). A write through a read handle fails with
// kAccessDenied, as it does on Windows.
enum class Access : std::uint8_t { Read, ReadWrite };

// True for the one result that means "there is no such key or value". A key that another
// program deleted under an open handle (kKeyDeleted) says nothing of what it held, and any
// other failure says nothing either: only this is an answer.
inline bool IsAbsent(Status status) {
    return status == kFileNotFound;
}

// True when a delete did its work, or had none to do.
inline bool IsAbsentOrDone(Status status) {
    return status == kSuccess || IsAbsent(status);
}

}  // namespace reg

// The registry. Each operation behaves as the advapi32 function it is named
// after: pointer arguments may be null where that function allows it, and a
// buffer that is too small makes reads fail with kMoreData and report the
// size needed. A key is opened with the access the operation needs; one that
// cannot be opened that way fails with the platform's error code.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // RegOpenKeyExA. A null or empty path opens a new handle to `parent`.
    virtual reg::Status OpenKey(reg::Key parent, const char* path, reg::Access access,
                                reg::Key* result) = 0;
    // RegCreateKeyExA, non-volatile, read-write: opens the key, or creates it and
    // any missing parent.
    virtual reg::Status CreateKey(reg::Key parent, const char* path, reg::Key* result) = 0;
    // RegCloseKey.
    virtual reg::Status CloseKey(reg::Key key) = 0;
    // RegQueryValueExA. With a null `data` it reports the type and size only.
    virtual reg::Status QueryValue(reg::Key key, const char* name, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) = 0;
    // RegSetValueExA. Stores exactly `size` bytes, whatever the type.
    virtual reg::Status SetValue(reg::Key key, const char* name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueA.
    virtual reg::Status DeleteValue(reg::Key key, const char* name) = 0;
    // RegEnumKeyExA: `nameLength` holds the buffer's capacity in characters on
    // entry and the name's length without terminator on success.
    virtual reg::Status EnumKey(reg::Key key, std::uint32_t index, char* name,
                                std::uint32_t* nameLength) = 0;
    // RegEnumValueA, with the same conventions for the name and the data.
    virtual reg::Status EnumValue(reg::Key key, std::uint32_t index, char* name,
                                  std::uint32_t* nameLength, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) = 0;
    // RegQueryInfoKeyA.
    virtual reg::Status QueryInfoKey(reg::Key key, reg::KeyInfo* info) = 0;
    // RegDeleteKeyA: removes `path` below `parent` with its values. A key that
    // still has subkeys is refused, as NT refuses it (Windows 95/98/Me would
    // take the subkeys along; nothing here relies on either).
    virtual reg::Status DeleteKey(reg::Key parent, const char* path) = 0;
};

namespace reg {

// A key handle closed when it goes out of scope.
class ScopedKey {
public:
    ScopedKey() = default;
    ScopedKey(RegistryStore& store, Key key) : m_store(&store), m_key(key) {}
    ScopedKey(ScopedKey&& other) noexcept : m_store(other.m_store), m_key(other.m_key) {
        other.m_key = Key::null;
    }
    ScopedKey& operator=(ScopedKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_store = other.m_store;
            m_key = other.m_key;
            other.m_key = Key::null;
        }
        return *this;
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ~ScopedKey() { Close(); }

    Key get() const { return m_key; }
    explicit operator bool() const { return m_key != Key::null; }
    void Close() {
        if (m_key != Key::null) m_store->CloseKey(m_key);
        m_key = Key::null;
    }

private:
    RegistryStore* m_store = nullptr;
    Key m_key = Key::null;
};

// Opens a key for reading, or for writing as well, or creates it; the handle
// is empty and `status` tells why when it fails.
ScopedKey Open(RegistryStore& store, Key parent, const char* path, Status* status = nullptr);
ScopedKey OpenForWrite(RegistryStore& store, Key parent, const char* path,
                       Status* status = nullptr);
ScopedKey Create(RegistryStore& store, Key parent, const char* path, Status* status = nullptr);

// A value with its own type and data.
struct Value {
    std::uint32_t type = kNone;
    std::vector<std::uint8_t> data;
    bool operator==(const Value&) const = default;
};

// Whether two key or value names are the same to the registry: letters compare
// without regard to (ASCII) case.
bool SameName(std::string_view a, std::string_view b);
// The text a value holds: its bytes up to the first NUL, or all of them.
std::string TextOf(const Value& value);

// Reads a whole value, whatever its size. A null key fails as an absent value.
Status ReadValue(RegistryStore& store, Key key, const char* name, Value& value);
// Writes a value with its own type and data.
Status WriteValue(RegistryStore& store, Key key, const char* name, const Value& value);

// Reads the values of one open key, telling "not there" only on proof: the read said so,
// and a complete walk of the key's value names, made once, lacks the name as well. A walk
// that fails gives its failure; a name the walk finds after all gives kBadKey (the
// registry contradicted itself). So a failure dressed as absence, or a key deleted under
// the handle, is never taken for a value that was not set.
class ValueReader {
public:
    ValueReader() = default;
    ValueReader(RegistryStore& store, Key key) : m_store(&store), m_key(key) {}
    Status Read(const char* name, Value& value);

private:
    RegistryStore* m_store = nullptr;
    Key m_key = Key::null;
    bool m_walked = false;
    Status m_walk = kSuccess;
    std::vector<std::string> m_names;
};

// Deletes a value. The registry's "not found" counts as done only when a read then proves
// the value gone; otherwise the result is a failure.
Status DeleteValueProven(RegistryStore& store, Key key, const char* name);

// A key with its values and subkeys, held in memory.
struct KeyImage {
    std::string name;  // below the parent; unused for the key an image starts from
    std::vector<std::pair<std::string, Value>> values;
    std::vector<KeyImage> subKeys;
    bool operator==(const KeyImage&) const = default;
};
// Reads a key's values and subkeys, all the way down. Any operation that
// fails fails the whole read, so an image is never partial.
Status ReadTree(RegistryStore& store, Key key, KeyImage& image);
// Creates `path` below `parent` and writes the image into it: the subkeys
// first, then the key's own values in their order, so that the key's last
// value is the very last thing written. Stops at the first failure.
Status WriteTree(RegistryStore& store, Key parent, const char* path, const KeyImage& image);
// Removes `path` below `parent` with all its subkeys and values, one key at a
// time as the registry allows: the subkeys first, deepest first, then the key
// with its values. A subkey that cannot go ends it with that error, leaving
// what was not reached yet, so an interrupted delete leaves a key whose own
// values are whole and some of whose subkeys are gone. A key the registry says is
// not there must not open either. An empty path, which would name the parent
// itself, is refused.
Status DeleteTree(RegistryStore& store, Key parent, const char* path);

// Walks a key's subkeys from index 0, sizing its name buffer from the key's
// information and growing it when a longer name shows up meanwhile.
class SubKeyWalker {
public:
    SubKeyWalker(RegistryStore& store, Key key);
    // The next subkey name; false at the end or on the first failure.
    bool Next(std::string& name);
    // kNoMoreItems after a complete walk, else the failure that ended it.
    Status status() const { return m_status; }

private:
    RegistryStore& m_store;
    Key m_key;
    std::uint32_t m_index = 0;
    std::vector<char> m_buffer;
    Status m_status = kSuccess;
};

// Walks a key's values from index 0 in the same way, with their data when asked.
class ValueWalker {
public:
    ValueWalker(RegistryStore& store, Key key);
    bool Next(std::string& name, Value* value = nullptr);
    Status status() const { return m_status; }

private:
    RegistryStore& m_store;
    Key m_key;
    std::uint32_t m_index = 0;
    std::vector<char> m_name;
    std::vector<std::uint8_t> m_data;
    Status m_status = kSuccess;
};

}  // namespace reg
