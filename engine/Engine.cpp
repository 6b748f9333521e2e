// Reading, backup, apply and restore, driven by the catalogue's tables.
#include "engine/Engine.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/Catalogue.h"
#include "engine/Changes.h"
#include "engine/DryRunStore.h"

namespace {

using reg::ScopedKey;
using namespace catalogue;

using reg::TextOf;

std::string LastFour(const std::string& text) {
    return text.size() <= 4 ? text : text.substr(text.size() - 4);
}

bool Succeeded(reg::Status status) {
    return status == reg::kSuccess;
}

// Whether a value passes the reading rule that decides what counts as set:
// text must fit 260 bytes, a number 4.
bool Fits(Encoding encoding, const reg::Value& value) {
    return value.data.size() <= (encoding == Encoding::Text ? kTextBufferSize : kNumberSize);
}

// Turns a value that fits into its field. A number is read straight into the
// field's bytes, so shorter data replaces only the low bytes.
void FillField(Encoding encoding, const reg::Value& value, std::int32_t& field) {
    if (encoding == Encoding::Text) {
        field = DecodeText(value.data.data(), value.data.size());
        return;
    }
    auto bits = static_cast<std::uint32_t>(field);
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        const unsigned shift = static_cast<unsigned>(8 * i);
        bits = (bits & ~(0xFFu << shift)) | (std::uint32_t{value.data[i]} << shift);
    }
    field = static_cast<std::int32_t>(bits);
}

// ---- Reading what is in force ----

// The values in force, and the backup that records them. A backup is complete
// when every key and value was either read or found absent: only then does the
// absence of a value in it prove that the value was not set.
struct Reading {
    Reading(TuningValues& values, FoundFlags& flags) : inForce(values), found(flags) {}

    TuningValues& inForce;
    FoundFlags& found;
    reg::KeyImage backup;
    bool complete = true;
    std::optional<std::string> adapter;  // Win9x: the dial-up adapter's NetTrans instance
    // The interfaces or bound adapters seen, per set of links.
    std::vector<std::pair<const LinkCatalogue*, std::vector<std::string>>> links;
    // The keys below a service that Finish may make: each is there, or the backup records
    // that it was not.
    std::vector<const KeyCatalogue*> reachable;

    // Absence is an answer; any other failure leaves a gap in the backup.
    void Note(reg::Status status) {
        if (!Succeeded(status) && !reg::IsAbsent(status)) complete = false;
    }
    ScopedKey Open(RegistryStore& store, reg::Key parent, const char* path,
                   reg::Status* result = nullptr) {
        reg::Status status = reg::kSuccess;
        ScopedKey key = reg::Open(store, parent, path, &status);
        Note(status);
        if (result != nullptr) *result = status;
        return key;
    }
    void NoteWalk(reg::Status walkStatus) {
        if (walkStatus != reg::kNoMoreItems) complete = false;
    }
};

// Reads one value into the backup under `backupName`, with its own type and exact data
// whatever its size. Gives the value when it passes the reading rule of the values in
// force, and the read's result.
std::optional<reg::Value> CaptureValue(reg::ValueReader& source, const char* name,
                                       reg::KeyImage& backup, const std::string& backupName,
                                       Encoding encoding, Reading& reading,
                                       reg::Status* result = nullptr) {
    reg::Value value;
    const reg::Status status = source.Read(name, value);
    reading.Note(status);
    if (result != nullptr) *result = status;
    if (!Succeeded(status)) return std::nullopt;
    std::optional<reg::Value> fitting;
    if (Fits(encoding, value)) fitting = value;
    backup.values.emplace_back(backupName, std::move(value));
    return fitting;
}

// The key a path names below its parent: "...\AFD\Parameters" is "Parameters" of "...\AFD".
std::pair<std::string, std::string> SplitParent(const char* path) {
    const std::string whole(path);
    const std::size_t slash = whole.rfind('\\');
    return {whole.substr(0, slash), whole.substr(slash + 1)};
}

void CaptureFixedKey(RegistryStore& store, const KeyCatalogue& key, Reading& reading) {
    reg::KeyImage part;
    part.name = key.part != nullptr ? key.part : "";
    reg::KeyImage& into = key.part != nullptr ? part : reading.backup;
    reg::Status status = reg::kSuccess;
    ScopedKey source = reading.Open(store, key.root, key.path, &status);
    if (source) {
        reading.reachable.push_back(&key);
        reg::ValueReader values(store, source.get());
        for (const CatalogueValue* value : InOrder(key, Step::Capture)) {
            const std::optional<reg::Value> read =
                CaptureValue(values, value->name, into, value->name, key.encoding, reading);
            if (read && value->inForce != nullptr) {
                FillField(key.encoding, *read, reading.inForce.*value->inForce);
                reading.found.*value->found = true;
            }
        }
    } else if (reg::IsAbsent(status)) {
        // Finish makes the stack's key whenever it is missing, a service's own only below a
        // service that is there, and the browser's never. Reset removes a key Finish made
        // once it is empty again, and leaves one it did not make to whoever made it since.
        bool made = key.reach == Reach::Create;
        if (key.reach == Reach::CreateInService) {
            const auto [parent, name] = SplitParent(key.path);
            made = static_cast<bool>(reading.Open(store, key.root, parent.c_str()));
        }
        if (made) reading.reachable.push_back(&key);
        into.values.emplace_back(
            key.absentName, reg::Value{reg::kDword, EncodeNumber(made ? kKeyMade : kKeyNotMade)});
    }
    if (key.part != nullptr) reading.backup.subKeys.push_back(std::move(part));
}

// A text value such as "DeviceDesc" or "Driver"; nothing when absent or unreadable.
std::optional<std::string> ReadText(RegistryStore& store, reg::Key key, const char* name,
                                    Reading& reading) {
    reg::Value value;
    const reg::Status status = reg::ValueReader(store, key).Read(name, value);
    reading.Note(status);
    if (!Succeeded(status) || !Fits(Encoding::Text, value)) return std::nullopt;
    return TextOf(value);
}

// The first dial-up adapter's entry below "Enum\Root\Net", its first TCP/IP binding
// instance, and the NetTrans instance that binding leads to.
struct DialUpPath {
    std::string entry;
    std::string binding;
    std::string instance;
};

std::optional<DialUpPath> FindDialUpNetTrans(RegistryStore& store, Reading& reading) {
    ScopedKey adapter;
    std::string entryName;
    {
        ScopedKey net = reading.Open(store, reg::kLocalMachine, kEnumRootNetKey);
        if (!net) return std::nullopt;
        reg::SubKeyWalker entries(store, net.get());
        std::string name;
        while (!adapter && entries.Next(name)) {
            ScopedKey entry = reading.Open(store, net.get(), name.c_str());
            if (entry && ReadText(store, entry.get(), "DeviceDesc", reading) == kDialUpAdapter) {
                adapter = std::move(entry);
                entryName = name;
            }
        }
        if (!adapter) {
            reading.NoteWalk(entries.status());
            return std::nullopt;
        }
    }

    std::optional<std::string> binding;
    {
        ScopedKey bindings = reading.Open(store, adapter.get(), "Bindings");
        adapter.Close();
        if (!bindings) return std::nullopt;
        reg::ValueWalker names(store, bindings.get());
        std::string name;
        while (!binding && names.Next(name)) {
            if (name.find("MSTCP\\") != std::string::npos) binding = LastFour(name);
        }
        if (!binding) {
            reading.NoteWalk(names.status());
            return std::nullopt;
        }
    }

    ScopedKey mstcp =
        reading.Open(store, reg::kLocalMachine, (kEnumMstcpKeyPrefix + *binding).c_str());
    if (!mstcp) return std::nullopt;
    const std::optional<std::string> driver = ReadText(store, mstcp.get(), "Driver", reading);
    if (!driver || driver->find("NetTrans\\") == std::string::npos) return std::nullopt;
    return DialUpPath{entryName, *binding, LastFour(*driver)};
}

// Win9x: the dial-up adapter's MTU and MSS, recorded under its NetTrans instance.
void CaptureDialUpAdapter(RegistryStore& store, const LinkCatalogue& set, Reading& reading) {
    const std::optional<DialUpPath> path = FindDialUpNetTrans(store, reading);
    if (!path) return;
    const std::string& instance = path->instance;
    ScopedKey adapter =
        reading.Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str());
    if (!adapter) return;
    reading.adapter = instance;
    // Which adapter reached the key: another may hold its number by the time of Reset.
    reading.backup.values.emplace_back(kDialUpEntryValue,
                                       reg::Value{reg::kSz, EncodeString(path->entry)});
    reading.backup.values.emplace_back(kDialUpBindingValue,
                                       reg::Value{reg::kSz, EncodeString(path->binding)});
    reg::ValueReader values(store, adapter.get());
    for (const LinkValue& link : set.values) {
        reg::KeyImage& part = reading.backup.subKeys.emplace_back();
        part.name = link.backupName;
        reg::Status status = reg::kSuccess;
        const std::optional<reg::Value> read =
            CaptureValue(values, link.name, part, instance, set.encoding, reading, &status);
        if (read) {
            FillField(set.encoding, *read, reading.inForce.*link.field);
            reading.found.*link.found = true;
        }
        // The MTU entry records which adapter was found, so a missing "MaxMTU"
        // is stood in for by "0".
        if (&link == &set.values.front() && reg::IsAbsent(status)) {
            part.values.emplace_back(instance, reg::Value{reg::kSz, EncodeText(0)});
        }
    }
}

// The key below which a set's link keys lie, and a link's key below it.
const char* LinkParent(const LinkCatalogue& set) {
    return set.kind == LinkKind::Interface ? kInterfacesKey : kServicesKey;
}
std::string LinkPath(const LinkCatalogue& set, const std::string& name) {
    return set.kind == LinkKind::Interface ? name : AdapterKeyBelowServices(name);
}

// The links there are now: every interface, or every adapter TCP/IP is bound to. The
// status is kNoMoreItems when the list is whole.
std::vector<std::string> PresentLinks(RegistryStore& store, const LinkCatalogue& set,
                                      reg::Key parent, reg::Status& status) {
    std::vector<std::string> names;
    status = reg::kNoMoreItems;
    if (set.kind == LinkKind::Interface) {
        reg::SubKeyWalker walker(store, parent);
        std::string name;
        while (walker.Next(name)) names.push_back(name);
        status = walker.status();
        return names;
    }
    reg::Status opened = reg::kSuccess;
    ScopedKey linkage = reg::Open(store, reg::kLocalMachine, kLinkageKey, &opened);
    reg::Value bind;
    const reg::Status read =
        linkage ? reg::ValueReader(store, linkage.get()).Read(kBindValue, bind) : opened;
    if (Succeeded(read)) return BoundAdapters(bind);
    if (!reg::IsAbsent(read)) status = read;
    return names;
}

// WinNT: each interface's or bound adapter's values under its name, and the list of those
// seen.
void CaptureLinks(RegistryStore& store, const LinkCatalogue& set, Reading& reading) {
    std::vector<reg::KeyImage> parts(set.values.size() + 1);
    for (std::size_t i = 0; i < set.values.size(); ++i) parts[i].name = set.values[i].backupName;
    reg::KeyImage& list = parts.back();
    list.name = set.listName;
    std::vector<std::string>& seen =
        reading.links.emplace_back(&set, std::vector<std::string>{}).second;
    std::vector<std::uint32_t> smallest(set.values.size(), 0xFFFFFFFFu);
    std::vector<bool> any(set.values.size(), false);
    ScopedKey parent = reading.Open(store, reg::kLocalMachine, LinkParent(set));
    if (parent) {
        reg::Status walk = reg::kNoMoreItems;
        for (const std::string& name : PresentLinks(store, set, parent.get(), walk)) {
            ScopedKey link = reading.Open(store, parent.get(), LinkPath(set, name).c_str());
            if (!link) continue;
            seen.push_back(name);
            list.values.emplace_back(name, reg::Value{reg::kDword, EncodeNumber(1)});
            reg::ValueReader linkValues(store, link.get());
            for (std::size_t i = 0; i < set.values.size(); ++i) {
                const LinkValue& value = set.values[i];
                const std::optional<reg::Value> read =
                    CaptureValue(linkValues, value.name, parts[i], name, set.encoding, reading);
                if (!read || value.field == nullptr) continue;
                std::int32_t& field = reading.inForce.*value.field;
                if (set.smallestInForce) {
                    std::int32_t number = 0;
                    FillField(set.encoding, *read, number);
                    smallest[i] = std::min(smallest[i], static_cast<std::uint32_t>(number));
                    field = static_cast<std::int32_t>(smallest[i]);
                } else {
                    FillField(set.encoding, *read, field);
                }
                reading.found.*value.found = true;
            }
        }
        reading.NoteWalk(walk);
    }
    for (reg::KeyImage& part : parts) reading.backup.subKeys.push_back(std::move(part));
}

Reading ReadInForce(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                    FoundFlags& found) {
    Reading reading(inForce, found);
    const std::vector<const KeyCatalogue*> keys = FixedKeys(release);
    CaptureFixedKey(store, *keys.front(), reading);  // the browser's
    for (const LinkCatalogue* set : Links(release)) {
        if (set->kind == LinkKind::DialUpAdapter) {
            CaptureDialUpAdapter(store, *set, reading);
        } else {
            CaptureLinks(store, *set, reading);
        }
    }
    for (std::size_t i = 1; i < keys.size(); ++i) CaptureFixedKey(store, *keys[i], reading);
    reading.backup.values.emplace_back(kWindowsValue,
                                       reg::Value{reg::kSz, EncodeString(ReleaseName(release))});
    return reading;
}

// ---- Apply ----

void WriteTuning(RegistryStore& store, reg::Key key, const char* name, Encoding encoding,
                 std::int32_t number, bool& failed) {
    if (!Succeeded(reg::WriteValue(store, key, name, EncodeValue(encoding, number)))) {
        failed = true;
    }
}

// Opens a key to write into, or (`access` Read) the parent of such keys. A key
// that is not there is nothing to write to; one that is there but will not
// open is a failure.
ScopedKey OpenTarget(RegistryStore& store, reg::Key parent, const char* path, bool& failed,
                     reg::Access access = reg::Access::ReadWrite) {
    reg::Status status = reg::kSuccess;
    ScopedKey key = access == reg::Access::Read ? reg::Open(store, parent, path, &status)
                                                : reg::OpenForWrite(store, parent, path, &status);
    if (!key && !reg::IsAbsent(status)) failed = true;
    return key;
}

// Writes the values of one key, in apply order; a failed write sets `failed`.
void ApplyFixedKey(RegistryStore& store, const KeyCatalogue& catalogue, const Reading& reading,
                   const TuningValues& chosen, ConnectionType type, bool& failed) {
    ScopedKey key;
    if (catalogue.reach == Reach::OpenOnly) {
        // The browser's key is never made: a system without it has no connection
        // limits to set.
        key = OpenTarget(store, catalogue.root, catalogue.path, failed);
        if (!key) return;
    } else {
        if (catalogue.reach == Reach::CreateInService &&
            std::find(reading.reachable.begin(), reading.reachable.end(), &catalogue) ==
                reading.reachable.end()) {
            return;
        }
        key = reg::Create(store, catalogue.root, catalogue.path);
        if (!key) {
            failed = true;
            return;
        }
    }
    for (const CatalogueValue* value : InOrder(catalogue, Step::Apply)) {
        std::int32_t number = value->applied != nullptr ? chosen.*value->applied : value->constant;
        if (value->rule != nullptr) {
            const std::optional<std::int32_t> ruled = value->rule(chosen, type);
            if (!ruled) continue;
            number = *ruled;
        }
        WriteTuning(store, key.get(), value->name, catalogue.encoding, number, failed);
    }
}

// Calls `visit(key, set)` with each adapter (Win9x), interface or bound adapter the backup
// recorded, opened to write into.
template <typename Visit>
void ForEachRecordedLink(RegistryStore& store, const Reading& reading, bool& failed, Visit visit) {
    if (reading.adapter) {
        const std::string path = kNetTransKeyPrefix + *reading.adapter;
        ScopedKey key = OpenTarget(store, reg::kLocalMachine, path.c_str(), failed);
        if (key) visit(key.get(), *Links(Win9x).front());
    }
    for (const auto& [set, names] : reading.links) {
        if (names.empty()) continue;
        // Opened by name below their parent: a long interface name would take a
        // whole path past what the registry's ANSI functions accept.
        ScopedKey parent =
            OpenTarget(store, reg::kLocalMachine, LinkParent(*set), failed, reg::Access::Read);
        if (!parent) continue;
        for (const std::string& name : names) {
            ScopedKey key = OpenTarget(store, parent.get(), LinkPath(*set, name).c_str(), failed);
            if (key) visit(key.get(), *set);
        }
    }
}

// Writes the chosen values into each recorded adapter or interface.
void ApplyLinks(RegistryStore& store, const Reading& reading, const TuningValues& chosen,
                bool& failed) {
    ForEachRecordedLink(store, reading, failed, [&](reg::Key key, const LinkCatalogue& set) {
        for (const LinkValue& link : set.values) {
            WriteTuning(store, key, link.name, set.encoding, chosen.*link.applied, failed);
        }
    });
}

// ---- Windows' defaults ----

// Puts each value Finish writes back to what a clean installation of the release holds:
// removed, as no release holds any of them (the catalogue cites the article for each), or
// the documented data where one does. In the keys that are there, and in the adapter or
// interfaces the backup recorded.
void RemoveTunedValues(RegistryStore& store, WindowsRelease release, const Reading& reading,
                       bool& failed) {
    const auto reset = [&](reg::Key key, const char* name, const WindowsDefault& windows,
                           Encoding encoding) {
        if (Includes(windows.present, release)) {
            WriteTuning(store, key, name, encoding, windows.data, failed);
        } else if (!reg::IsAbsentOrDone(reg::DeleteValueProven(store, key, name))) {
            failed = true;
        }
    };
    for (const KeyCatalogue* catalogue : FixedKeys(release)) {
        ScopedKey key = OpenTarget(store, catalogue->root, catalogue->path, failed);
        if (!key) continue;
        for (const CatalogueValue* value : InOrder(*catalogue, Step::Apply)) {
            reset(key.get(), value->name, value->windowsDefault, catalogue->encoding);
        }
    }
    ForEachRecordedLink(store, reading, failed, [&](reg::Key key, const LinkCatalogue& set) {
        for (const LinkValue& link : set.values) {
            reset(key, link.name, link.windowsDefault, set.encoding);
        }
    });
}

// ---- Restore ----

// One Reset: the backup's shape, and what came of putting it back so far.
struct Restoring {
    RegistryStore& store;
    backup::Shape shape;
    bool failed = false;     // something could not be put back: the backup stays
    bool unchecked = false;  // the backup lacked what would have told
    bool left = false;       // the backup held something this system no longer has a place for

    // A part of the backup opened for restoring. A part that is missing recorded
    // nothing, so nothing may be deleted on its account; when the backup should
    // have had it, what it held goes unchecked.
    struct Part {
        ScopedKey key;
        reg::Status status = reg::kSuccess;
        bool expected = false;
        reg::ValueReader values;
    };
    Part Open(const char* path, const char* name) {
        Part part;
        part.key = reg::Open(store, reg::kCurrentUser, path, &part.status);
        part.expected = shape.Expects(name);
        if (part.key) part.values = reg::ValueReader(store, part.key.get());
        if (!part.key && !reg::IsAbsent(part.status)) failed = true;
        return part;
    }
    void Missing(const Part& part) {
        if (part.expected) unchecked = true;
    }

    void DeleteValue(reg::Key key, const char* name) {
        if (!reg::IsAbsentOrDone(reg::DeleteValueProven(store, key, name))) failed = true;
    }
    void WriteValue(reg::Key key, const char* name, const reg::Value& value) {
        if (!Succeeded(reg::WriteValue(store, key, name, value))) failed = true;
    }
    // Reads a value of the backup or the system; only a proven absence is an answer.
    std::optional<reg::Value> Read(reg::ValueReader& from, const char* name) {
        reg::Value value;
        const reg::Status status = from.Read(name, value);
        if (!Succeeded(status) && !reg::IsAbsent(status)) failed = true;
        if (!Succeeded(status)) return std::nullopt;
        return value;
    }

    // Puts one value back with the type and data the backup holds, or deletes it
    // when the backup proves it was absent.
    void PutBack(Part& from, const char* fromName, reg::Key to, const char* name) {
        if (!from.key) {
            Missing(from);
            return;
        }
        reg::Value value;
        const reg::Status status = from.values.Read(fromName, value);
        if (Succeeded(status)) {
            WriteValue(to, name, value);
        } else if (reg::IsAbsent(status)) {
            DeleteValue(to, name);
        } else {
            failed = true;
        }
    }

    ScopedKey Target(reg::Key parent, const char* path,
                     reg::Access access = reg::Access::ReadWrite) {
        return OpenTarget(store, parent, path, failed, access);
    }

    // The value names of a part, or nothing when it is missing.
    std::vector<std::string> Names(const Part& part) {
        std::vector<std::string> names;
        if (!part.key) return names;
        reg::ValueWalker walker(store, part.key.get());
        std::string name;
        while (walker.Next(name)) names.push_back(name);
        if (walker.status() != reg::kNoMoreItems) failed = true;
        return names;
    }
};

void RestoreKey(Restoring& reset, Restoring::Part& backup, reg::Key key,
                const KeyCatalogue& catalogue) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Restore)) {
        reset.PutBack(backup, value->name, key, value->name);
    }
}

// What the backup records of a key that did not exist when it was made: nothing when it
// did exist.
std::optional<std::int32_t> AbsentAtBackup(Restoring& reset, Restoring::Part& part,
                                           const KeyCatalogue& catalogue) {
    const std::optional<reg::Value> marker = reset.Read(part.values, catalogue.absentName);
    if (!marker) return std::nullopt;
    std::int32_t number = 0;
    FillField(Encoding::Number, *marker, number);
    return number;
}

// A key Finish made goes again once nothing of anyone's is left in it.
void RemoveIfMade(Restoring& reset, const KeyCatalogue& catalogue) {
    const auto [parentPath, name] = SplitParent(catalogue.path);
    reg::KeyInfo info;
    {
        ScopedKey key = reg::Open(reset.store, catalogue.root, catalogue.path);
        if (!key || !Succeeded(reset.store.QueryInfoKey(key.get(), &info))) return;
    }
    if (info.values != 0 || info.subKeys != 0) return;
    ScopedKey parent = reset.Target(catalogue.root, parentPath.c_str());
    if (parent && !reg::IsAbsentOrDone(reset.store.DeleteKey(parent.get(), name.c_str()))) {
        reset.failed = true;
    }
}

// Puts back the values of one key of fixed values. The stack's key must be there; any
// other that has gone is passed over, as its values went with it. A key that was not
// there when the backup was made, and that Finish did not make, is left to whoever made
// it since.
void RestoreFixedKey(Restoring& reset, const KeyCatalogue& catalogue) {
    const std::string partPath =
        catalogue.part != nullptr ? std::string(kBackupKey) + "\\" + catalogue.part : kBackupKey;
    Restoring::Part part =
        reset.Open(partPath.c_str(), catalogue.part != nullptr ? catalogue.part : "");
    if (!part.key) {
        reset.Missing(part);
        return;
    }
    const std::optional<std::int32_t> absent = AbsentAtBackup(reset, part, catalogue);
    if (absent == kKeyNotMade) return;
    if (catalogue.reach == Reach::Create) {
        ScopedKey key = reg::OpenForWrite(reset.store, catalogue.root, catalogue.path);
        if (!key) {
            reset.failed = true;
            return;
        }
        RestoreKey(reset, part, key.get(), catalogue);
    } else {
        ScopedKey key = reset.Target(catalogue.root, catalogue.path);
        if (!key) return;
        RestoreKey(reset, part, key.get(), catalogue);
    }
    if (absent == kKeyMade) RemoveIfMade(reset, catalogue);
}

bool IsMissingMtuPlaceholder(const reg::Value& value) {
    return value.type == reg::kSz && TextOf(value) == "0";
}

// Win9x: whether the NetTrans key is still reached from the dial-up adapter the backup
// names, through the same binding. A backup that names none (an earlier version's) is
// taken at its word, as it always was.
bool SameDialUpAdapter(Restoring& reset, const std::string& instance) {
    Restoring::Part root = reset.Open(kBackupKey, "");
    const std::optional<reg::Value> entry = reset.Read(root.values, kDialUpEntryValue);
    const std::optional<reg::Value> binding = reset.Read(root.values, kDialUpBindingValue);
    if (!entry || !binding) return !reset.failed;
    const auto text = [&](const std::string& path, const char* name) -> std::optional<std::string> {
        reg::Status status = reg::kSuccess;
        ScopedKey key = reg::Open(reset.store, reg::kLocalMachine, path.c_str(), &status);
        if (!key) {
            if (!reg::IsAbsent(status)) reset.failed = true;
            return std::nullopt;
        }
        reg::ValueReader values(reset.store, key.get());
        const std::optional<reg::Value> value = reset.Read(values, name);
        if (!value) return std::nullopt;
        return TextOf(*value);
    };
    const std::string adapter = std::string(kEnumRootNetKey) + "\\" + TextOf(*entry);
    if (text(adapter, "DeviceDesc") != std::string(kDialUpAdapter)) return false;
    // The binding is found by the rule Finish found it by: a TCP/IP binding whose name
    // ends in the instance recorded.
    {
        reg::Status status = reg::kSuccess;
        ScopedKey bindings =
            reg::Open(reset.store, reg::kLocalMachine, (adapter + "\\Bindings").c_str(), &status);
        if (!bindings) {
            if (!reg::IsAbsent(status)) reset.failed = true;
            return false;
        }
        reg::ValueWalker names(reset.store, bindings.get());
        std::string name;
        bool bound = false;
        while (!bound && names.Next(name)) {
            bound = name.find("MSTCP\\") != std::string::npos &&
                    reg::SameName(LastFour(name), TextOf(*binding));
        }
        if (!bound) {
            if (names.status() != reg::kNoMoreItems) reset.failed = true;
            return false;
        }
    }
    const std::optional<std::string> driver =
        text(kEnumMstcpKeyPrefix + TextOf(*binding), "Driver");
    return driver && driver->find("NetTrans\\") != std::string::npos &&
           reg::SameName(LastFour(*driver), instance);
}

// Win9x: restores MTU and MSS of the adapter that the backup names.
void RestoreDialUpAdapter(Restoring& reset, const LinkCatalogue& set) {
    const LinkValue& mtuLink = set.values[0];
    const LinkValue& mssLink = set.values[1];
    Restoring::Part mtu = reset.Open(mtuLink.backupPath, mtuLink.backupName);
    Restoring::Part mss = reset.Open(mssLink.backupPath, mssLink.backupName);
    // The MTU entry names the adapter; only a damaged backup leaves that to the MSS entry.
    std::string instance;
    reg::Value mtuValue;
    bool named = false;
    for (const Restoring::Part* part : {&mtu, &mss}) {
        if (named || !part->key) continue;
        reg::ValueWalker walker(reset.store, part->key.get());
        named = walker.Next(instance, part == &mtu ? &mtuValue : nullptr);
        if (!named && walker.status() != reg::kNoMoreItems) reset.failed = true;
    }
    if (!named) {
        if (!mtu.key) reset.Missing(mtu);
        if (!mss.key) reset.Missing(mss);
        return;
    }
    // Another adapter may hold the number now: its values are not the backup's to set.
    if (!SameDialUpAdapter(reset, instance)) {
        if (!reset.failed) reset.left = true;
        return;
    }
    ScopedKey adapter = reset.Target(reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str());
    if (!adapter) return;
    if (!mtu.key) {
        reset.Missing(mtu);
    } else if (IsMissingMtuPlaceholder(mtuValue)) {
        reset.DeleteValue(adapter.get(), mtuLink.name);
    } else {
        reset.WriteValue(adapter.get(), mtuLink.name, mtuValue);
    }
    reset.PutBack(mss, instance.c_str(), adapter.get(), mssLink.name);
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& other) { return reg::SameName(other, name); });
}

// The links Reset may touch: those on the backup's list. A backup from before the list
// of interfaces was kept stands for every interface there is now, as it always did; a
// complete backup that lost its list, only for those its values name.
std::vector<std::string> RecordedLinks(Restoring& reset, const LinkCatalogue& set, reg::Key parent,
                                       const std::vector<Restoring::Part>& values) {
    const Restoring::Part list = reset.Open(set.listPath, set.listName);
    if (list.key) return reset.Names(list);
    if (!reg::IsAbsent(list.status)) return {};
    // A complete backup that never had these links has nothing to put back of theirs.
    if (reset.shape.complete && !list.expected) return {};
    reg::Status walk = reg::kNoMoreItems;
    const std::vector<std::string> present = PresentLinks(reset.store, set, parent, walk);
    if (walk != reg::kNoMoreItems) reset.failed = true;
    if (!reset.shape.complete && set.kind == LinkKind::Interface) return present;
    std::vector<std::string> named;
    for (const Restoring::Part& part : values) {
        for (const std::string& entry : reset.Names(part)) {
            if (!Contains(named, entry)) named.push_back(entry);
        }
    }
    if (reset.shape.complete) {
        for (const std::string& name : present) {
            if (!Contains(named, name)) reset.unchecked = true;
        }
    }
    return named;
}

// WinNT: restores the values of every recorded interface or bound adapter still there.
void RestoreLinks(Restoring& reset, const LinkCatalogue& set) {
    std::vector<Restoring::Part> values;
    for (const LinkValue& link : set.values) {
        values.push_back(reset.Open(link.backupPath, link.backupName));
    }
    ScopedKey parent = reset.Target(reg::kLocalMachine, LinkParent(set), reg::Access::Read);
    if (!parent) return;
    for (const std::string& name : RecordedLinks(reset, set, parent.get(), values)) {
        ScopedKey link = reset.Target(parent.get(), LinkPath(set, name).c_str());
        if (!link) continue;
        for (std::size_t i = 0; i < set.values.size(); ++i) {
            reset.PutBack(values[i], name.c_str(), link.get(), set.values[i].name);
        }
    }
}

// The parts of the backup that the release has a place for.
std::vector<std::string> PartsPlaced(WindowsRelease release) {
    std::vector<std::string> parts;
    for (const KeyCatalogue* key : FixedKeys(release)) {
        if (key->part != nullptr) parts.emplace_back(key->part);
    }
    for (const LinkCatalogue* set : Links(release)) {
        for (const LinkValue& value : set->values) parts.emplace_back(value.backupName);
        if (set->listName != nullptr) parts.emplace_back(set->listName);
    }
    return parts;
}

// A backup made on another release of the family may hold values that the running
// release reads nowhere (those of a key or of adapters only the other release has):
// they are left, and the user told.
void NoteWhatHasNoPlace(Restoring& reset, WindowsRelease release) {
    const std::vector<std::string> placed = PartsPlaced(release);
    ScopedKey backup = reg::Open(reset.store, reg::kCurrentUser, kBackupKey);
    if (!backup) return;
    reg::SubKeyWalker parts(reset.store, backup.get());
    std::string name;
    while (parts.Next(name)) {
        if (Contains(placed, name)) continue;
        ScopedKey part = reg::Open(reset.store, backup.get(), name.c_str());
        if (!part) continue;
        reg::ValueWalker values(reset.store, part.get());
        std::string value;
        while (values.Next(value)) {
            if (!reg::SameName(value, kKeyAbsentValue)) reset.left = true;
        }
    }
}

bool Holds(const std::vector<const char*>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const char* each) { return reg::SameName(each, name); });
}

// The family whose settings a backup that names no Windows holds, told by what only one
// family has: its parts, the names of its stack values, then the form of its values
// (text on Windows 95/98/Me, numbers on NT). Nothing when it holds nothing that tells.
std::optional<PlatformFamily> FamilyHeld(const reg::KeyImage& backup) {
    for (const reg::KeyImage& part : backup.subKeys) {
        if (Holds({kInterfacesBackupName, kAdaptersBackupName, kAdapterMtuBackupName,
                   kAfdBackupName, kNdisWanBackupName},
                  part.name)) {
            return WinNT;
        }
        if (reg::SameName(part.name, kWin98ParametersBackupName)) return Win9x;
    }
    const auto names = [](PlatformFamily family) {
        std::vector<const char*> list;
        for (const CatalogueValue& value : Stack(family).values) list.push_back(value.name);
        return list;
    };
    const std::vector<const char*> win9x = names(Win9x);
    const std::vector<const char*> winNt = names(WinNT);
    for (const auto& [name, value] : backup.values) {
        if (Holds(win9x, name) && !Holds(winNt, name)) return Win9x;
        if (Holds(winNt, name) && !Holds(win9x, name)) return WinNT;
    }
    const auto byForm = [](const reg::Value& value) -> std::optional<PlatformFamily> {
        if (value.type == reg::kSz) return Win9x;
        if (value.type == reg::kDword) return WinNT;
        return std::nullopt;
    };
    for (const reg::KeyImage& part : backup.subKeys) {
        if (!reg::SameName(part.name, kMtuBackupName) && !reg::SameName(part.name, kMssBackupName))
            continue;
        for (const auto& [name, value] : part.values) {
            if (const auto family = byForm(value)) return family;
        }
    }
    for (const auto& [name, value] : backup.values) {
        if (!Holds(win9x, name)) continue;
        if (const auto family = byForm(value)) return family;
    }
    return std::nullopt;
}

// Where the backup was made: the release it names, else the family what it holds tells,
// else (nothing tells) the running family.
engine::Origin OriginOf(RegistryStore& store, PlatformFamily running, bool& failed) {
    engine::Origin origin{running, std::nullopt};
    ScopedKey key = reg::Open(store, reg::kCurrentUser, kBackupKey);
    reg::KeyImage image;
    if (!key || !Succeeded(reg::ReadTree(store, key.get(), image))) {
        failed = true;
        return origin;
    }
    for (const auto& [name, value] : image.values) {
        if (!reg::SameName(name, kWindowsValue)) continue;
        if (const auto release = ReleaseNamed(TextOf(value))) {
            return {platform::FamilyOf(*release), release};
        }
    }
    origin.family = FamilyHeld(image).value_or(running);
    return origin;
}

}  // namespace

namespace engine {

void CaptureSettings(RegistryStore& store, WindowsRelease release, TuningValues& inForce,
                     FoundFlags& found) {
    ReadInForce(store, release, inForce, found);
}

bool MayChangeSettings(RegistryStore& store, PlatformFamily family) {
    // A missing stack key says nothing about rights: the system makes it when asked.
    reg::Status status = reg::kSuccess;
    const KeyCatalogue& stack = Stack(family);
    return reg::OpenForWrite(store, stack.root, stack.path, &status) || reg::IsAbsent(status);
}

// Finish and Windows' defaults alike: the rights, then a complete backup of what is in
// force, then `change` with what was read; nothing changes without the backup.
template <typename Change>
Result ChangeWithBackup(RegistryStore& store, WindowsRelease release, Outcome done, Change change) {
    const PlatformFamily family = platform::FamilyOf(release);
    if (!MayChangeSettings(store, family)) return {Outcome::NeedsRights, BackupExists(store)};
    TuningValues inForce;
    FoundFlags found;
    Reading reading = ReadInForce(store, release, inForce, found);
    const backup::Written written = reading.complete
                                        ? backup::Replace(store, family, std::move(reading.backup))
                                        : backup::Written::Failed;
    if (written == backup::Written::Failed) return {Outcome::NoBackupMade, BackupExists(store)};

    // A new backup not yet in place counts all the same; only the message says so.
    bool failed = written != backup::Written::InPlace;
    change(reading, failed);
    return {failed ? Outcome::PartlyApplied : done, true};
}

Result ApplySettings(RegistryStore& store, WindowsRelease release, const TuningValues& chosen,
                     ConnectionType type, bool boostModem) {
    const PlatformFamily family = platform::FamilyOf(release);
    return ChangeWithBackup(store, release, Outcome::Applied,
                            [&](const Reading& reading, bool& failed) {
                                if (boostModem && !BoostModemPortSpeed(store, family))
                                    failed = true;
                                for (const KeyCatalogue* key : FixedKeys(release)) {
                                    ApplyFixedKey(store, *key, reading, chosen, type, failed);
                                }
                                ApplyLinks(store, reading, chosen, failed);
                            });
}

Result ApplyDefaults(RegistryStore& store, WindowsRelease release) {
    return ChangeWithBackup(store, release, Outcome::DefaultsApplied,
                            [&](const Reading& reading, bool& failed) {
                                RemoveTunedValues(store, release, reading, failed);
                            });
}

std::vector<Change> DefaultsChanges(RegistryStore& store, WindowsRelease release) {
    DryRunStore dry(store);
    TuningValues inForce;
    FoundFlags found;
    const Reading reading = ReadInForce(dry, release, inForce, found);
    bool failed = false;
    RemoveTunedValues(dry, release, reading, failed);
    return ChangesOf(dry, store);
}

Result RestoreSettings(RegistryStore& store, WindowsRelease release) {
    const PlatformFamily family = platform::FamilyOf(release);
    if (!MayChangeSettings(store, family)) return {Outcome::NeedsRights, BackupExists(store)};
    // Anything left undone keeps the backup, marked, so that the next Reset can
    // finish the job and Set warns before replacing it.
    const auto unfinished = [&] {
        backup::MarkResetIncomplete(store, family);
        return Result{Outcome::NotRestored, BackupExists(store)};
    };
    if (!Succeeded(backup::Settle(store, family))) return unfinished();
    Restoring reset{store, backup::Examine(store, family)};
    if (!reset.shape.exists) return {Outcome::NotRestored, false};
    if (!Succeeded(reset.shape.status)) return unfinished();
    const Origin origin = OriginOf(store, family, reset.failed);
    if (reset.failed) return unfinished();
    // The other family keeps these settings in other keys and forms: none of them is
    // this system's to write, and none of this system's may be deleted on their account.
    if (origin.family != family) return {Outcome::MadeOnOtherFamily, true, origin};
    // A backup that names its release is put back where the running release reads it; one
    // of an earlier version, wherever any release of the family does, as it always was.
    const std::vector<const KeyCatalogue*> keys =
        origin.release ? FixedKeys(release) : FixedKeys(family);
    const std::vector<const LinkCatalogue*> links = origin.release ? Links(release) : Links(family);
    RestoreFixedKey(reset, *keys.front());  // the browser's
    for (const LinkCatalogue* set : links) {
        if (set->kind == LinkKind::DialUpAdapter) {
            RestoreDialUpAdapter(reset, *set);
        } else {
            RestoreLinks(reset, *set);
        }
    }
    for (std::size_t i = 1; i < keys.size(); ++i) RestoreFixedKey(reset, *keys[i]);
    if (origin.release) NoteWhatHasNoPlace(reset, release);
    if (reset.failed || !Succeeded(backup::Delete(store))) return unfinished();
    if (reset.unchecked) return {Outcome::RestoredInPart, false};
    return {reset.left ? Outcome::RestoredElsewhereLeft : Outcome::Restored, false};
}

bool DiscardBackup(RegistryStore& store) {
    return Succeeded(backup::Discard(store)) && !BackupExists(store);
}

bool BackupExists(RegistryStore& store) {
    return backup::Exists(store);
}

bool BackupAwaitsReset(RegistryStore& store, PlatformFamily family) {
    return backup::ResetIncomplete(store, family);
}

bool WindowScaling(RegistryStore& store, WindowsRelease release) {
    if (release == WindowsRelease::WinNT4) return false;
    if (release != WindowsRelease::Win95) return true;
    return static_cast<bool>(reg::Open(store, reg::kLocalMachine, kWinsock2Key));
}

}  // namespace engine
