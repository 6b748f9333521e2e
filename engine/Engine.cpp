// Reading, backup, apply and restore, driven by the catalogue's tables.
#include "engine/Engine.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/Catalogue.h"

namespace {

using reg::ScopedKey;
using namespace catalogue;

// The text a value holds: its bytes up to the first NUL, or all of them.
std::string TextOf(const reg::Value& value) {
    std::string text(value.data.begin(), value.data.end());
    const std::size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

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

// ---- The backup ----

bool IsAbsentOrDone(reg::Status status) {
    return Succeeded(status) || reg::IsAbsent(status);
}

// Whether the key holds a whole backup: "Backup Complete" is its last write.
bool IsCommitted(RegistryStore& store, reg::Key key) {
    reg::Value marker;
    return Succeeded(reg::ReadValue(store, key, kBackupCompleteValue, marker));
}

// Puts a committed new backup in the place of "Original Settings". Until the
// new backup's own key is deleted at the end, it is the one that counts, so
// an interruption anywhere only means doing this again.
reg::Status Promote(RegistryStore& store, const reg::KeyImage& backup) {
    reg::Status status = store.DeleteTree(reg::kCurrentUser, kBackupKey);
    if (!IsAbsentOrDone(status)) return status;
    status = reg::WriteTree(store, reg::kCurrentUser, kBackupKey, backup);
    if (!Succeeded(status)) return status;
    status = store.DeleteTree(reg::kCurrentUser, kPendingBackupKey);
    return IsAbsentOrDone(status) ? reg::kSuccess : status;
}

// Finishes what an interrupted run left: a committed new backup replaces the
// old one, an uncommitted one is thrown away. Success when nothing is left to do.
reg::Status SettleBackup(RegistryStore& store) {
    reg::Status status = reg::kSuccess;
    ScopedKey pending = reg::Open(store, reg::kCurrentUser, kPendingBackupKey, &status);
    if (!pending) return reg::IsAbsent(status) ? reg::kSuccess : status;
    if (!IsCommitted(store, pending.get())) {
        pending.Close();
        status = store.DeleteTree(reg::kCurrentUser, kPendingBackupKey);
        return IsAbsentOrDone(status) ? reg::kSuccess : status;
    }
    reg::KeyImage backup;
    status = reg::ReadTree(store, pending.get(), backup);
    pending.Close();
    if (!Succeeded(status)) return status;
    return Promote(store, backup);
}

// Replaces the backup with `backup`, or leaves the old one as it was. Once the
// new one is committed it counts, whether or not it already stands in place.
bool ReplaceBackup(RegistryStore& store, reg::KeyImage backup) {
    if (!Succeeded(SettleBackup(store))) return false;
    backup.values.emplace_back(kBackupCompleteValue, reg::Value{reg::kDword, EncodeNumber(1)});
    if (!Succeeded(reg::WriteTree(store, reg::kCurrentUser, kPendingBackupKey, backup))) {
        store.DeleteTree(reg::kCurrentUser, kPendingBackupKey);  // never counts anyway
        return false;
    }
    Promote(store, backup);  // finished by the next SettleBackup if it stops here
    return true;
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

void DeleteSystemValue(RegistryStore& store, reg::Key key, const char* name, bool& failed) {
    const reg::Status status = store.DeleteValue(key, name);
    if (!IsAbsentOrDone(status)) failed = true;
}

// A key of the backup opened for restoring. A subkey that is missing recorded
// nothing, so nothing may be deleted on its account.
struct BackupSource {
    ScopedKey key;
    reg::Status status = reg::kSuccess;
};

BackupSource OpenBackup(RegistryStore& store, const char* path) {
    BackupSource source;
    source.key = reg::Open(store, reg::kCurrentUser, path, &source.status);
    return source;
}

// Puts one value back with the type and data the backup holds, or deletes it
// when the backup proves it was absent.
void RestoreValue(RegistryStore& store, const BackupSource& from, const char* fromName, reg::Key to,
                  const char* name, bool& failed) {
    if (!from.key) {
        if (!reg::IsAbsent(from.status)) failed = true;
        return;
    }
    reg::Value value;
    const reg::Status status = reg::ReadValue(store, from.key.get(), fromName, value);
    if (Succeeded(status)) {
        if (!Succeeded(reg::WriteValue(store, to, name, value))) failed = true;
    } else if (reg::IsAbsent(status)) {
        DeleteSystemValue(store, to, name, failed);
    } else {
        failed = true;
    }
}

void RestoreKey(RegistryStore& store, const BackupSource& backup, reg::Key key,
                const KeyCatalogue& catalogue, bool& failed) {
    for (const CatalogueValue* value : InOrder(catalogue, Step::Restore)) {
        RestoreValue(store, backup, value->name, key, value->name, failed);
    }
}

bool IsMissingMtuPlaceholder(const reg::Value& value) {
    return value.type == reg::kSz && TextOf(value) == "0";
}

// Win9x: restores MTU and MSS of the adapter that the backup names.
void RestoreAdapterMtu(RegistryStore& store, bool& failed) {
    const BackupSource mtu = OpenBackup(store, kMtuBackupKey);
    if (!mtu.key) {
        if (!reg::IsAbsent(mtu.status)) failed = true;
        return;
    }
    const BackupSource mss = OpenBackup(store, kMssBackupKey);
    reg::ValueWalker walker(store, mtu.key.get());
    std::string instance;
    reg::Value mtuValue;
    if (!walker.Next(instance, &mtuValue)) {
        if (walker.status() != reg::kNoMoreItems) failed = true;
        return;
    }
    ScopedKey adapter =
        OpenTarget(store, reg::kLocalMachine, (kNetTransKeyPrefix + instance).c_str(), failed);
    if (!adapter) return;
    const LinkValue& mtuLink = Links(Win9x)[0];
    const LinkValue& mssLink = Links(Win9x)[1];
    if (IsMissingMtuPlaceholder(mtuValue)) {
        DeleteSystemValue(store, adapter.get(), mtuLink.name, failed);
    } else if (!Succeeded(reg::WriteValue(store, adapter.get(), mtuLink.name, mtuValue))) {
        failed = true;
    }
    RestoreValue(store, mss, instance.c_str(), adapter.get(), mssLink.name, failed);
}

// The interfaces a backup recorded. A backup from before the list was kept
// stands for every interface there is now, as it always did.
std::vector<std::string> RecordedInterfaces(RegistryStore& store, reg::Key interfaces,
                                            bool& failed) {
    reg::Status status = reg::kSuccess;
    ScopedKey list = reg::Open(store, reg::kCurrentUser, kInterfacesBackupKey, &status);
    std::vector<std::string> names;
    std::string name;
    if (list) {
        reg::ValueWalker walker(store, list.get());
        while (walker.Next(name)) names.push_back(name);
        if (walker.status() != reg::kNoMoreItems) failed = true;
    } else if (!reg::IsAbsent(status)) {
        failed = true;
    } else {
        reg::SubKeyWalker walker(store, interfaces);
        while (walker.Next(name)) names.push_back(name);
        if (walker.status() != reg::kNoMoreItems) failed = true;
    }
    return names;
}

// WinNT: restores MTU and MSS of every recorded interface that still exists.
void RestoreInterfaceMtu(RegistryStore& store, bool& failed) {
    const BackupSource sources[2] = {OpenBackup(store, Links(WinNT)[0].backupPath),
                                     OpenBackup(store, Links(WinNT)[1].backupPath)};
    ScopedKey interfaces =
        OpenTarget(store, reg::kLocalMachine, kInterfacesKey, failed, reg::Access::Read);
    if (!interfaces) return;
    for (const std::string& name : RecordedInterfaces(store, interfaces.get(), failed)) {
        ScopedKey interfaceKey = OpenTarget(store, interfaces.get(), name.c_str(), failed);
        if (!interfaceKey) continue;
        for (std::size_t i = 0; i < 2; ++i) {
            RestoreValue(store, sources[i], name.c_str(), interfaceKey.get(), Links(WinNT)[i].name,
                         failed);
        }
    }
}

void Show(EngineHost& host, const TextEntry& message, MessageKind kind) {
    host.ShowMessage(host.Text(message.key, message.english), kind);
}

}  // namespace

namespace engine {

void CaptureSettings(RegistryStore& store, PlatformFamily family, TuningValues& inForce,
                     FoundFlags& found) {
    ReadInForce(store, family, inForce, found);
}

bool MayChangeSettings(RegistryStore& store, PlatformFamily family, EngineHost& host) {
    // A missing stack key says nothing about rights: the system makes it when asked.
    reg::Status status = reg::kSuccess;
    const KeyCatalogue& stack = Stack(family);
    if (reg::OpenForWrite(store, stack.root, stack.path, &status) || reg::IsAbsent(status)) {
        return true;
    }
    Show(host, text::k45, MessageKind::Error);
    return false;
}

void ApplySettings(RegistryStore& store, PlatformFamily family, const TuningValues& chosen,
                   bool boostModem, EngineHost& host) {
    if (!MayChangeSettings(store, family, host)) return;
    TuningValues inForce;
    FoundFlags found;
    Reading reading = ReadInForce(store, family, inForce, found);
    if (!reading.complete || !ReplaceBackup(store, std::move(reading.backup))) {
        Show(host, text::k46, MessageKind::Error);
        return;
    }

    bool failed = false;
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
    Show(host, failed ? text::k44 : text::k41, failed ? MessageKind::Error : MessageKind::Plain);
}

void RestoreSettings(RegistryStore& store, PlatformFamily family, EngineHost& host) {
    if (!MayChangeSettings(store, family, host)) return;
    if (!Succeeded(SettleBackup(store))) {
        Show(host, text::k47, MessageKind::Error);
        return;
    }
    bool failed = false;
    {
        const BackupSource backup = OpenBackup(store, kBackupKey);
        if (!backup.key) {
            Show(host, text::k47, MessageKind::Error);
            return;
        }
        {
            ScopedKey browser = OpenTarget(store, Browser().root, Browser().path, failed);
            if (browser) RestoreKey(store, backup, browser.get(), Browser(), failed);
        }
        if (family == Win9x) {
            RestoreAdapterMtu(store, failed);
        } else {
            RestoreInterfaceMtu(store, failed);
        }
        const KeyCatalogue& stack = Stack(family);
        ScopedKey stackKey = reg::OpenForWrite(store, stack.root, stack.path);
        if (stackKey) {
            RestoreKey(store, backup, stackKey.get(), stack, failed);
        } else {
            failed = true;
        }
    }
    // Anything left undone keeps the backup, so that the next Reset can finish the job.
    if (failed || !Succeeded(store.DeleteTree(reg::kCurrentUser, kBackupKey))) {
        Show(host, text::k47, MessageKind::Error);
        return;
    }
    Show(host, text::k42, MessageKind::Plain);
}

bool BackupExists(RegistryStore& store) {
    if (reg::Open(store, reg::kCurrentUser, kBackupKey)) return true;
    ScopedKey pending = reg::Open(store, reg::kCurrentUser, kPendingBackupKey);
    return pending && IsCommitted(store, pending.get());
}

}  // namespace engine
