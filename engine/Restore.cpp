// Reset: the backup put back where the running Windows reads it, then deleted; what could
// not be put back keeps it.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/Reading.h"

namespace engine {
namespace {

using namespace catalogue;
using namespace detail;
using reg::ScopedKey;
using reg::TextOf;

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

}  // namespace engine
