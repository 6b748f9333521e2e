// The whole registry at one moment, the differences between two such moments, and
// the parts of the registry a difference may be allowed in.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "e2e/Registry.h"

namespace e2e::snapshot {

// Every key and value under HKEY_LOCAL_MACHINE and HKEY_USERS. Paths start with
// "HKLM", "HKCU" (the user's own key under HKEY_USERS) or "HKU" (the other users).
// A symbolic link is kept as a key with its target, and not followed, so that each
// key is seen once, under the path it really has.
struct Snapshot {
    std::set<std::string> keys;
    std::map<std::pair<std::string, std::string>, RegValue> values;  // (key, name)
    std::map<std::string, std::string> links;                        // link -> target key
};
Snapshot Take();

// One change between two snapshots: a key or a value that appeared, went or changed.
struct Difference {
    std::string key;
    bool ofKey = false;  // the key itself, not one of its values
    std::string name;
    std::string before;  // described, "(none)" when it did not exist
    std::string after;
};
std::vector<Difference> Compare(const Snapshot& before, const Snapshot& after);
std::string Describe(const Difference& difference);

// A part of the registry: a key with everything below it, values of a key or of
// each of its direct subkeys, by name (compared without letter case, as the
// registry does), or a key itself coming or going.
struct Area {
    enum class Scope { Subtree, Values, SubkeyValues, Key };
    Scope scope;
    std::string key;
    std::vector<std::string> names;
    std::string why;  // shown when it is listed
};
// The area with its key through symbolic links resolved, as a snapshot names it.
Area Resolved(Area area, const Snapshot& snapshot);
bool Covers(const Area& area, const Difference& difference);

// The differences no area covers, one per line, or "" when there are none.
std::string Unexpected(const std::vector<Difference>& differences,
                       const std::vector<Area>& allowed);
// The areas that no difference falls in, one per line, or "" when each has one.
std::string Untouched(const std::vector<Difference>& differences, const std::vector<Area>& areas);

}  // namespace e2e::snapshot
