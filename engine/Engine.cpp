// Reading, backup, apply and restore, driven by the catalogue's tables.
#include "engine/Engine.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/Backup.h"
#include "engine/Catalogue.h"

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

// Adds empty subkeys to an image and returns them, in the order named.
template <std::size_t N>
std::array<reg::KeyImage*, N> AddSubKeys(reg::KeyImage& image, const char* const (&names)[N]) {
    const std::size_t first = image.subKeys.size();
    for (const char* name : names) image.subKeys.emplace_back().name = name;
    std::array<reg::KeyImage*, N> added{};
    for (std::size_t i = 0; i < N; ++i) added[i] = &image.subKeys[first + i];
    return added;
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
    std::optional<std::string> adapter;   // Win9x: the dial-up adapter's NetTrans instance
    std::vector<std::string> interfaces;  // WinNT: every interface

    // Absence is an answer; any other failure leaves a gap in the backup.
    void Note(reg::Status status) {
        if (!Succeeded(status) && !reg::IsAbsent(status)) complete = false;
    }
    ScopedKey Open(RegistryStore& store, reg::Key parent, const char* path) {
        reg::Status status = reg::kSuccess;
        ScopedKey key = reg::Open(store, parent, path, &status);
        Note(status);
        return key;
    }
    void NoteWalk(reg::Status walkStatus) {
        if (walkStatus != reg::kNoMoreItems) complete = false;
    }
};

// Reads one value into the backup under `backupName`, with its own type and
// exact data whatever its size, and into its field of the values in force when
// it passes the reading rule. Returns the read's result.
reg::Status CaptureValue(RegistryStore& store, reg::Key source, const char* name,
                         reg::KeyImage& backup, const std::string& backupName, Encoding encoding,
                         std::int32_t* field, bool* found, Reading& reading) {
    reg::Value value;
    const reg::Status status = reg::ReadValue(store, source, name, value);
    reading.Note(status);
    if (!Succeeded(status)) return status;
    if (field != nullptr && Fits(encoding, value)) {
        FillField(encoding, value, *field);
        *found = true;
    }
    backup.values.emplace_back(backupName, std::move(value));
    return status;
}

void CaptureKey(RegistryStore& store, const KeyCatalogue& key, Reading& reading) {
    ScopedKey source = reading.Open(store, key.root, key.path);
    if (!source) return;
    for (const CatalogueValue* value : InOrder(key, Step::Capture)) {
        CaptureValue(store, source.get(), value->name, reading.backup, value->name, key.encoding,
                     value->inForce != nullptr ? &(reading.inForce.*value->inForce) : nullptr,
                     value->found != nullptr ? &(reading.found.*value->found) : nullptr, reading);
    }
}

// A text value such as "DeviceDesc" or "Driver"; nothing when absent or unreadable.
std::optional<std::string> ReadText(RegistryStore& store, reg::Key key, const char* name,
                                    Reading& reading) {
    reg::Value value;
    const reg::Status status = reg::ReadValue(store, key, name, value);
    reading.Note(status);
    if (!Succeeded(status) || !Fits(Encoding::Text, value)) return std::nullopt;
    return TextOf(value);
}

// The NetTrans instance of the first dial-up adapter's first TCP/IP binding.
std::optional<std::string> FindDialUpNetTrans(RegistryStore& store, Reading& reading) {
    ScopedKey adapter;
    {
        ScopedKey net = reading.Open(store, reg::kLocalMachine, kEnumRootNetKey);
        if (!net) return std::nullopt;
        reg::SubKeyWalker entries(store, net.get());
        std::string name;
        while (!adapter && entries.Next(name)) {
            ScopedKey entry = reading.Open(store, net.get(), name.c_str());
            if (entry && ReadText(store, entry.get(), "DeviceDesc", reading) == kDialUpAdapter) {
                adapter = std::move(entry);
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
    return LastFour(*driver);
}

// Win9x: the dial-up adapter's MTU and MSS, recorded under its NetTrans instance.
void CaptureAdapterMtu(RegistryStore& store, Reading& reading) {
    const std::optional<std::string> instance = FindDialUpNetTrans(store, reading);
    if (!instance) return;
    ScopedKey adapter =
        reading.Open(store, reg::kLocalMachine, (kNetTransKeyPrefix + *instance).c_str());
    if (!adapter) return;
    reading.adapter = instance;
    const auto backupKeys = AddSubKeys(reading.backup, {kMtuBackupName, kMssBackupName});
    for (std::size_t i = 0; i < 2; ++i) {
        const LinkValue& link = Links(Win9x)[i];
        const reg::Status status =
            CaptureValue(store, adapter.get(), link.name, *backupKeys[i], *instance, Encoding::Text,
                         &(reading.inForce.*link.field), &(reading.found.*link.found), reading);
        // The MTU entry records which adapter was found, so a missing "MaxMTU"
        // is stood in for by "0".
        if (i == 0 && reg::IsAbsent(status)) {
            backupKeys[i]->values.emplace_back(*instance, reg::Value{reg::kSz, EncodeText(0)});
        }
    }
}

// WinNT: every interface's MTU and MSS under the interface's name, and the
// list of the interfaces themselves.
void CaptureInterfaceMtu(RegistryStore& store, Reading& reading) {
    const auto [mtuBackup, mssBackup, list] =
        AddSubKeys(reading.backup, {kMtuBackupName, kMssBackupName, kInterfacesBackupName});
    reg::KeyImage* const backupKeys[2] = {mtuBackup, mssBackup};
    ScopedKey interfaces = reading.Open(store, reg::kLocalMachine, kInterfacesKey);
    if (!interfaces) return;
    reg::SubKeyWalker walker(store, interfaces.get());
    std::string name;
    while (walker.Next(name)) {
        ScopedKey interfaceKey = reading.Open(store, interfaces.get(), name.c_str());
        if (!interfaceKey) continue;
        reading.interfaces.push_back(name);
        list->values.emplace_back(name, reg::Value{reg::kDword, EncodeNumber(1)});
        for (std::size_t i = 0; i < 2; ++i) {
            const LinkValue& link = Links(WinNT)[i];
            CaptureValue(store, interfaceKey.get(), link.name, *backupKeys[i], name,
                         Encoding::Number, &(reading.inForce.*link.field),
                         &(reading.found.*link.found), reading);
        }
    }
    reading.NoteWalk(walker.status());
}

Reading ReadInForce(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                    FoundFlags& found) {
    Reading reading(inForce, found);
    CaptureKey(store, Browser(), reading);
    if (family == Win9x) {
        CaptureAdapterMtu(store, reading);
    } else {
        CaptureInterfaceMtu(store, reading);
    }
    CaptureKey(store, Stack(family), reading);
    return reading;
}

bool IsAbsentOrDone(reg::Status status) {
    return Succeeded(status) || reg::IsAbsent(status);
}

// ---- Apply ----

void WriteTuning(RegistryStore& store, reg::Key key, const char* name, Encoding encoding,
                 std::int32_t number, bool& failed) {
    if (!Succeeded(reg::WriteValue(store, key, name, EncodeValue(encoding, number)))) {
        failed = true;
    }
}

// Writes the values of one key, in apply order; a failed write sets `failed`.
void ApplyKey(RegistryStore& store, reg::Key key, const KeyCatalogue& catalogue,
              const TuningValues& chosen, bool& failed) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Apply)) {
        const std::int32_t number =
            value->applied != nullptr ? chosen.*value->applied : value->constant;
        WriteTuning(store, key, value->name, catalogue.encoding, number, failed);
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

// Writes MTU and MSS into one adapter or interface key.
void ApplyLink(RegistryStore& store, PlatformFamily family, reg::Key parent, const char* path,
               const TuningValues& chosen, bool& failed) {
    ScopedKey key = OpenTarget(store, parent, path, failed);
    if (!key) return;
    const Encoding encoding = family == Win9x ? Encoding::Text : Encoding::Number;
    for (const LinkValue& link : Links(family)) {
        WriteTuning(store, key.get(), link.name, encoding, chosen.*link.field, failed);
    }
}

// MTU and MSS into the adapter (Win9x) or the interfaces (WinNT) the backup recorded.
void ApplyLinks(RegistryStore& store, PlatformFamily family, const Reading& reading,
                const TuningValues& chosen, bool& failed) {
    if (family == Win9x) {
        if (reading.adapter) {
            ApplyLink(store, family, reg::kLocalMachine,
                      (kNetTransKeyPrefix + *reading.adapter).c_str(), chosen, failed);
        }
        return;
    }
    if (reading.interfaces.empty()) return;
    // Opened by name below their parent: a long interface name would take a
    // whole path past what the registry's ANSI functions accept.
    ScopedKey interfaces =
        OpenTarget(store, reg::kLocalMachine, kInterfacesKey, failed, reg::Access::Read);
    if (!interfaces) return;
    for (const std::string& name : reading.interfaces) {
        ApplyLink(store, family, interfaces.get(), name.c_str(), chosen, failed);
    }
}

// ---- Restore ----

// One Reset: the backup's shape, and what came of putting it back so far.
struct Restoring {
    RegistryStore& store;
    backup::Shape shape;
    bool failed = false;     // something could not be put back: the backup stays
    bool unchecked = false;  // the backup lacked what would have told

    // A part of the backup opened for restoring. A part that is missing recorded
    // nothing, so nothing may be deleted on its account; when the backup should
    // have had it, what it held goes unchecked.
    struct Part {
        ScopedKey key;
        reg::Status status = reg::kSuccess;
        bool expected = false;
    };
    Part Open(const char* path, const char* name) {
        Part part;
        part.key = reg::Open(store, reg::kCurrentUser, path, &part.status);
        part.expected = shape.Expects(name);
        if (!part.key && !reg::IsAbsent(part.status)) failed = true;
        return part;
    }
    void Missing(const Part& part) {
        if (part.expected) unchecked = true;
    }

    void DeleteValue(reg::Key key, const char* name) {
        if (!IsAbsentOrDone(store.DeleteValue(key, name))) failed = true;
    }
    void WriteValue(reg::Key key, const char* name, const reg::Value& value) {
        if (!Succeeded(reg::WriteValue(store, key, name, value))) failed = true;
    }

    // Puts one value back with the type and data the backup holds, or deletes it
    // when the backup proves it was absent.
    void PutBack(const Part& from, const char* fromName, reg::Key to, const char* name) {
        if (!from.key) {
            Missing(from);
            return;
        }
        reg::Value value;
        const reg::Status status = reg::ReadValue(store, from.key.get(), fromName, value);
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

void RestoreKey(Restoring& reset, const Restoring::Part& backup, reg::Key key,
                const KeyCatalogue& catalogue) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Restore)) {
        reset.PutBack(backup, value->name, key, value->name);
    }
}

bool IsMissingMtuPlaceholder(const reg::Value& value) {
    return value.type == reg::kSz && TextOf(value) == "0";
}

// Win9x: restores MTU and MSS of the adapter that the backup names.
void RestoreAdapterMtu(Restoring& reset) {
    const LinkValue& mtuLink = Links(Win9x)[0];
    const LinkValue& mssLink = Links(Win9x)[1];
    const Restoring::Part mtu = reset.Open(mtuLink.backupPath, mtuLink.backupName);
    const Restoring::Part mss = reset.Open(mssLink.backupPath, mssLink.backupName);
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

// The interfaces Reset may touch: those on the backup's list. A backup from before
// the list was kept stands for every interface there is now, as it always did; a
// complete backup that lost its list, only for those its values name.
std::vector<std::string> RecordedInterfaces(Restoring& reset, reg::Key interfaces,
                                            const Restoring::Part (&values)[2]) {
    const Restoring::Part list = reset.Open(kInterfacesBackupKey, kInterfacesBackupName);
    if (list.key) return reset.Names(list);
    if (!reg::IsAbsent(list.status)) return {};
    std::vector<std::string> present;
    reg::SubKeyWalker walker(reset.store, interfaces);
    std::string name;
    while (walker.Next(name)) present.push_back(name);
    if (walker.status() != reg::kNoMoreItems) reset.failed = true;
    if (!reset.shape.complete) return present;
    std::vector<std::string> named;
    for (const Restoring::Part& part : values) {
        for (const std::string& entry : reset.Names(part)) {
            if (!Contains(named, entry)) named.push_back(entry);
        }
    }
    for (const std::string& interfaceName : present) {
        if (!Contains(named, interfaceName)) reset.unchecked = true;
    }
    return named;
}

// WinNT: restores MTU and MSS of every recorded interface that still exists.
void RestoreInterfaceMtu(Restoring& reset) {
    const std::span<const LinkValue> links = Links(WinNT);
    const Restoring::Part values[2] = {reset.Open(links[0].backupPath, links[0].backupName),
                                       reset.Open(links[1].backupPath, links[1].backupName)};
    ScopedKey interfaces = reset.Target(reg::kLocalMachine, kInterfacesKey, reg::Access::Read);
    if (!interfaces) return;
    for (const std::string& name : RecordedInterfaces(reset, interfaces.get(), values)) {
        ScopedKey interfaceKey = reset.Target(interfaces.get(), name.c_str());
        if (!interfaceKey) continue;
        for (std::size_t i = 0; i < 2; ++i) {
            reset.PutBack(values[i], name.c_str(), interfaceKey.get(), links[i].name);
        }
    }
}

}  // namespace

namespace engine {

void CaptureSettings(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                     FoundFlags& found) {
    ReadInForce(store, family, inForce, found);
}

bool MayChangeSettings(RegistryStore& store, PlatformFamily family) {
    // A missing stack key says nothing about rights: the system makes it when asked.
    reg::Status status = reg::kSuccess;
    const KeyCatalogue& stack = Stack(family);
    return reg::OpenForWrite(store, stack.root, stack.path, &status) || reg::IsAbsent(status);
}

Result ApplySettings(RegistryStore& store, PlatformFamily family, const TuningValues& chosen,
                     bool boostModem) {
    if (!MayChangeSettings(store, family)) return {Outcome::NeedsRights, BackupExists(store)};
    TuningValues inForce;
    FoundFlags found;
    Reading reading = ReadInForce(store, family, inForce, found);
    const backup::Written written = reading.complete
                                        ? backup::Replace(store, family, std::move(reading.backup))
                                        : backup::Written::Failed;
    if (written == backup::Written::Failed) return {Outcome::NoBackupMade, BackupExists(store)};

    // A new backup not yet in place counts all the same; only the message says so.
    bool failed = written != backup::Written::InPlace;
    if (boostModem && !BoostModemPortSpeed(store, family)) failed = true;
    {
        // The browser key is never created: a system without it has no
        // connection limits to set.
        ScopedKey browser = OpenTarget(store, Browser().root, Browser().path, failed);
        if (browser) ApplyKey(store, browser.get(), Browser(), chosen, failed);
    }
    {
        const KeyCatalogue& stack = Stack(family);
        ScopedKey stackKey = reg::Create(store, stack.root, stack.path);
        if (stackKey) {
            ApplyKey(store, stackKey.get(), stack, chosen, failed);
        } else {
            failed = true;
        }
    }
    ApplyLinks(store, family, reading, chosen, failed);
    return {failed ? Outcome::PartlyApplied : Outcome::Applied, true};
}

Result RestoreSettings(RegistryStore& store, PlatformFamily family) {
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
    {
        const Restoring::Part values = reset.Open(kBackupKey, "");
        if (!values.key) return unfinished();
        {
            ScopedKey browser = reset.Target(Browser().root, Browser().path);
            if (browser) RestoreKey(reset, values, browser.get(), Browser());
        }
        if (family == Win9x) {
            RestoreAdapterMtu(reset);
        } else {
            RestoreInterfaceMtu(reset);
        }
        const KeyCatalogue& stack = Stack(family);
        ScopedKey stackKey = reg::OpenForWrite(store, stack.root, stack.path);
        if (stackKey) {
            RestoreKey(reset, values, stackKey.get(), stack);
        } else {
            reset.failed = true;
        }
    }
    if (reset.failed || !Succeeded(backup::Delete(store))) return unfinished();
    return {reset.unchecked ? Outcome::RestoredInPart : Outcome::Restored, false};
}

bool BackupExists(RegistryStore& store) {
    return backup::Exists(store);
}

bool BackupAwaitsReset(RegistryStore& store, PlatformFamily family) {
    return backup::ResetIncomplete(store, family);
}

}  // namespace engine
