// Walking the whole registry, comparing two walks, and telling allowed changes apart.
#include "RegistrySnapshot.h"

#include <sddl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>

namespace e2e::snapshot {
namespace {

// The type of a symbolic link key's target value (winnt.h's REG_LINK).
constexpr DWORD kLinkType = 6;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool SameName(const std::string& a, const std::string& b) {
    return Upper(a) == Upper(b);
}

// Whether `path` is `key` or lies below it.
bool Within(const std::string& path, const std::string& key) {
    const std::string upperPath = Upper(path);
    const std::string upperKey = Upper(key);
    return upperPath == upperKey || (upperPath.size() > upperKey.size() &&
                                     upperPath.compare(0, upperKey.size(), upperKey) == 0 &&
                                     upperPath[upperKey.size()] == '\\');
}

// The current user's key under HKEY_USERS: the text form of the process's user SID.
std::string UserSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    std::string sid;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    char* text = nullptr;
    if (size != 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

// The target of a symbolic link key ("\Registry\Machine\System\ControlSet001") as a
// snapshot path ("HKLM\System\ControlSet001").
std::string SnapshotPath(std::string target, const std::string& userSid) {
    const std::pair<std::string, std::string> roots[] = {
        {"\\REGISTRY\\MACHINE", "HKLM"},
        {"\\REGISTRY\\USER\\" + Upper(userSid), "HKCU"},
        {"\\REGISTRY\\USER", "HKU"},
    };
    for (const auto& [prefix, root] : roots) {
        if (Within(target, prefix)) return root + target.substr(prefix.size());
    }
    return target;
}

// A link key's target when `name` under `parent` is one, else "".
std::string LinkTarget(HKEY parent, const char* name, const std::string& userSid) {
    HKEY link = nullptr;
    if (RegOpenKeyExA(parent, name, REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &link) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring target(512, L'\0');
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    const LONG result = RegQueryValueExW(link, L"SymbolicLinkValue", nullptr, &type,
                                         reinterpret_cast<BYTE*>(target.data()), &size);
    RegCloseKey(link);
    if (result != ERROR_SUCCESS || type != kLinkType) return {};
    target.resize(size / sizeof(wchar_t));
    // Registry paths are ASCII here; a wider character would only spoil the name shown.
    return SnapshotPath(std::string(target.begin(), target.end()), userSid);
}

class Walker {
public:
    Walker(Snapshot& out, std::string userSid) : m_out(out), m_userSid(std::move(userSid)) {}

    void Walk(HKEY key, const std::string& path) {
        m_out.keys.insert(path);
        ReadValues(key, path);
        std::vector<char> name(256);
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(name.size());
            const LONG result =
                RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_MORE_DATA) {
                name.resize(name.size() * 4);
                --index;
                continue;
            }
            if (result != ERROR_SUCCESS) break;
            const std::string child = path + "\\" + name.data();
            if (Skipped(child)) continue;
            if (std::string target = LinkTarget(key, name.data(), m_userSid); !target.empty()) {
                m_out.keys.insert(child);
                m_out.links[child] = target;
                continue;
            }
            HKEY sub = nullptr;
            if (RegOpenKeyExA(key, name.data(), 0, KEY_READ, &sub) != ERROR_SUCCESS) {
                // Recorded, so that a key that turns unreadable shows as a change.
                m_out.keys.insert(child + " (unreadable)");
                continue;
            }
            Walk(sub, child);
            RegCloseKey(sub);
        }
    }

    // The current user's key is walked as HKCU, not a second time under HKU.
    void Skip(std::string path) { m_skipped.push_back(std::move(path)); }

private:
    bool Skipped(const std::string& path) const {
        return std::any_of(m_skipped.begin(), m_skipped.end(),
                           [&](const std::string& skipped) { return SameName(path, skipped); });
    }

    void ReadValues(HKEY key, const std::string& path) {
        std::vector<char> name(256);
        std::string data(4096, '\0');
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD size = static_cast<DWORD>(data.size());
            DWORD type = 0;
            const LONG result = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data.data()), &size);
            if (result == ERROR_MORE_DATA) {
                name.resize(name.size() * 4);
                data.resize(std::max<std::size_t>(data.size() * 4, size));
                --index;
                continue;
            }
            if (result != ERROR_SUCCESS) break;
            m_out.values[{path, name.data()}] = RegValue{type, data.substr(0, size)};
        }
    }

    Snapshot& m_out;
    std::string m_userSid;
    std::vector<std::string> m_skipped;
};

// Text shown as text when it is printable, every other value as its bytes.
std::string Show(const RegValue& value) {
    std::string shown =
        std::string(TypeName(value.type)) + "[" + std::to_string(value.bytes.size()) + "]";
    const bool text = (value.type == REG_SZ || value.type == REG_EXPAND_SZ) &&
                      !value.bytes.empty() && value.bytes.back() == '\0' &&
                      std::all_of(value.bytes.begin(), value.bytes.end() - 1,
                                  [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
    if (text) return shown + " \"" + value.bytes.substr(0, value.bytes.size() - 1) + "\"";
    char hex[4];
    for (std::size_t i = 0; i < value.bytes.size() && i < 64; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(value.bytes[i]));
        shown += hex;
    }
    if (value.bytes.size() > 64) shown += " ...";
    return shown;
}

constexpr char kNone[] = "(none)";

}  // namespace

Snapshot Take() {
    Snapshot snapshot;
    const std::string sid = UserSid();
    EXPECT_FALSE(sid.empty()) << "cannot tell the user's key under HKEY_USERS";
    Walker walker(snapshot, sid);
    walker.Walk(HKEY_LOCAL_MACHINE, "HKLM");
    walker.Walk(HKEY_CURRENT_USER, "HKCU");
    walker.Skip("HKU\\" + sid);
    walker.Skip("HKU\\" + sid + "_Classes");
    walker.Walk(HKEY_USERS, "HKU");
    return snapshot;
}

std::vector<Difference> Compare(const Snapshot& before, const Snapshot& after) {
    std::vector<Difference> differences;
    const auto linkOf = [](const Snapshot& snapshot, const std::string& key) {
        const auto found = snapshot.links.find(key);
        return found == snapshot.links.end() ? std::string("(key)")
                                             : "(link to " + found->second + ")";
    };
    for (const std::string& key : before.keys) {
        if (!after.keys.count(key))
            differences.push_back({key, true, {}, linkOf(before, key), kNone});
        else if (linkOf(before, key) != linkOf(after, key))
            differences.push_back({key, true, {}, linkOf(before, key), linkOf(after, key)});
    }
    for (const std::string& key : after.keys) {
        if (!before.keys.count(key))
            differences.push_back({key, true, {}, kNone, linkOf(after, key)});
    }
    for (const auto& [where, value] : before.values) {
        const auto found = after.values.find(where);
        if (found == after.values.end()) {
            differences.push_back({where.first, false, where.second, Show(value), kNone});
        } else if (!(found->second == value)) {
            differences.push_back(
                {where.first, false, where.second, Show(value), Show(found->second)});
        }
    }
    for (const auto& [where, value] : after.values) {
        if (!before.values.count(where))
            differences.push_back({where.first, false, where.second, kNone, Show(value)});
    }
    std::sort(differences.begin(), differences.end(), [](const Difference& a, const Difference& b) {
        return std::tie(a.key, a.ofKey, a.name) < std::tie(b.key, b.ofKey, b.name);
    });
    return differences;
}

std::string Describe(const Difference& difference) {
    const std::string where =
        difference.ofKey ? "key " + difference.key
                         : difference.key + " [" +
                               (difference.name.empty() ? "(default)" : difference.name) + "]";
    return where + ": " + difference.before + " -> " + difference.after;
}

Area Resolved(Area area, const Snapshot& snapshot) {
    for (const auto& [link, target] : snapshot.links) {
        if (Within(area.key, link)) {
            area.key = target + area.key.substr(link.size());
            break;
        }
    }
    return area;
}

bool Covers(const Area& area, const Difference& difference) {
    const auto named = [&] {
        return !difference.ofKey &&
               std::any_of(area.names.begin(), area.names.end(), [&](const std::string& name) {
                   return SameName(name, difference.name);
               });
    };
    switch (area.scope) {
        case Area::Scope::Subtree:
            return Within(difference.key, area.key);
        case Area::Scope::Values:
            return SameName(difference.key, area.key) && named();
        case Area::Scope::SubkeyValues: {
            const std::size_t slash = difference.key.rfind('\\');
            return slash != std::string::npos &&
                   SameName(difference.key.substr(0, slash), area.key) && named();
        }
        case Area::Scope::Key:
            return difference.ofKey && SameName(difference.key, area.key);
    }
    return false;
}

std::string Unexpected(const std::vector<Difference>& differences,
                       const std::vector<Area>& allowed) {
    std::string listing;
    for (const Difference& difference : differences) {
        const bool covered = std::any_of(allowed.begin(), allowed.end(), [&](const Area& area) {
            return Covers(area, difference);
        });
        if (!covered) listing += "  " + Describe(difference) + "\n";
    }
    return listing;
}

std::string Untouched(const std::vector<Difference>& differences, const std::vector<Area>& areas) {
    std::string listing;
    for (const Area& area : areas) {
        const bool touched =
            std::any_of(differences.begin(), differences.end(),
                        [&](const Difference& difference) { return Covers(area, difference); });
        if (!touched) listing += "  " + area.key + " (" + area.why + ")\n";
    }
    return listing;
}

}  // namespace e2e::snapshot
