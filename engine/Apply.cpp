// Finish and Windows' defaults: the rights, a complete backup of what is in force, then the
// chosen values written (or Windows' own restored) where the catalogue and the backup say.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/Catalogue.h"
#include "engine/Changes.h"
#include "engine/DryRunStore.h"
#include "engine/Engine.h"
#include "engine/Reading.h"

namespace engine {
namespace {

using namespace catalogue;
using namespace detail;
using reg::ScopedKey;

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

}  // namespace

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

}  // namespace engine
